// The generic dispatch routines every command layer may select: the null
// one, the incomplete-command one, and the refusal of a command whose
// server side this version does not have yet.
#pragma once

#include "corvane_state.h"

int ss_dr_null_dispatch(_parseblk* pb);
int ss_incomplete_command(_parseblk* pb);

// Prints "<command> is not available in this version of TALO"; returns 1.
int ss_not_available(const char* command);
