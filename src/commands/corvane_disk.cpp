#include "corvane_disk.h"

int ss_set_disk(_parseblk* pb) {
    pb->state->dispatch = ss_set_disk_dispatch;
    return 0;
}

int ss_show_disk(_parseblk* pb) {
    pb->state->dispatch = ss_show_disk_dispatch;
    return 0;
}
