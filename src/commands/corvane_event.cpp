#include "corvane_event.h"

#include <cstdio>
#include <ctime>

#include "corvane_catalogue.h"
#include "corvane_kinds.h"
#include "corvane_seams.h"

int ss_show_disk_event(_parseblk* pb) {
    pb->state->dispatch = ss_show_disk_event_dispatch;
    return 0;
}

int ss_show_management_event(_parseblk* pb) {
    pb->state->dispatch = ss_show_man_event_dispatch;
    return 0;
}

int ss_show_time(_parseblk* pb) {
    pb->state->dispatch = ss_show_time_dispatch;
    return 0;
}

// The local time in ctime form without its line end, on standard output.
int ss_show_time_dispatch(_parseblk*) {
    time_t now = ss_time_now();
    char text[64];
    struct tm local;
    if (!localtime_r(&now, &local) || !asctime_r(&local, text)) {
        std::fputs("\nError: Local time cannot be shown", OutFile);
        return 1;
    }
    size_t length = 0;
    while (static_cast<unsigned char>(text[length]) >= 32) ++length;
    text[length] = '\0';
    std::printf("\n%s", text);
    return 0;
}

int ss_show_disk_event_dispatch(_parseblk* pb) { return ss_generic_show(pb, kind_disk_event); }
int ss_show_man_event_dispatch(_parseblk* pb) { return ss_generic_show(pb, kind_management_event); }
