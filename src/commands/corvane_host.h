// Host commands: ADD, SET, SHOW and DELETE HOST with addresses, operating
// systems and world wide names, and SHOW WORLD_WIDE_NAME.
#pragma once

#include "corvane_state.h"

int ss_add_host_defaults(_parseblk* pb);
int ss_add_host_dispatch(_parseblk* pb);
int ss_set_host(_parseblk* pb);
int ss_set_host_dispatch(_parseblk* pb);
int ss_show_host(_parseblk* pb);
int ss_show_host_dispatch(_parseblk* pb);
int ss_delete_host(_parseblk* pb);
int ss_delete_host_dispatch(_parseblk* pb);
int ss_show_world_wide_name(_parseblk* pb);
int ss_show_world_wide_name_dispatch(_parseblk* pb);

// Option words.
int ss_add_ip_addr(_parseblk* pb);
int ss_set_host_ip(_parseblk* pb);
int ss_host_wwn(_parseblk* pb);
int ss_set_host_add_wwn(_parseblk* pb);
int ss_set_host_delete_wwn(_parseblk* pb);
int ss_host_os_custom(_parseblk* pb);
int ss_host_os_korux(_parseblk* pb);
int ss_host_os_ibmaix(_parseblk* pb);
int ss_host_os_raven(_parseblk* pb);
int ss_host_os_sun_unix(_parseblk* pb);
int ss_host_os_qanto_unix(_parseblk* pb);
int ss_host_os_unknown(_parseblk* pb);
int ss_host_os_winnt(_parseblk* pb);
