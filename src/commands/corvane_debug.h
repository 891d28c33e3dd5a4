// Diagnostic commands: the hidden DEBUG family, EMVERSION, REDISCOVER and
// the disk exerciser (EXERCISE_DISK).
#pragma once

#include "corvane_state.h"

int ss_ar_debug(_parseblk* pb);
int ss_ar_debug_are_you_sure(_parseblk* pb);
int ss_ar_debug_fenn_flags(_parseblk* pb);
int ss_ar_debug_debug(_parseblk* pb);
int ss_ar_debug_debug_dispatch(_parseblk* pb);
int ss_ar_debug_dump(_parseblk* pb);
int ss_ar_debug_nodump(_parseblk* pb);
int ss_ar_debug_information(_parseblk* pb);

int ss_ar_emversion(_parseblk* pb);
int ss_dr_emversion(_parseblk* pb);
int ss_ar_rediscover(_parseblk* pb);
int ss_dr_rediscover(_parseblk* pb);

int ss_ar_exercisestartall(_parseblk* pb);
int ss_dr_exercisestartall(_parseblk* pb);
int ss_ar_exercisestart(_parseblk* pb);
int ss_dr_exercisestart(_parseblk* pb);
int ss_ar_exercisestop(_parseblk* pb);
int ss_dr_exercisestop(_parseblk* pb);
int ss_ar_exercisesummary(_parseblk* pb);
int ss_dr_exercisesummary(_parseblk* pb);
