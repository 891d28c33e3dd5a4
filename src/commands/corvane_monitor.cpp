#include "corvane_monitor.h"

int ss_set_monitor(_parseblk* pb) {
    pb->state->dispatch = ss_set_monitor_dispatch;
    return 0;
}

int ss_show_monitor(_parseblk* pb) {
    pb->state->dispatch = ss_show_monitor_dispatch;
    return 0;
}
