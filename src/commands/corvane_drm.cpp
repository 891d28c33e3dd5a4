#include "corvane_drm.h"

#include <cstdio>
#include <utility>

#include "corvane_catalogue.h"
#include "corvane_envelope.h"
#include "corvane_exchange.h"
#include "corvane_generic.h"
#include "corvane_kinds.h"
#include "corvane_memory.h"
#include "corvane_names.h"
#include "corvane_sentence.h"
#include "corvane_storage.h"
#include "corvane_token.h"
#include "corvane_token_scan.h"

const char* const drm_create_tags[] = {
    "scellid",     "objectid",      "objecttype",            "objectname",
    "destscellid", "virtualdiskid", "remotevirtualdiskname", "destdiskgroupid",
    "drmmode",     "drcomments",    "",
};

const char ss_default_folder_id[] = "0808080808080808080808080808080808080808";
const char ss_empty_disk_group_id[] = "0000000000000000000000000000000000000000";

namespace {
int queue(_parseblk* pb, const char* name, const char* value) {
    ss_replace_soap_sentence_V3(pb, name, value);
    return 0;
}

// A member change is sent as a change of the member virtual disk: what the
// group command queued so far does not belong in that request.
void discard_sentences(session_state* s) {
    ss_deallocate_soap_sentences(s->sentences);
    s->sentences = nullptr;
}

int must_be_specified(const char* word) {
    std::fprintf(OutFile, "\nError: %s must be specified", word);
    return 1;
}

const char ss_module[] = "corvane_drm";

// Resolves a disk group of another system: the selected system is that one
// for the lookup only, and is the selected one again afterwards, whatever
// the lookup's outcome. Queues `sentence` (plain or version 3) on success.
int queue_remote_group(_parseblk* pb, const char* system_id, const char* group, bool v3) {
    session_state* s = pb->state;
    char* selected = s->cell_id;
    s->cell_id = ss_copy_string(system_id);
    _object_info* found = ss_object_update_and_find(pb, kind_disk_group, group);
    char* id = found ? ss_copy_string(found->id) : nullptr;
    ss_deallocate_mem(s->cell_id, ss_module, __LINE__);
    s->cell_id = selected;
    if (!id) return 1;
    if (v3)
        ss_replace_soap_sentence_V3(pb, "destdiskgroupid", id);
    else
        ss_replace_soap_sentence(pb, "destdiskgroupid", id);
    ss_deallocate_mem(id, ss_module, __LINE__);
    return 0;
}

// Reads the group into `tokens`; the caller releases them.
int read_group(_parseblk* pb, const _object_info* group) { return ss_get_object(pb, kind_dr_group, group->id); }

void release_tokens(session_state* s) {
    ss_deallocate_tokens(s->tokens);
    s->tokens = nullptr;
}

// Adding a member: the group to join, and the disk group its copy goes to on
// the group's destination system (the first scellid of the group's reply).
int queue_member_addition(_parseblk* pb, const _object_info* group) {
    session_state* s = pb->state;
    ss_replace_soap_sentence(pb, "destdiskgroupid", ss_empty_disk_group_id);
    ss_replace_soap_sentence(pb, "addtogroupid", group->id);
    if (!s->dr_disk_group_name) return 0;
    if (read_group(pb, group) != 0) return 1;
    const char* destination = nullptr;
    int result = scan_required_token(&destination, s->tokens, "scellid", 1);
    char* system_id = result == 0 ? ss_copy_string(destination) : nullptr;
    release_tokens(s);
    if (result != 0) return 1;
    result = queue_remote_group(pb, system_id, s->dr_disk_group_name, false);
    ss_deallocate_mem(system_id, ss_module, __LINE__);
    return result;
}

// Deleting or detaching: only a member of the group (the group's own name is
// its first objectname, its members follow).
int check_membership(_parseblk* pb, const _object_info* group) {
    session_state* s = pb->state;
    if (read_group(pb, group) != 0) return 1;
    bool member = scan_for_token_value(s->tokens, "objectname", s->object_name);
    release_tokens(s);
    if (member) return 0;
    std::fprintf(OutFile, "\nError: %s not a member of %s", s->object_name, s->vdisk_name);
    return 1;
}
}  // namespace

void ss_setup_tag_list(_parseblk* pb, const char* const* tags) {
    for (; **tags; ++tags) ss_replace_soap_sentence_V3(pb, *tags, "");
}

int ss_add_dr_group_defaults(_parseblk* pb) {
    ss_setup_tag_list(pb, drm_create_tags);
    queue(pb, "objectid", ss_default_folder_id);
    queue(pb, "objecttype", "drmgroup");
    queue(pb, "destdiskgroupid", ss_empty_disk_group_id);
    queue(pb, "drmmode", "source");
    pb->state->dispatch = ss_add_dr_group_dispatch;
    return 0;
}

int ss_set_dr_group(_parseblk* pb) {
    queue(pb, "scellid", "");
    queue(pb, "objectid", "");
    queue(pb, "objecttype", "drmgroup");
    pb->state->dispatch = ss_set_dr_group_dispatch;
    return 0;
}

