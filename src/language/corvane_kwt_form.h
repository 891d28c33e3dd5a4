// The notation the keyword-table files write their rows in: one call of kw()
// per row, flags spelled as words, so a table reads like the language.
#pragma once

#include "corvane_parse.h"

namespace kwt_form {

constexpr _kw_desc kw(const char* text, uint32_t flags, ss_routine action, const _kw_desc* next) {
    return _kw_desc{flags, 0, action, next, text};
}

constexpr uint32_t none = 0;
constexpr uint32_t last = kw_last;
constexpr uint32_t assign = kw_assign;            // keyword "=" value
constexpr uint32_t decimal = kw_decimal;
constexpr uint32_t string = kw_string;            // value in double quotes
constexpr uint32_t free_text = kw_free_text;      // any token; the text is its help description
constexpr uint32_t free_decimal = kw_free_text | kw_decimal;
constexpr uint32_t hidden = kw_hidden;            // matches, but "?" does not list it
constexpr uint32_t full_word = kw_full_word;      // matches only when typed in full

}  // namespace kwt_form
