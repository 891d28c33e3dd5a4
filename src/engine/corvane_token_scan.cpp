#include "corvane_token_scan.h"

#include <strings.h>

#include <cstdio>
#include <vector>

#include "corvane_state.h"

namespace {
// The depth-first walk: `visit` gets each token named `name` in order and
// returns true to stop there. Explicit stack: reply chains can be far longer
// than the call stack allows.
template <typename Visit>
_token_info* walk_named(_token_info* tree, const char* name, Visit visit) {
    std::vector<_token_info*> pending;
    if (tree) pending.push_back(tree);
    while (!pending.empty()) {
        _token_info* token = pending.back();
        pending.pop_back();
        if (token->name && strcasecmp(token->name, name) == 0 && visit(token)) return token;
        if (token->sub) pending.push_back(token->sub);
        if (token->next) pending.push_back(token->next);
    }
    return nullptr;
}
}  // namespace

const char* scan_for_token_count(_token_info* tree, const char* name, int count) {
    _token_info* found = walk_named(tree, name, [&](_token_info*) { return --count <= 0; });
    if (!found) return nullptr;
    return found->value ? found->value : "";
}

bool scan_for_token_value(_token_info* tree, const char* name, const char* value) {
    return walk_named(tree, name, [&](_token_info* token) {
               return strcasecmp(token->value ? token->value : "", value) == 0;
           }) != nullptr;
}

int scan_required_token(const char** value, _token_info* tree, const char* name, int count) {
    *value = scan_for_token_count(tree, name, count);
    if (!*value) {
        std::fprintf(OutFile, "\nError: Required token \"%s\" not found", name);
        return 1;
    }
    if (!**value) {
        std::fprintf(OutFile, "\nError: Required token \"%s\" zero-length string", name);
        return 1;
    }
    return 0;
}

const char* scan_notrequired_token(const char* name, _token_info* tree, int count) {
    return scan_for_token_count(tree, name, count);
}

std::vector<const char*> scan_for_token_values(_token_info* tree, const char* name) {
    std::vector<const char*> values;
    walk_named(tree, name, [&](_token_info* token) {
        values.push_back(token->value ? token->value : "");
        return false;
    });
    return values;
}
