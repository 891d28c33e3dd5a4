#include "corvane_configuration.h"

#include <cstdio>

#include "corvane_capture_script.h"
#include "corvane_capture_steps.h"
#include "corvane_names.h"

int ss_capture_all(_parseblk* pb) {
    pb->state->dispatch = ss_capture_all_dispatch;
    return 0;
}

int ss_capture_configuration_file(_parseblk* pb) {
    return ss_validate_and_copy_name(pb, &pb->state->capture_file_name);
}

int ss_capture_validation_file(_parseblk* pb) {
    session_state* s = pb->state;
    ss_validate_and_copy_name(pb, &s->capture_file_name);
    s->dispatch = ss_validate_configuration_dispatch;
    return 0;
}

int ss_capture_all_dispatch(_parseblk* pb) {
    session_state* s = pb->state;
    if (s->capture_file_name) {
        ss_set_capture_extension(s);
        if (check_for_overwrite(pb) != 0) return 1;
    }
    std::fputs("\n    CAPTURE CONFIGURATION may take awhile.  Do not modify configuration\n    until command is "
               "complete.\n\n",
               OutFile);
    ss_take_capture_time();
    for (int step = 0; step < ss_capture_step_count; ++step) {
        dot_count = 0;
        if (restore_steps[step](pb, step) != 0) return 1;
    }
    return 0;
}
