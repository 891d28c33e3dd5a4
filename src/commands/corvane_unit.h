// LUN commands: ADD, SHOW and DELETE LUN (a virtual disk presented to a host).
#pragma once

#include "corvane_state.h"

int ss_add_unit_defaults(_parseblk* pb);
int ss_add_unit_number(_parseblk* pb);
int ss_add_unit_host_name(_parseblk* pb);
int ss_add_unit_storage_name(_parseblk* pb);
int ss_add_unit_dispatch(_parseblk* pb);
int ss_show_unit(_parseblk* pb);
int ss_show_unit_dispatch(_parseblk* pb);
int ss_delete_unit(_parseblk* pb);
int ss_delete_unit_dispatch(_parseblk* pb);
