// Physical-disk commands: SET DISK and SHOW DISK.
#pragma once

#include "corvane_state.h"

int ss_set_disk(_parseblk* pb);
int ss_set_disk_dispatch(_parseblk* pb);
int ss_show_disk(_parseblk* pb);
int ss_show_disk_dispatch(_parseblk* pb);
