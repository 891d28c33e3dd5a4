#include "corvane_selection.h"

#include "corvane_memory.h"

namespace {
const char ss_module[] = "corvane_cell";

void release(char*& text) {
    ss_deallocate_mem(text, ss_module, __LINE__);
    text = nullptr;
}
}  // namespace

void ss_no_manager_selected(_parseblk* pb) { release(pb->state->manager_name); }

void ss_no_cell_selected(_parseblk* pb) {
    release(pb->state->cell_name);
    release(pb->state->cell_id);
}
