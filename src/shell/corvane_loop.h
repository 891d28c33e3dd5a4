// The command loop: one command line parsed and executed, and the two
// direct command sources (invocation line and keyboard).
#pragma once

#include "corvane_state.h"

// Parses and executes one NUL-terminated command line. `delay`, when given
// and non-zero, is slept after a command that parsed.
void ss_parse_command(_parseblk* pb, char* text, const uint32_t* delay);

void ss_commands_from_invoke_line(_parseblk* pb, int argc, char** argv);
void ss_commands_from_keyboard(_parseblk* pb);

// A command failed: the run stops when the on-error policy says so.
void ss_mark_error(_parseblk* pb);
