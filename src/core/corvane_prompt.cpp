#include "corvane_prompt.h"

#include <cstdio>

const char* ss_prompt_name(const _parseblk* pb) {
    const session_state* s = pb->state;
    if (s->session_flags & (regression_create | regression_test)) return "RegressionTest";
    if (s->cell_name) return s->cell_name;
    return "NoSystemSelected";
}

void ss_print_caret(int column) { std::fprintf(OutFile, "%*s^", column, ""); }
