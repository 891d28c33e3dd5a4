// Regression mode: REGRESSION CAPTURE records a reference of TALO's output,
// REGRESSION TEST replays one and counts the differences.
#pragma once

#include <cstdio>

#include "corvane_state.h"

int ss_ar_reg_create(_parseblk* pb);
int ss_dr_reg_create(_parseblk* pb);
int ss_ar_reg_create_exit(_parseblk* pb);
int ss_dr_reg_create_exit(_parseblk* pb);
int ss_ar_reg_filename(_parseblk* pb);
int ss_dr_reg_filename(_parseblk* pb);

// While recording: writes a command line ("> " and the command) into the
// reference, before the command runs.
void ss_regression_record_command(const char* line);
// While recording: takes the current command's line back out of the
// reference (FILE: the lines of the file are recorded in its place).
void ss_regression_take_back_command(_parseblk* pb);
// True while recording when the token's value is written as "##IGNORE##".
bool ss_reg_ignore_token(_parseblk* pb, const char* name);

// The replay of an open reference: 0.
int ss_regression_test(_parseblk* pb, FILE* reference);
// One command's comparison: true with the next command in `line` (at
// least ss_max_line + 1 bytes), false at the end of the reference.
bool ss_regression_compare(FILE* reference, char* line);
