// One node of a tokenized reply: name/value pairs chained by `next`, with
// categories and array rows hanging below through `sub`.
#pragma once

#include <cstddef>
#include <cstdint>

struct _token_info {
    _token_info* sub;
    _token_info* next;
    char* name;
    char* value;
    char* category;
    char* array_label;
    // Storage, not content. A tree built by the tokenizer keeps its tokens
    // and their texts in large tracked chunks hanging on the token it was
    // built below (`arena`), so a reply costs the allocator a handful of
    // blocks instead of one per element; they go when that token is released.
    void* arena;
    uint32_t inline_size;  // bytes of text kept right after the token
    bool in_arena;         // the token lives in an arena chunk
};

// A new, empty token of its own from the tracked allocator.
_token_info* ss_allocate_token();

// A new, empty token with `text_size` zeroed bytes for its texts right after
// it (ss_token_text), kept in the arena of `owner`'s tree. It lives as long
// as that tree: texts may be replaced by tracked copies, but no token or
// text of the tree may be kept after the tree is released.
_token_info* ss_arena_token(_token_info* owner, size_t text_size);
inline char* ss_token_text(_token_info* token) { return reinterpret_cast<char*>(token + 1); }

// Releases a whole tree (iteratively: reply chains can be arbitrarily long).
void ss_deallocate_tokens(_token_info* token);

// The token named `name` (exact, case-sensitive) found first when each token
// is searched as: the rest of its `next` chain, then its `sub` tree, then the
// token itself. So the last of equal names in a chain wins, and a match later
// in the chain beats one below or at an earlier token. Null when none.
_token_info* ss_tokens_find_name(_token_info* token, const char* name);
