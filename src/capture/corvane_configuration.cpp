#include "corvane_configuration.h"

#include "corvane_names.h"

int ss_capture_all(_parseblk* pb) {
    pb->state->dispatch = ss_capture_all_dispatch;
    return 0;
}

int ss_capture_validation_file(_parseblk* pb) {
    session_state* s = pb->state;
    ss_validate_and_copy_name(pb, &s->capture_file_name);
    s->dispatch = ss_validate_configuration_dispatch;
    return 0;
}
