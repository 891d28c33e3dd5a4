// The command loop: one command line parsed and executed, and the two
// direct command sources (invocation line and keyboard).
#pragma once

#include <cstdio>

#include "corvane_state.h"

// Parses and executes one NUL-terminated command line. `delay`, when given
// and non-zero, is slept after a command that parsed.
void ss_parse_command(_parseblk* pb, char* text, const uint32_t* delay);

void ss_commands_from_invoke_line(_parseblk* pb, int argc, char** argv);
void ss_commands_from_keyboard(_parseblk* pb);

// "RegressionTest", the selected system's name, or "NoSystemSelected".
const char* ss_prompt_name(const _parseblk* pb);

// A command failed: the run stops when the on-error policy says so.
void ss_mark_error(_parseblk* pb);

// Longest command line read, newline included.
constexpr int ss_max_line = 2048;

// Reads one line of at most ss_max_line characters into `buffer` (which holds
// ss_max_line + 1). Returns the count read, or -1 when nothing could be read.
int ss_read_line(FILE* stream, char* buffer);
// Drops trailing blanks, control characters and bytes above 0x7F.
void ss_strip_line_end(char* line);
