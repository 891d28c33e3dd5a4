#include "corvane_storage.h"

#include "corvane_catalogue.h"
#include "corvane_kinds.h"

int ss_add_storage_defaults(_parseblk* pb) {
    pb->state->dispatch = ss_add_storage_dispatch;
    return 0;
}

int ss_add_snapshot_defaults(_parseblk* pb) {
    pb->state->dispatch = ss_snapshot_storage_dispatch;
    return 0;
}

int ss_add_clone_defaults(_parseblk* pb) {
    pb->state->dispatch = ss_clone_storage_dispatch;
    return 0;
}

int ss_set_storage(_parseblk* pb) {
    pb->state->dispatch = ss_set_storage_dispatch;
    return 0;
}

int ss_show_storage(_parseblk* pb) {
    pb->state->dispatch = ss_show_storage_dispatch;
    return 0;
}

int ss_delete_storage(_parseblk* pb) {
    pb->state->dispatch = ss_delete_storage_dispatch;
    return 0;
}

int ss_show_storage_dispatch(_parseblk* pb) { return ss_generic_show(pb, kind_vdisk); }
