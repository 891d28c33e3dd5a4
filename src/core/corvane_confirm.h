// The confirmation prompt of destructive commands typed at the keyboard.
#pragma once

// Prints the warning and asks; 0 when the user typed "Yes", 1 otherwise
// (after printing "Command aborted").
int ss_are_you_sure(const char* warning);
// Reads and judges the answer: 0 for "Yes", 1 for anything else.
int ss_are_you_sure_lower();
