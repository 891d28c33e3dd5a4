// The shell's own commands: EXIT and HELP.
#pragma once

#include "corvane_state.h"

int ss_ar_exit(_parseblk* pb);
int ss_dr_exit(_parseblk* pb);
int ss_help(_parseblk* pb);
int ss_dr_help_dispatch(_parseblk* pb);
