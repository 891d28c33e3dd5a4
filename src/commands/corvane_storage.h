// Virtual-disk commands: ADD, SET, SHOW and DELETE VDISK, ADD SNAPSHOT and
// ADD COPY, with the option words they share.
#pragma once

#include "corvane_state.h"

int ss_add_storage_defaults(_parseblk* pb);
int ss_add_storage_dispatch(_parseblk* pb);
int ss_add_snapshot_defaults(_parseblk* pb);
int ss_snapshot_storage_dispatch(_parseblk* pb);
int ss_add_clone_defaults(_parseblk* pb);
int ss_clone_storage_dispatch(_parseblk* pb);

int ss_set_storage(_parseblk* pb);
int ss_set_storage_dispatch(_parseblk* pb);
int ss_show_storage(_parseblk* pb);
int ss_show_storage_dispatch(_parseblk* pb);
int ss_delete_storage(_parseblk* pb);
int ss_delete_storage_dispatch(_parseblk* pb);

// Option words.
int ss_add_storage_group(_parseblk* pb);
int ss_copy_source_name(_parseblk* pb);
int ss_storage_raid0(_parseblk* pb);
int ss_storage_raid1(_parseblk* pb);
int ss_storage_raid5(_parseblk* pb);
int ss_add_storage_gb(_parseblk* pb);
int ss_fixed_wwn(_parseblk* pb);
int ss_storage_demand_allocated(_parseblk* pb);
int ss_storage_fully_allocated(_parseblk* pb);
int ss_storage_mirrored_wb(_parseblk* pb);
int ss_storage_nomirrored_wb(_parseblk* pb);
int ss_preferred_path_a_fail(_parseblk* pb);
int ss_preferred_path_a_both(_parseblk* pb);
int ss_preferred_path_b_fail(_parseblk* pb);
int ss_preferred_path_b_both(_parseblk* pb);
int ss_nopreferred_path(_parseblk* pb);
int ss_storage_read_cache(_parseblk* pb);
int ss_storage_noread_cache(_parseblk* pb);
int ss_storage_write_protect(_parseblk* pb);
int ss_storage_nowrite_protect(_parseblk* pb);
int ss_add_storage_wait_for_completion(_parseblk* pb);
int ss_add_storage_nowait_for_completion(_parseblk* pb);
int ss_delete_storage_wait_for_completion(_parseblk* pb);
int ss_delete_storage_nowait_for_completion(_parseblk* pb);
