// The shell's own commands (EXIT, HELP) and the two generic dispatch
// routines: the null one and the incomplete-command one.
#pragma once

#include "corvane_state.h"

int ss_ar_exit(_parseblk* pb);
int ss_dr_exit(_parseblk* pb);
int ss_help(_parseblk* pb);
int ss_dr_help_dispatch(_parseblk* pb);
int ss_dr_null_dispatch(_parseblk* pb);
int ss_incomplete_command(_parseblk* pb);

extern const char ss_help_text[];
