// The generic DELETE and SET of every object class: resolve the named object,
// apply the safety rules of destructive deletes, send one request, check it.
#pragma once

#include "corvane_state.h"

int ss_delete_object(_parseblk* pb, int kind);
int ss_set_object(_parseblk* pb, int kind);
