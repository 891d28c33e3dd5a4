#include "corvane_confirm.h"

#include <cstdio>
#include <cstring>

#include "corvane_line.h"
#include "corvane_seams.h"
#include "corvane_state.h"

int ss_are_you_sure_lower() {
    char line[ss_max_line + 1];
    int count = ss_read_line(ss_input_stream(), line);
    if (count < 0) return 1;
    ss_discard_rest_of_line(ss_input_stream(), line, count);
    // Blanks, tabs, control characters and 8-bit bytes count nowhere in the answer.
    size_t kept = 0;
    for (size_t i = 0; line[i]; ++i)
        if (static_cast<signed char>(line[i]) > 32) line[kept++] = line[i];
    line[kept] = '\0';
    return std::strcmp(line, "Yes") == 0 ? 0 : 1;
}

int ss_are_you_sure(const char* warning) {
    std::fputs(warning, OutFile);
    std::fputs("\n\nAre you sure you wish to execute this command?\nIf so, type \"Yes\" (Note: case sensititve) ",
               OutFile);
    std::fflush(OutFile);
    if (ss_are_you_sure_lower() == 0) return 0;
    std::fputs("\nCommand aborted\n", OutFile);
    return 1;
}
