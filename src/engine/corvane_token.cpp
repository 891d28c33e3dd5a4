#include "corvane_token.h"

#include <cstring>

#include "corvane_memory.h"

namespace {
const char ss_module[] = "corvane_token";

// A stack of tokens in tracked memory that grows by doubling.
struct token_stack {
    _token_info** items = nullptr;
    size_t count = 0;
    size_t capacity = 0;

    void push(_token_info* token) {
        if (count == capacity) {
            size_t grown = capacity ? capacity * 2 : 64;
            auto** bigger = static_cast<_token_info**>(
                ss_allocate_mem(grown * sizeof(_token_info*), ss_module, __LINE__));
            if (count) std::memcpy(bigger, items, count * sizeof(_token_info*));
            ss_deallocate_mem(items, ss_module, __LINE__);
            items = bigger;
            capacity = grown;
        }
        items[count++] = token;
    }
    _token_info* pop() { return items[--count]; }
    ~token_stack() { ss_deallocate_mem(items, ss_module, __LINE__); }
};
}  // namespace

_token_info* ss_allocate_token() {
    return static_cast<_token_info*>(ss_allocate_mem(sizeof(_token_info), ss_module, __LINE__));
}

_token_info* ss_allocate_info_token(const char* name, size_t name_length, const char* value,
                                    size_t value_length) {
    size_t size = sizeof(_token_info) + name_length + 1 + value_length + 1;
    auto* token = static_cast<_token_info*>(ss_allocate_mem(size, ss_module, __LINE__));
    char* text = reinterpret_cast<char*>(token + 1);
    if (name) {
        std::memcpy(text, name, name_length);
        token->name = text;
    }
    text += name_length + 1;
    if (value_length) std::memcpy(text, value, value_length);
    token->value = text;
    token->inline_text = true;
    return token;
}

void ss_deallocate_tokens(_token_info* token) {
    // Rotate each `sub` subtree onto the `next` spine, then free along the
    // spine: linear time, constant stack, whatever the shape of the tree.
    while (token) {
        if (_token_info* sub = token->sub) {
            token->sub = sub->next;
            sub->next = token;
            token = sub;
            continue;
        }
        _token_info* next = token->next;
        // Texts kept in the token's block go with it; only texts put in
        // their place later are blocks of their own.
        char* inline_name = token->inline_text ? reinterpret_cast<char*>(token + 1) : nullptr;
        char* inline_value = inline_name ? inline_name + std::strlen(inline_name) + 1 : nullptr;
        if (token->name != inline_name) ss_deallocate_mem(token->name, ss_module, __LINE__);
        if (token->value != inline_value) ss_deallocate_mem(token->value, ss_module, __LINE__);
        ss_deallocate_mem(token->category, ss_module, __LINE__);
        ss_deallocate_mem(token->array_label, ss_module, __LINE__);
        ss_deallocate_mem(token, ss_module, __LINE__);
        token = next;
    }
}

_token_info* ss_tokens_find_name(_token_info* token, const char* name) {
    // The wanted order (rest of chain, then sub tree, then the token) is the
    // exact reverse of a walk that visits a token, then its sub tree, then
    // the rest of its chain. So walk that way and keep the last match; only
    // chains still to be resumed are stacked, never the chain being walked.
    _token_info* found = nullptr;
    token_stack pending;
    while (token || pending.count) {
        if (!token) token = pending.pop();
        if (token->name && std::strcmp(token->name, name) == 0) found = token;
        if (token->sub) {
            if (token->next) pending.push(token->next);
            token = token->sub;
        } else {
            token = token->next;
        }
    }
    return found;
}