int ss_show_dr_group(_parseblk* pb) {
    pb->state->dispatch = ss_show_dr_group_dispatch;
    return 0;
}

int ss_delete_dr_group(_parseblk* pb) {
    pb->state->dispatch = ss_delete_dr_group_dispatch;
    return 0;
}

int ss_add_dr_group_dispatch(_parseblk* pb) {
    session_state* s = pb->state;
    if (ss_check_new_name(pb) != 0 || ss_check_cell_set(pb) != 0) return 1;
    if (s->folder_name) {
        _object_info* folder = ss_object_update_and_find(pb, kind_folder, s->folder_name);
        if (!folder) return 1;
        queue(pb, "objectid", folder->id);
    }
    if (!s->vdisk_name) return must_be_specified("VDISK");
    _object_info* vdisk = ss_object_update_and_find(pb, kind_vdisk, s->vdisk_name);
    if (!vdisk) return 1;
    queue(pb, "virtualdiskid", vdisk->id);
    if (!s->dr_destination_name) return must_be_specified("DESTINATION_SYSTEM");
    _object_info* destination = ss_object_update_and_find(pb, kind_system, s->dr_destination_name);
    if (!destination) return 1;
    queue(pb, "destscellid", destination->id);
    if (s->dr_disk_group_name && queue_remote_group(pb, destination->id, s->dr_disk_group_name, true) != 0)
        return 1;
    ss_soap_header_V3(pb, "createobject");
    queue(pb, "scellid", s->cell_id);
    queue(pb, "objecttype", "drmgroup");
    ss_write_soap_sentences_V3(pb);
    ss_soap_trailer_V3(pb);
    if (ss_exchange_and_tokenize(pb) != 0) return 1;
    return ss_check_success_fail(pb);
}

// A group property is a change of the group; a member added, deleted or
// detached is a change of the member virtual disk.
int ss_set_dr_group_dispatch(_parseblk* pb) {
    session_state* s = pb->state;
    if (ss_check_cell_set(pb) != 0) return 1;
    queue(pb, "scellid", s->cell_id);
    if (!s->vdisk_name) return ss_set_object(pb, kind_dr_group);
    std::swap(s->object_name, s->vdisk_name);
    _object_info* group = ss_object_update_and_find(pb, kind_dr_group, s->vdisk_name ? s->vdisk_name : "");
    if (!group) return 1;
    int result = s->dr_storage_added ? queue_member_addition(pb, group) : check_membership(pb, group);
    if (result != 0) return 1;
    return ss_set_storage_dispatch(pb);
}

int ss_delete_dr_group_dispatch(_parseblk* pb) { return ss_delete_object(pb, kind_dr_group); }
int ss_show_dr_group_dispatch(_parseblk* pb) { return ss_generic_show(pb, kind_dr_group); }

// Option words.

int ss_drcomment_V3(_parseblk* pb) {
    if (pb->string_length > ss_max_comment_length) {
        std::fprintf(OutFile, "\nError: Comment too long, limit %u characters", ss_max_comment_length);
        return 1;
    }
    ss_replace_soap_sentence_count_V3(pb, "drcomments", pb->string_value, pb->string_length);
    return ss_valid_chars(pb, pb->string_value, pb->string_length, "comments");
}

int ss_add_disk_group_name_V3(_parseblk* pb) {
    return ss_validate_and_copy_name(pb, &pb->state->dr_disk_group_name);
}

int ss_add_remote_disk_name(_parseblk* pb) {
    ss_replace_soap_sentence_count_V3(pb, "remotevirtualdiskname", pb->string_value, pb->string_length);
    return 0;
}

int ss_add_operation_async(_parseblk* pb) { return queue(pb, "writemode", "asynchronous"); }
int ss_add_operation_sync(_parseblk* pb) { return queue(pb, "writemode", "synchronous"); }

int ss_set_dr_group_access_read_only(_parseblk* pb) { return queue(pb, "accessmode", "readonly"); }
int ss_set_dr_group_noaccess(_parseblk* pb) { return queue(pb, "accessmode", "disable"); }

int ss_set_dr_group_failover(_parseblk* pb) { return queue(pb, "sitefailover", ""); }
int ss_set_dr_group_failsafe(_parseblk* pb) { return queue(pb, "failsafe", "enable"); }
int ss_set_dr_group_nofailsafe(_parseblk* pb) { return queue(pb, "failsafe", "disable"); }
int ss_set_dr_group_suspend(_parseblk* pb) { return queue(pb, "suspend", "suspend"); }
int ss_set_dr_group_nosuspend(_parseblk* pb) { return queue(pb, "suspend", "resume"); }

int ss_add_storage_to_dr(_parseblk* pb) {
    discard_sentences(pb->state);
    pb->state->dr_storage_added = 1;
    return 0;
}

int ss_delete_storage_from_dr(_parseblk* pb) {
    discard_sentences(pb->state);
    ss_replace_soap_sentence(pb, "removefromdrgroup", "delete");
    return 0;
}

int ss_detach_storage_from_dr(_parseblk* pb) {
    discard_sentences(pb->state);
    ss_replace_soap_sentence(pb, "removefromdrgroup", "detach");
    return 0;
}
