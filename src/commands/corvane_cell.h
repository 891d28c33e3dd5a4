// Storage-system (cell) commands: SELECT, SHOW, ADD, SET and DELETE SYSTEM,
// with the option words of ADD SYSTEM that disk groups share.
#pragma once

#include "corvane_state.h"

int ss_select_cell_name(_parseblk* pb);
int ss_select_cell_dispatch(_parseblk* pb);

int ss_show_cell(_parseblk* pb);
int ss_show_cell_dispatch(_parseblk* pb);

int ss_add_cell_defaults(_parseblk* pb);
int ss_add_cell_name(_parseblk* pb);
int ss_add_cell_DeviceCount(_parseblk* pb);
int ss_add_cell_disktype_nearonline(_parseblk* pb);
int ss_add_cell_disktype_online(_parseblk* pb);
int ss_add_cell_SparePolicy_none(_parseblk* pb);
int ss_add_cell_SparePolicy_single(_parseblk* pb);
int ss_add_cell_SparePolicy_double(_parseblk* pb);
int ss_add_cell_dispatch(_parseblk* pb);

int ss_set_cell(_parseblk* pb);
int ss_set_cell_dispatch(_parseblk* pb);

int ss_delete_cell(_parseblk* pb);
int ss_delete_cell_dispatch(_parseblk* pb);
