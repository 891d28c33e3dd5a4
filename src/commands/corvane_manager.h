// Management-server commands: SELECT MANAGER with its credentials, and
// SHOW MANAGER.
#pragma once

#include "corvane_state.h"

int ss_select_manager_name(_parseblk* pb);
int ss_select_manager_username(_parseblk* pb);
int ss_select_manager_password(_parseblk* pb);
int ss_select_manager_dispatch(_parseblk* pb);

int ss_show_manager(_parseblk* pb);
int ss_show_manager_dispatch(_parseblk* pb);
