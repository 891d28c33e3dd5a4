// One node of a tokenized reply: name/value pairs chained by `next`, with
// categories and array rows hanging below through `sub`.
#pragma once

struct _token_info {
    _token_info* sub;
    _token_info* next;
    char* name;
    char* value;
    char* category;
    char* array_label;
};

// Releases a whole tree (iteratively: reply chains can be arbitrarily long).
void ss_deallocate_tokens(_token_info* token);
