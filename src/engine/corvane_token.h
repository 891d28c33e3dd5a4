// One node of a tokenized reply: name/value pairs chained by `next`, with
// categories and array rows hanging below through `sub`.
#pragma once

#include <cstddef>

struct _token_info {
    _token_info* sub;
    _token_info* next;
    char* name;
    char* value;
    char* category;
    char* array_label;
    // Set on tokens from ss_allocate_info_token: name and value are kept in
    // the token's own block. Everything else leaves it zero.
    bool inline_text;
};

// A new, empty token from the tracked allocator.
_token_info* ss_allocate_token();
// A new token whose name and value are kept in the token's own block (one
// allocation per reply element). They are released with the token: copy
// them, never take them over. A null name leaves `name` null.
_token_info* ss_allocate_info_token(const char* name, size_t name_length, const char* value,
                                    size_t value_length);

// Releases a whole tree (iteratively: reply chains can be arbitrarily long).
void ss_deallocate_tokens(_token_info* token);

// The token named `name` (exact, case-sensitive) found first when each token
// is searched as: the rest of its `next` chain, then its `sub` tree, then the
// token itself. So the last of equal names in a chain wins, and a match later
// in the chain beats one below or at an earlier token. Null when none.
_token_info* ss_tokens_find_name(_token_info* token, const char* name);
