#include "corvane_drm.h"

#include <cstdio>

#include "corvane_catalogue.h"
#include "corvane_kinds.h"
#include "corvane_names.h"
#include "corvane_sentence.h"

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
