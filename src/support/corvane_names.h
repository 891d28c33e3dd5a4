// Names, comments and identifiers typed in commands: copied out of the
// command text into the session state, queued as request sentences and
// checked against the server's rules, with a caret under the offending
// character.
#pragma once

#include <cstdint>

#include "corvane_state.h"

constexpr uint32_t ss_max_name_length = 32;
constexpr uint32_t ss_max_comment_length = 128;
constexpr uint32_t ss_max_os_unit_id = 32767;

// Replaces the owned text in *field with a copy of the current string value.
int ss_validate_and_copy_name(_parseblk* pb, char** field);
// The same, then queues the copy as sentence `sentence` (plain replace).
int ss_validate_and_copy_name_sentence(_parseblk* pb, const char* sentence, char** field);

// Action routines of the name, new-name, COMMENT and OS_UNIT_ID values.
int ss_object_name(_parseblk* pb);
int ss_rename_newname(_parseblk* pb);
int ss_rename_newname_V3(_parseblk* pb);
int ss_comment(_parseblk* pb);
int ss_raven_id(_parseblk* pb);

// Name check: at most 32 characters, then the character check. 0 or 1.
int ss_valid_characters(_parseblk* pb, const char* text, uint32_t length);
// Character check: no character outside 32..126 and none of ?"/\<>*|:&+,%.
// `word` names the value in the message ("name", "comment"). 0 or 1.
int ss_valid_chars(_parseblk* pb, const char* text, uint32_t length, const char* word);
