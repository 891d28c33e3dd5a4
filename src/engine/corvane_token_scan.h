// Finding the n-th token of a name in a reply tree, in depth-first order
// (a token, then its `next` chain, then its `sub` tree), names compared
// without regard to case.
#pragma once

#include <vector>

#include "corvane_token.h"

// Value of the count-th (from 1) token named `name`, or null.
const char* scan_for_token_count(_token_info* tree, const char* name, int count);
// As above, but a missing token or an empty value prints a message and gives 1.
int scan_required_token(const char** value, _token_info* tree, const char* name, int count);
// Whether any token named `name` holds `value` (both compared without regard
// to case), in one walk of the tree.
bool scan_for_token_value(_token_info* tree, const char* name, const char* value);
// The value, or null when there is no such token.
const char* scan_notrequired_token(const char* name, _token_info* tree, int count);
// Every value of tokens named `name`, in the order of scan_for_token_count,
// gathered in one walk (missing values as ""): the n-th is element n-1.
std::vector<const char*> scan_for_token_values(_token_info* tree, const char* name);
