#include "corvane_configuration.h"

#include "corvane_memory.h"

namespace {
const char ss_module[] = "corvane_configuration";
}

int ss_capture_all(_parseblk* pb) {
    pb->state->dispatch = ss_capture_all_dispatch;
    return 0;
}

int ss_capture_validation_file(_parseblk* pb) {
    session_state* s = pb->state;
    ss_deallocate_mem(s->capture_file_name, ss_module, __LINE__);
    s->capture_file_name = ss_copy_count(pb->string_value, pb->string_length);
    s->dispatch = ss_validate_configuration_dispatch;
    return 0;
}
