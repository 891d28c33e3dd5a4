// Folder commands: ADD, SET, SHOW and DELETE FOLDER.
#pragma once

#include "corvane_state.h"

int ss_add_folder_defaults(_parseblk* pb);
int ss_add_folder_dispatch(_parseblk* pb);
int ss_set_folder(_parseblk* pb);
int ss_set_folder_dispatch(_parseblk* pb);
int ss_show_folder(_parseblk* pb);
int ss_show_folder_dispatch(_parseblk* pb);
int ss_delete_folder(_parseblk* pb);
int ss_delete_folder_dispatch(_parseblk* pb);
