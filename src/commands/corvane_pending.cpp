// What is still to be written: every routine below is a placeholder that a
// later change replaces with the real one (and deletes from here).
//
// - Dispatch routines of commands whose request work is not written yet say
//   so and fail the command, so that no script mistakes them for success.
// - The action routine of the diagnostic word DEBUG INFORMATION only lets
//   the parse go on for now.
// The option words of every object command are written; only the requests
// their commands send are still to come.
#include "corvane_debug.h"
#include "corvane_dispatch.h"

// Action routine of the diagnostic word.

int ss_ar_debug_information(_parseblk*) { return 0; }

// Dispatch routines, in the order of the command list.

int ss_dr_emversion(_parseblk*) { return ss_not_available("EMVERSION"); }
int ss_dr_exercisestartall(_parseblk*) { return ss_not_available("EXERCISE_DISK START ALL"); }
int ss_dr_exercisestart(_parseblk*) { return ss_not_available("EXERCISE_DISK START"); }
int ss_dr_exercisestop(_parseblk*) { return ss_not_available("EXERCISE_DISK STOP"); }
int ss_dr_exercisesummary(_parseblk*) { return ss_not_available("EXERCISE_DISK SUMMARY"); }
int ss_dr_rediscover(_parseblk*) { return ss_not_available("REDISCOVER"); }
