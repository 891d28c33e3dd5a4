// Reading object lists and single objects from the server, resolving names,
// and the generic SHOW: list a kind, show one object or all in full.
#pragma once

#include "corvane_object.h"
#include "corvane_state.h"

// Guards every request passes: a manager selected, and below the manager a system.
int ss_check_manager_set(_parseblk* pb);
int ss_check_cell_set(_parseblk* pb);

// Reads the list of a kind (empty id) or one object into `tokens`: 0 or 1.
int ss_get_object(_parseblk* pb, int kind, const char* id);
// Replaces the kind's entries with the server's current list: 0 or 1.
int ss_object_update(_parseblk* pb, int kind);
_object_info* ss_object_update_and_find(_parseblk* pb, int kind, const char* name);
// Replaces the kind's entries with the rows of the list reply in `tokens`.
int ss_tokens_to_objects(_parseblk* pb, int kind);

int ss_print_list_of_objects(_parseblk* pb, int kind);
int ss_show_one_object(_parseblk* pb, _object_info* entry);
int ss_generic_show(_parseblk* pb, int kind);
