#include "corvane_power.h"

#include "corvane_catalogue.h"
#include "corvane_kinds.h"

int ss_show_power(_parseblk* pb) {
    pb->state->dispatch = ss_show_power_dispatch;
    return 0;
}

int ss_restart(_parseblk* pb) {
    pb->state->dispatch = ss_set_power_dispatch;
    return 0;
}

int ss_shutdown(_parseblk* pb) {
    pb->state->dispatch = ss_set_power_dispatch;
    return 0;
}

int ss_show_power_dispatch(_parseblk* pb) { return ss_generic_show(pb, kind_power); }
