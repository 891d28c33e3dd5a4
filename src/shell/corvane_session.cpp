#include "corvane_session.h"

#include <cstring>
#include <initializer_list>

#include "corvane_command_hook.h"
#include "corvane_display.h"
#include "corvane_dispatch.h"
#include "corvane_exchange.h"
#include "corvane_memory.h"
#include "corvane_loop.h"
#include "corvane_object.h"
#include "corvane_regression.h"

namespace {
const char ss_module[] = "corvane_session";

void release_working(_parseblk* pb) {
    if (!pb || !pb->state) return;
    session_state* s = pb->state;
    for (char** text : {&s->object_name, &s->new_name, &s->host_name, &s->vdisk_name,
                        &s->dr_disk_group_name, &s->folder_name, &s->remove_disk_name,
                        &s->dr_destination_name, &s->source_name, &s->label_path,
                        &s->storage_group_name, &s->capture_file_name})
        ss_release_text(*text);
    ss_release_request_mem(pb);
}
}  // namespace

_parseblk* ss_session_create() {
    ss_leak_init();
    max_line_width = 80;
    minutes_to_retry = 4;
    command_delay = 10;
    safe_delete = 1;
    input_source = input_none;

    auto* pb = static_cast<_parseblk*>(ss_allocate_mem(sizeof(_parseblk), ss_module, __LINE__));
    pb->state = static_cast<session_state*>(ss_allocate_mem(sizeof(session_state), ss_module, __LINE__));
    pb->state->fenn_flags = static_cast<char*>(ss_allocate_mem(1, ss_module, __LINE__));
    GLOBAL_PARSEBLOCK = pb;
    ss_set_display_ignore(ss_reg_ignore_token);
    ss_set_command_runner(ss_parse_command);
    return pb;
}

void ss_session_begin_command(_parseblk* pb) {
    session_state* s = pb->state;
    std::memset(reinterpret_cast<char*>(s) + ss_working_state_offset, 0,
                sizeof(session_state) - ss_working_state_offset);
    s->dispatch = ss_incomplete_command;
    s->label_path = static_cast<char*>(ss_allocate_mem(1, ss_module, __LINE__));
}

void ss_release_working_mem() { release_working(GLOBAL_PARSEBLOCK); }

void ss_session_destroy(_parseblk* pb) {
    if (pb && pb->state) {
        session_state* s = pb->state;
        release_working(pb);
        for (char** text : {&s->manager_name, &s->cell_name, &s->cell_id, &s->user_name,
                            &s->user_password, &s->fenn_flags})
            ss_release_text(*text);
        ss_release_objects(pb, 0);
        ss_deallocate_mem(s, ss_module, __LINE__);
    }
    ss_deallocate_mem(pb, ss_module, __LINE__);
    if (GLOBAL_PARSEBLOCK == pb) GLOBAL_PARSEBLOCK = nullptr;
    ss_leak_test();
}
