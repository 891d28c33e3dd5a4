#include "corvane_drm.h"

#include "corvane_catalogue.h"
#include "corvane_kinds.h"

int ss_add_dr_group_defaults(_parseblk* pb) {
    pb->state->dispatch = ss_add_dr_group_dispatch;
    return 0;
}

int ss_set_dr_group(_parseblk* pb) {
    pb->state->dispatch = ss_set_dr_group_dispatch;
    return 0;
}

int ss_show_dr_group(_parseblk* pb) {
    pb->state->dispatch = ss_show_dr_group_dispatch;
    return 0;
}

int ss_delete_dr_group(_parseblk* pb) {
    pb->state->dispatch = ss_delete_dr_group_dispatch;
    return 0;
}

int ss_show_dr_group_dispatch(_parseblk* pb) { return ss_generic_show(pb, kind_dr_group); }
