#include "corvane_manager.h"

#include <cstdio>
#include <string>

#include "corvane_catalogue.h"
#include "corvane_memory.h"
#include "corvane_names.h"
#include "corvane_selection.h"

namespace {
constexpr char default_manager_port[] = ":12301";
}  // namespace

int ss_select_manager_name(_parseblk* pb) {
    ss_validate_and_copy_name(pb, &pb->state->object_name);
    pb->state->dispatch = ss_select_manager_dispatch;
    return 0;
}

int ss_select_manager_username(_parseblk* pb) {
    ss_validate_and_copy_name(pb, &pb->state->user_name);
    return 0;
}

int ss_select_manager_password(_parseblk* pb) {
    ss_validate_and_copy_name(pb, &pb->state->user_password);
    return 0;
}

int ss_show_manager(_parseblk* pb) {
    pb->state->dispatch = ss_show_manager_dispatch;
    return 0;
}

int ss_select_manager_dispatch(_parseblk* pb) {
    session_state* s = pb->state;
    if (!s->user_name) {
        std::fputs("\nError: Username must be specified on SELECT MANAGER", OutFile);
        return 1;
    }
    if (!s->user_password) {
        std::fputs("\nError: Password must be specified on SELECT MANAGER", OutFile);
        return 1;
    }
    ss_no_manager_selected(pb);
    ss_no_cell_selected(pb);
    std::string name = s->object_name ? s->object_name : "";
    if (name.find(':') == std::string::npos) name += default_manager_port;
    s->manager_name = ss_copy_string(name.c_str());
    return 0;
}

int ss_show_manager_dispatch(_parseblk* pb) {
    session_state* s = pb->state;
    if (ss_check_manager_set(pb) != 0) return 1;
    std::fprintf(OutFile, "\nManager IP address %s", s->manager_name);
    if (s->user_name)
        std::fprintf(OutFile, "\nUsername: %s, %spassword specified", s->user_name, s->user_password ? "" : "no ");
    else
        std::fputs("\nNo username or password specified", OutFile);
    return 0;
}
