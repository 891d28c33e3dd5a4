// Disk-group commands: ADD, SET, SHOW and DELETE DISK_GROUP.
#pragma once

#include "corvane_state.h"

int ss_add_group_defaults(_parseblk* pb);
int ss_add_group_disktype_nearonline(_parseblk* pb);
int ss_add_group_disktype_online(_parseblk* pb);
int ss_group_occupancy_alarm(_parseblk* pb);
int ss_add_group_dispatch(_parseblk* pb);
int ss_set_group(_parseblk* pb);
int ss_add_disks(_parseblk* pb);
int ss_remove_disk_from_group(_parseblk* pb);
int ss_set_group_dispatch(_parseblk* pb);
int ss_show_group(_parseblk* pb);
int ss_show_group_dispatch(_parseblk* pb);
int ss_delete_group(_parseblk* pb);
int ss_delete_group_dispatch(_parseblk* pb);
