// The name commands are prompted and echoed after, and the caret that points
// into the echoed command line at the character a message is about.
#pragma once

#include "corvane_state.h"

// "RegressionTest", the selected system's name, or "NoSystemSelected".
const char* ss_prompt_name(const _parseblk* pb);

// Prints `column` blanks and a caret.
void ss_print_caret(int column);
