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
};
// Storage, not content. A tree built by the tokenizer keeps its tokens and
// their texts in large tracked chunks that belong to its root, so a reply
// costs the allocator a handful of blocks instead of one per element; its
// texts may also lie in the reply itself, which the root then holds
// (ss_token_adopt_reply). All of it goes when the root is released. Only a
// root comes from ss_allocate_token; every other token of a tree comes from
// the root's chunks, and no text of a tree is ever freed on its own.

// A new, empty root token of its own from the tracked allocator.
_token_info* ss_allocate_token();

// A new, empty token with `text_size` zeroed bytes for its texts right after
// it (ss_token_text), kept in the chunks of the root `owner`. It lives as
// long as that tree: no token or text of it may be kept after the tree is
// released.
_token_info* ss_arena_token(_token_info* owner, size_t text_size);
inline char* ss_token_text(_token_info* token) { return reinterpret_cast<char*>(token + 1); }

// `size` zeroed bytes of text kept in the chunks of the root `owner`.
char* ss_arena_text(_token_info* owner, size_t size);

// Hands a new[]-allocated reply to the root `owner`, whose tree may then
// point into it; it is deleted with the tree.
void ss_token_adopt_reply(_token_info* owner, char* reply);

// Releases a whole tree, given its root (null: nothing).
void ss_deallocate_tokens(_token_info* token);

// The token named `name` (exact, case-sensitive) found first when each token
// is searched as: the rest of its `next` chain, then its `sub` tree, then the
// token itself. So the last of equal names in a chain wins, and a match later
// in the chain beats one below or at an earlier token. Null when none.
_token_info* ss_tokens_find_name(_token_info* token, const char* name);
