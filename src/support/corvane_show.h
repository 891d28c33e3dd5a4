// The FULL and NOFULL words shared by every SHOW command: whether each
// listed object is also read and printed in full.
#pragma once

#include "corvane_state.h"

int ss_show_full(_parseblk* pb);
int ss_show_nofull(_parseblk* pb);
