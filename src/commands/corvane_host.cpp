#include "corvane_host.h"

#include "corvane_catalogue.h"
#include "corvane_kinds.h"

int ss_add_host_defaults(_parseblk* pb) {
    pb->state->dispatch = ss_add_host_dispatch;
    return 0;
}

int ss_set_host(_parseblk* pb) {
    pb->state->dispatch = ss_set_host_dispatch;
    return 0;
}

int ss_show_host(_parseblk* pb) {
    pb->state->dispatch = ss_show_host_dispatch;
    return 0;
}

int ss_delete_host(_parseblk* pb) {
    pb->state->dispatch = ss_delete_host_dispatch;
    return 0;
}

int ss_show_world_wide_name(_parseblk* pb) {
    pb->state->dispatch = ss_show_world_wide_name_dispatch;
    return 0;
}

int ss_show_host_dispatch(_parseblk* pb) { return ss_generic_show(pb, kind_host); }
int ss_show_world_wide_name_dispatch(_parseblk* pb) { return ss_generic_show(pb, kind_world_wide_name); }
