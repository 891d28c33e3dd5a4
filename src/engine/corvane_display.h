// The reply display: prints a token tree as indented "name : value" lines,
// with headings for categories and numbered array rows, wrapping values at
// the display width. Regression references compare this layout line by line.
#pragma once

#include <cstdint>

#include "corvane_state.h"
#include "corvane_token.h"

// The whole tree at level 0.
void ss_soap_print_tokens(_parseblk* pb, _token_info* root);
// A chain at `level`, with what hangs below each of its tokens.
void ss_soap_dump_tokens_list(_parseblk* pb, _token_info* token, int level);
// What hangs below `token` (a category, or array rows numbered from `row`).
void ss_soap_dump_tokens_array(_parseblk* pb, _token_info* token, int row, int level);

// Prints a value from `column`, wrapping at max_line_width; `text` is
// cleaned in place (line ends and tabs to blanks, unprintables removed,
// blank runs packed).
void ss_print_token_value(uint32_t column, char* text);
// Prints as much of the text at *position as fits the line after `column`
// and moves *position past it (and past one blank that follows).
void ss_print_noindent(uint32_t column, const char** position);
// Replaces every `c` in `text` by a blank.
void ss_space_chars(char c, char* text);

// While a regression reference is recorded, values of some tokens are
// written as "##IGNORE##"; the recorder installs the test (null: none).
using ss_ignore_token_fn = bool (*)(_parseblk* pb, const char* name);
void ss_set_display_ignore(ss_ignore_token_fn fn);
