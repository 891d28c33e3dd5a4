#include "corvane_manager.h"

#include "corvane_memory.h"

namespace {
const char ss_module[] = "corvane_manager";

// Replaces a session text with a tracked copy of the value just parsed.
void store_value(_parseblk* pb, char** field) {
    ss_deallocate_mem(*field, ss_module, __LINE__);
    *field = ss_copy_count(pb->string_value, pb->string_length);
}
}  // namespace

int ss_select_manager_name(_parseblk* pb) {
    store_value(pb, &pb->state->object_name);
    pb->state->dispatch = ss_select_manager_dispatch;
    return 0;
}

int ss_select_manager_username(_parseblk* pb) {
    store_value(pb, &pb->state->user_name);
    return 0;
}

int ss_select_manager_password(_parseblk* pb) {
    store_value(pb, &pb->state->user_password);
    return 0;
}

int ss_show_manager(_parseblk* pb) {
    pb->state->dispatch = ss_show_manager_dispatch;
    return 0;
}
