#include "corvane_cell.h"

#include <cstdio>
#include <cstring>

#include "corvane_catalogue.h"
#include "corvane_envelope.h"
#include "corvane_exchange.h"
#include "corvane_generic.h"
#include "corvane_kinds.h"
#include "corvane_memory.h"
#include "corvane_names.h"
#include "corvane_option_values.h"
#include "corvane_selection.h"
#include "corvane_sentence.h"

namespace {
const char ss_module[] = "corvane_cell";

bool names_selected_system(const session_state* s) {
    return s->object_name && s->cell_name && std::strcmp(s->object_name, s->cell_name) == 0;
}
}  // namespace

int ss_select_cell_name(_parseblk* pb) {
    session_state* s = pb->state;
    ss_validate_and_copy_name(pb, &s->object_name);
    s->dispatch = ss_select_cell_dispatch;
    return 0;
}

int ss_show_cell(_parseblk* pb) {
    pb->state->dispatch = ss_show_cell_dispatch;
    return 0;
}

int ss_add_cell_defaults(_parseblk* pb) {
    pb->state->dispatch = ss_add_cell_dispatch;
    return 0;
}

int ss_add_cell_name(_parseblk* pb) {
    ss_replace_soap_sentence_count(pb, "Name", pb->string_value, pb->string_length);
    return ss_valid_characters(pb, pb->string_value, pb->string_length);
}

int ss_add_cell_DeviceCount(_parseblk* pb) {
    ss_queue_decimal(pb, "DeviceCount", pb->number);
    return 0;
}

int ss_add_cell_disktype_nearonline(_parseblk* pb) {
    ss_replace_soap_sentence(pb, "scdisktype", "Near-Online");
    return 0;
}

int ss_add_cell_disktype_online(_parseblk* pb) {
    ss_replace_soap_sentence(pb, "scdisktype", "Online");
    return 0;
}

// The spare policies serve ADD SYSTEM and ADD and SET DISK_GROUP alike.
int ss_add_cell_SparePolicy_none(_parseblk* pb) {
    ss_replace_soap_sentence(pb, "SparePolicy", "None");
    return 0;
}

int ss_add_cell_SparePolicy_single(_parseblk* pb) {
    ss_replace_soap_sentence(pb, "SparePolicy", "Single");
    return 0;
}

int ss_add_cell_SparePolicy_double(_parseblk* pb) {
    ss_replace_soap_sentence(pb, "SparePolicy", "Double");
    return 0;
}

int ss_set_cell(_parseblk* pb) {
    pb->state->dispatch = ss_set_cell_dispatch;
    return 0;
}

int ss_delete_cell(_parseblk* pb) {
    pb->state->dispatch = ss_delete_cell_dispatch;
    return 0;
}

int ss_select_cell_dispatch(_parseblk* pb) {
    session_state* s = pb->state;
    _object_info* system = ss_object_update_and_find(pb, kind_system, s->object_name ? s->object_name : "");
    if (!system) return 1;
    char* name = ss_copy_string(s->object_name);
    char* id = ss_copy_string(system->id);
    ss_no_cell_selected(pb);
    s->cell_name = name;
    s->cell_id = id;
    return 0;
}

int ss_show_cell_dispatch(_parseblk* pb) { return ss_generic_show(pb, kind_system); }

int ss_set_cell_dispatch(_parseblk* pb) {
    session_state* s = pb->state;
    if (ss_set_object(pb, kind_system) != 0) return 1;
    // Only a rename the server accepted renames the selection (and the prompt).
    if ((s->command_flags & request_succeeded) && s->cell_id && s->new_name && names_selected_system(s)) {
        ss_deallocate_mem(s->cell_name, ss_module, __LINE__);
        s->cell_name = ss_copy_string(s->new_name);
        ss_release_objects(pb, kind_system);
    }
    return 0;
}

int ss_add_cell_dispatch(_parseblk* pb) {
    session_state* s = pb->state;
    if (ss_check_cell_set(pb) != 0) return 1;
    ss_soap_header(pb, "Create", fenn_objects[kind_system]);
    ss_replace_soap_sentence(pb, "ID", s->cell_id);
    ss_write_soap_sentences(pb);
    ss_soap_trailer(pb);
    if (ss_exchange_and_tokenize(pb) != 0 || ss_check_success_fail(pb) != 0) return 1;
    if (s->command_flags & request_succeeded) ss_no_cell_selected(pb);
    return 0;
}

int ss_delete_cell_dispatch(_parseblk* pb) {
    session_state* s = pb->state;
    if (!s->cell_id || !names_selected_system(s)) {
        std::fputs("\nError: Only the selected system may be deleted", OutFile);
        return 1;
    }
    if (ss_delete_object(pb, kind_system) != 0) return 1;
    if (s->command_flags & request_succeeded) {
        ss_no_cell_selected(pb);
        ss_release_objects(pb, kind_system);
    }
    return 0;
}
