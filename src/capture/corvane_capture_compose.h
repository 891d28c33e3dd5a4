// Composing the command lines of a capture script one at a time: keywords
// and unquoted values in upper case, quoted names and comments as read, at
// most 2047 characters; and the translation of reply texts into keywords.
#pragma once

#include <cstddef>
#include <cstdint>

struct _token_info;

inline constexpr size_t ss_capture_command_size = 2048;
inline constexpr size_t ss_capture_value_limit = 128;

int start_command(const char* text);
int keyword_only(const char* text);
int quote_only(const char* text);
int keyword_eq_string(const char* keyword, const char* value);
int keyword_eq_quote_string(const char* keyword, const char* value);
int add_to_command(const char* text);
int write_command();
int comment_only(const char* text);
int write_comments(const char* text);
// The command composed so far.
const char* ss_capture_command();

// Appends COMMENT="..." when the Comments token (any case of the name) is
// not empty once cleaned; a comment that does not fit is reported and left
// out. Fails only for tokens that cannot be read.
void ss_capture_comment(_token_info* tree, const char* token_name);

struct _xlate_info {
    const char* reply;
    const char* keyword;
};
extern const _xlate_info xlate_write_cache[2];
extern const _xlate_info xlate_read_cache[2];
extern const _xlate_info xlate_write_protect[2];
extern const _xlate_info xlate_preferred[4];
extern const _xlate_info xlate_dr_access[2];
extern const _xlate_info xlate_dr_suspend[2];
extern const _xlate_info xlate_dr_failsafe[2];

// Replaces *value by the keyword of the row whose reply text matches; with
// none, lists the choices and fails.
int xlate_token_value(const char** value, const _xlate_info* table, size_t table_size);
// Equal length and equal without regard to case.
bool match(const char* a, const char* b);
// Removes, in place, control and 8-bit characters, DEL and ? " / \ < > * | : & + , %;
// the remaining length.
size_t remove_special_characters(char* text);
// A value the capture keeps must fit its 128-character buffers: 0, or 1
// after saying which token is too long.
int ss_capture_check_length(const char* token_name, const char* value);
