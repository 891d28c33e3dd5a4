// The generic dispatch routines every command layer may select: the null
// one and the incomplete-command one.
#pragma once

#include "corvane_state.h"

int ss_dr_null_dispatch(_parseblk* pb);
int ss_incomplete_command(_parseblk* pb);

