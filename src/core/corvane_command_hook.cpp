#include "corvane_command_hook.h"

namespace {
ss_command_runner g_runner = nullptr;
}

void ss_set_command_runner(ss_command_runner runner) { g_runner = runner; }

void ss_run_command(_parseblk* pb, char* text, const uint32_t* delay) {
    if (g_runner) g_runner(pb, text, delay);
}
