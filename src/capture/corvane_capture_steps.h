// The five capture steps and the generators that turn each object read
// from the server into the command lines that rebuild it.
#pragma once

#include "corvane_capture_script.h"
#include "corvane_state.h"

using ss_capture_generator = int (*)(_parseblk* pb, int index);
using ss_capture_step = int (*)(_parseblk* pb, int step);

// Runs a generator over every object of one kind (folders parents first): 0 or 1.
int ss_capture(_parseblk* pb, int kind, ss_capture_generator generator);

int ss_capture_configuration_dispatch(_parseblk* pb, int step);
int ss_capture_dr_source_vdisks(_parseblk* pb, int step);
int ss_capture_dr_source_vdisk_luns(_parseblk* pb, int step);
int ss_capture_dr_configuration_dispatch_s1(_parseblk* pb, int step);
int ss_capture_dr_configuration_dispatch_s2(_parseblk* pb, int step);
extern const ss_capture_step restore_steps[ss_capture_step_count];

// Progress dots printed in the current step.
extern uint32_t dot_count;
