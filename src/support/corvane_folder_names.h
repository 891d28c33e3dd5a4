// Object names typed with a folder path in front ("\Hosts\Lab\" + name):
// the path goes to folder_name, the name to the session state and a sentence.
#pragma once

#include "corvane_state.h"

// Splits the current string value at its last backslash: a path ending there
// (when it is not the first character) becomes folder_name, the rest
// *field, which is also queued as sentence `sentence` (plain replace).
// Returns the name check of the name part.
int ss_save_name_and_folder(_parseblk* pb, char** field, const char* sentence);

// Action routines of the names of ADD commands.
int ss_add_object_name_and_folder(_parseblk* pb);          // sentence Name
int ss_add_copy_name_and_folder(_parseblk* pb);            // snapshot or clone: Name
int ss_add_object_name_and_folder_V3(_parseblk* pb);       // DR group: objectname
int ss_add_destination_name_and_folder_V3(_parseblk* pb);  // dr_destination_name, as typed
int ss_add_vdisk_name_and_folder_V3(_parseblk* pb);        // vdisk_name, as typed
