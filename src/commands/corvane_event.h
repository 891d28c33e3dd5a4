// Event-list commands (SHOW DISK_EVENT, SHOW MANAGEMENT_EVENT) and SHOW TIME.
#pragma once

#include "corvane_state.h"

int ss_show_disk_event(_parseblk* pb);
int ss_show_disk_event_dispatch(_parseblk* pb);
int ss_show_management_event(_parseblk* pb);
int ss_show_man_event_dispatch(_parseblk* pb);
int ss_show_time(_parseblk* pb);
int ss_show_time_dispatch(_parseblk* pb);
