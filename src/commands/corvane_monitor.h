// Environmental-monitor commands: SET MONITOR and SHOW MONITOR.
#pragma once

#include "corvane_state.h"

int ss_set_monitor(_parseblk* pb);
int ss_set_monitor_dispatch(_parseblk* pb);
int ss_show_monitor(_parseblk* pb);
int ss_show_monitor_dispatch(_parseblk* pb);
