#include "corvane_show.h"

int ss_show_full(_parseblk* pb) {
    pb->state->command_flags |= show_full;
    return 0;
}

int ss_show_nofull(_parseblk* pb) {
    pb->state->command_flags &= static_cast<uint8_t>(~show_full);
    return 0;
}
