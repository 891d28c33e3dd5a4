// The generic DELETE and SET of every object class: resolve the named object,
// apply the safety rules of destructive deletes, send one request, check it.
#pragma once

#include "corvane_state.h"

int ss_delete_object(_parseblk* pb, int kind);
int ss_set_object(_parseblk* pb, int kind);

// An ADD names what it creates: 1 after "Incomplete command" when the
// command ended before the name (or the name after a folder path is empty).
int ss_check_new_name(_parseblk* pb);

// Resolves `name` in the server's current list of `kind` and queues its
// identifier as sentence `sentence` (plain replace): 0, or 1 after the
// "not found" message.
int ss_queue_object_id(_parseblk* pb, int kind, const char* name, const char* sentence);
// Sends the command's queued sentences as one legacy `operation` ("Create",
// "Copy") with `Type` = `type` in the selected system, and judges the
// answer with the success test: 0 or 1.
int ss_send_cell_request(_parseblk* pb, const char* operation, const char* type);
