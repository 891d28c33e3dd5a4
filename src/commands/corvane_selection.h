// Dropping the selected manager or storage system.
#pragma once

#include "corvane_state.h"

void ss_no_manager_selected(_parseblk* pb);
void ss_no_cell_selected(_parseblk* pb);
