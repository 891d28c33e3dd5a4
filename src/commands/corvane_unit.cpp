#include "corvane_unit.h"

#include "corvane_catalogue.h"
#include "corvane_kinds.h"

int ss_add_unit_defaults(_parseblk* pb) {
    pb->state->dispatch = ss_add_unit_dispatch;
    return 0;
}

int ss_show_unit(_parseblk* pb) {
    pb->state->dispatch = ss_show_unit_dispatch;
    return 0;
}

int ss_delete_unit(_parseblk* pb) {
    pb->state->dispatch = ss_delete_unit_dispatch;
    return 0;
}

int ss_show_unit_dispatch(_parseblk* pb) { return ss_generic_show(pb, kind_lun); }
