#include "corvane_regression.h"

#include <cstdio>

namespace {
// Recording and replay never nest: one reference file at a time.
int refuse_when_running(_parseblk* pb, ss_routine dispatch) {
    if (pb->state->session_flags & (regression_create | regression_test)) {
        std::fputs("\nError: Regression in some form is already running", stdout);
        return 1;
    }
    pb->state->dispatch = dispatch;
    return 0;
}
}  // namespace

int ss_ar_reg_create(_parseblk* pb) { return refuse_when_running(pb, ss_dr_reg_create); }

int ss_ar_reg_create_exit(_parseblk* pb) {
    pb->state->dispatch = ss_dr_reg_create_exit;
    return 0;
}

int ss_ar_reg_filename(_parseblk* pb) { return refuse_when_running(pb, ss_dr_reg_filename); }
