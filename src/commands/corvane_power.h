// Power commands: SHOW POWER, and RESTART and SHUTDOWN of a controller pair.
#pragma once

#include "corvane_state.h"

int ss_show_power(_parseblk* pb);
int ss_show_power_dispatch(_parseblk* pb);
int ss_restart(_parseblk* pb);
int ss_shutdown(_parseblk* pb);
int ss_all_peers(_parseblk* pb);
int ss_noall_peers(_parseblk* pb);
int ss_set_power_dispatch(_parseblk* pb);
