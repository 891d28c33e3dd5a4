// Regression mode: REGRESSION CAPTURE records a reference of TALO's output,
// REGRESSION TEST replays one and counts the differences.
#pragma once

#include "corvane_state.h"

int ss_ar_reg_create(_parseblk* pb);
int ss_dr_reg_create(_parseblk* pb);
int ss_ar_reg_create_exit(_parseblk* pb);
int ss_dr_reg_create_exit(_parseblk* pb);
int ss_ar_reg_filename(_parseblk* pb);
int ss_dr_reg_filename(_parseblk* pb);
