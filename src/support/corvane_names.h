// Names typed in commands: the action routines that check a name, a new name,
// a comment or an OS unit identifier and copy or queue it, and the ones that
// split a typed name into its folder path and the object's own name.
#pragma once

#include "corvane_state.h"

int ss_object_name(_parseblk* pb);
int ss_rename_newname(_parseblk* pb);
int ss_rename_newname_V3(_parseblk* pb);
int ss_comment(_parseblk* pb);
int ss_raven_id(_parseblk* pb);
int ss_save_name_and_folder(_parseblk* pb);
int ss_add_object_name_and_folder(_parseblk* pb);
int ss_add_copy_name_and_folder(_parseblk* pb);
int ss_add_object_name_and_folder_V3(_parseblk* pb);
int ss_add_destination_name_and_folder_V3(_parseblk* pb);
int ss_add_vdisk_name_and_folder_V3(_parseblk* pb);
