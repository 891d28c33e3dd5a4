#include "corvane_builtin.h"

#include <cstdio>

namespace {
const char ss_help_text[] =
    "\nCommand syntax help is available at any point within a command by\ntyping a '?'\n\n"
    "For example:\n\nTuvel> ADD VDISK Quabex ?\n\n  The options are:\n"
    "    COMMENT\n    DISK_GROUP\n    MIRRORED_WRITEBACK\n    NOMIRRORED_WRITEBACK\n"
    "    OS_UNIT_ID\n    PREFERRED_PATH\n    NOPREFERRED_PATH\n    READ_CACHE\n"
    "    NOREAD_CACHE\n    REDUNDANCY\n    SIZE\n    WORLD_WIDE_LUN_NAME\n"
    "    WRITE_PROTECT\n    NOWRITE_PROTECT\n\n"
    "Arguments that require keywords may also be queried, for example:\n\n"
    "Tuvel> ADD VDISK Ramsot REDUNDANCY=?\n\n  The options are:\n"
    "    VRAID0\n    VRAID1\n    VRAID5\n";
}  // namespace

int ss_ar_exit(_parseblk* pb) {
    pb->state->dispatch = ss_dr_exit;
    return 0;
}

int ss_dr_exit(_parseblk* pb) {
    pb->state->session_flags |= exit_requested;
    return 0;
}

int ss_help(_parseblk* pb) {
    pb->state->dispatch = ss_dr_help_dispatch;
    return 0;
}

int ss_dr_help_dispatch(_parseblk*) {
    std::fputs(ss_help_text, OutFile);
    return 0;
}
