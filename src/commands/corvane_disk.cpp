#include "corvane_disk.h"

#include "corvane_catalogue.h"
#include "corvane_generic.h"
#include "corvane_kinds.h"

int ss_set_disk(_parseblk* pb) {
    pb->state->dispatch = ss_set_disk_dispatch;
    return 0;
}

int ss_show_disk(_parseblk* pb) {
    pb->state->dispatch = ss_show_disk_dispatch;
    return 0;
}

int ss_set_disk_dispatch(_parseblk* pb) { return ss_set_object(pb, kind_disk); }
int ss_show_disk_dispatch(_parseblk* pb) { return ss_generic_show(pb, kind_disk); }
