// Command files: the FILE command and the loop that runs a file's lines.
#pragma once

#include <cstdio>

#include "corvane_state.h"

void ss_commands_from_file(FILE* file, _parseblk* pb);
int ss_ar_filename(_parseblk* pb);
int ss_dr_filename(_parseblk* pb);
