// Configuration capture: CAPTURE CONFIGURATION writes replayable scripts of
// a system's configuration; CAPTURE VALIDATE checks a script's checksum.
#pragma once

#include "corvane_state.h"

int ss_capture_all(_parseblk* pb);
int ss_capture_configuration_file(_parseblk* pb);
int ss_capture_all_dispatch(_parseblk* pb);
int ss_capture_validation_file(_parseblk* pb);
int ss_validate_configuration_dispatch(_parseblk* pb);
