#include "corvane_monitor.h"

#include "corvane_catalogue.h"
#include "corvane_generic.h"
#include "corvane_kinds.h"

int ss_set_monitor(_parseblk* pb) {
    pb->state->dispatch = ss_set_monitor_dispatch;
    return 0;
}

int ss_show_monitor(_parseblk* pb) {
    pb->state->dispatch = ss_show_monitor_dispatch;
    return 0;
}

int ss_set_monitor_dispatch(_parseblk* pb) { return ss_set_object(pb, kind_monitor); }
int ss_show_monitor_dispatch(_parseblk* pb) { return ss_generic_show(pb, kind_monitor); }
