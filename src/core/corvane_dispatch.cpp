#include "corvane_dispatch.h"

#include <cstdio>

int ss_dr_null_dispatch(_parseblk*) { return 0; }

int ss_incomplete_command(_parseblk*) {
    std::fputs("\nError: Incomplete command", OutFile);
    return 1;
}
