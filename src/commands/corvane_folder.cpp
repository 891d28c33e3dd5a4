#include "corvane_folder.h"

#include "corvane_catalogue.h"
#include "corvane_kinds.h"

int ss_add_folder_defaults(_parseblk* pb) {
    pb->state->dispatch = ss_add_folder_dispatch;
    return 0;
}

int ss_set_folder(_parseblk* pb) {
    pb->state->dispatch = ss_set_folder_dispatch;
    return 0;
}

int ss_show_folder(_parseblk* pb) {
    pb->state->dispatch = ss_show_folder_dispatch;
    return 0;
}

int ss_delete_folder(_parseblk* pb) {
    pb->state->dispatch = ss_delete_folder_dispatch;
    return 0;
}

int ss_show_folder_dispatch(_parseblk* pb) { return ss_generic_show(pb, kind_folder); }
