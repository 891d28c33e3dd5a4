#include "corvane_selection.h"

#include "corvane_memory.h"

void ss_no_manager_selected(_parseblk* pb) { ss_release_text(pb->state->manager_name); }

void ss_no_cell_selected(_parseblk* pb) {
    ss_release_text(pb->state->cell_name);
    ss_release_text(pb->state->cell_id);
}
