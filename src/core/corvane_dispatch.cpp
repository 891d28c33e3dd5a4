#include "corvane_dispatch.h"

#include <cstdio>

int ss_dr_null_dispatch(_parseblk*) { return 0; }

int ss_incomplete_command(_parseblk*) {
    std::fputs("\nError: Incomplete command", OutFile);
    return 1;
}

int ss_not_available(const char* command) {
    std::fprintf(OutFile, "\nError: %s is not available in this version of TALO", command);
    return 1;
}
