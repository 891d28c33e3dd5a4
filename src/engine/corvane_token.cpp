#include "corvane_token.h"

#include "corvane_memory.h"

namespace {
const char ss_module[] = "corvane_soap";
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
        ss_deallocate_mem(token->name, ss_module, __LINE__);
        ss_deallocate_mem(token->value, ss_module, __LINE__);
        ss_deallocate_mem(token->category, ss_module, __LINE__);
        ss_deallocate_mem(token->array_label, ss_module, __LINE__);
        ss_deallocate_mem(token, ss_module, __LINE__);
        token = next;
    }
}
