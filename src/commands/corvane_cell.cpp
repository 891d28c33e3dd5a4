#include "corvane_cell.h"

#include "corvane_memory.h"

namespace {
const char ss_module[] = "corvane_cell";
}

int ss_select_cell_name(_parseblk* pb) {
    session_state* s = pb->state;
    ss_deallocate_mem(s->object_name, ss_module, __LINE__);
    s->object_name = ss_copy_count(pb->string_value, pb->string_length);
    s->dispatch = ss_select_cell_dispatch;
    return 0;
}

int ss_show_cell(_parseblk* pb) {
    pb->state->dispatch = ss_show_cell_dispatch;
    return 0;
}

int ss_add_cell_defaults(_parseblk* pb) {
    pb->state->dispatch = ss_add_cell_dispatch;
    return 0;
}

int ss_set_cell(_parseblk* pb) {
    pb->state->dispatch = ss_set_cell_dispatch;
    return 0;
}

int ss_delete_cell(_parseblk* pb) {
    pb->state->dispatch = ss_delete_cell_dispatch;
    return 0;
}
