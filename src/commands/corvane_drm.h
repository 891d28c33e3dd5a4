// DR-group (remote replication) commands: ADD, SET, SHOW and DELETE DR_GROUP
// with their member, destination, access and write-mode words.
#pragma once

#include "corvane_state.h"

// The sentences of a creation request in the order the server expects them,
// ending with an empty text; queued empty first so later values keep that order.
extern const char* const drm_create_tags[];
// The folder a new group goes to when its name carries no folder, and the
// disk-group identifier that lets the server choose.
extern const char ss_default_folder_id[];
extern const char ss_empty_disk_group_id[];

// Queues every tag of `tags` (up to the empty text) with an empty value.
void ss_setup_tag_list(_parseblk* pb, const char* const* tags);

int ss_add_dr_group_defaults(_parseblk* pb);
int ss_add_dr_group_dispatch(_parseblk* pb);
int ss_set_dr_group(_parseblk* pb);
int ss_set_dr_group_dispatch(_parseblk* pb);
int ss_show_dr_group(_parseblk* pb);
int ss_show_dr_group_dispatch(_parseblk* pb);
int ss_delete_dr_group(_parseblk* pb);
int ss_delete_dr_group_dispatch(_parseblk* pb);

// Option words.
int ss_drcomment_V3(_parseblk* pb);
int ss_add_disk_group_name_V3(_parseblk* pb);
int ss_add_remote_disk_name(_parseblk* pb);
int ss_add_operation_async(_parseblk* pb);
int ss_add_operation_sync(_parseblk* pb);
int ss_set_dr_group_access_read_only(_parseblk* pb);
int ss_set_dr_group_noaccess(_parseblk* pb);
int ss_add_storage_to_dr(_parseblk* pb);
int ss_delete_storage_from_dr(_parseblk* pb);
int ss_detach_storage_from_dr(_parseblk* pb);
int ss_set_dr_group_failover(_parseblk* pb);
int ss_set_dr_group_failsafe(_parseblk* pb);
int ss_set_dr_group_nofailsafe(_parseblk* pb);
int ss_set_dr_group_suspend(_parseblk* pb);
int ss_set_dr_group_nosuspend(_parseblk* pb);
