// How a command layer runs further commands of its own (a regression replay
// runs the commands of its reference): through the command loop, which sits
// above it and installs itself here.
#pragma once

#include <cstdint>

#include "corvane_state.h"

using ss_command_runner = void (*)(_parseblk* pb, char* text, const uint32_t* delay);
void ss_set_command_runner(ss_command_runner runner);
// Parses and executes one command line; nothing when no loop is installed.
void ss_run_command(_parseblk* pb, char* text, const uint32_t* delay);
