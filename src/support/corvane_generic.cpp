#include "corvane_generic.h"

#include <cstdio>

#include "corvane_catalogue.h"
#include "corvane_confirm.h"
#include "corvane_dispatch.h"
#include "corvane_envelope.h"
#include "corvane_exchange.h"
#include "corvane_kinds.h"
#include "corvane_sentence.h"
#include "corvane_token.h"
#include "corvane_token_scan.h"

namespace {

// Deleting is refused (safe delete) or confirmed at the keyboard (otherwise)
// while the object still holds what the delete would destroy.
int guard_destruction(const char* refusal, const char* warning) {
    if (safe_delete) {
        std::fputs(refusal, OutFile);
        return 1;
    }
    if (input_source == input_keyboard && ss_are_you_sure(warning) != 0) return 1;
    return 0;
}

int system_may_be_deleted(_parseblk* pb) {
    if (ss_object_update(pb, kind_vdisk) != 0) return 1;
    if (!ss_find_object(pb, kind_vdisk)) return 0;
    return guard_destruction(
        "\nError: Cannot delete system when Vdisks are still present.\n       Delete all storage on this cell first",
        "\nThis command will destroy all customer data and delete all configuration\n"
        "information (GROUPS, STORAGE, HOSTS and LUNs) on this cell!");
}

int vdisk_may_be_deleted(_parseblk* pb, _object_info* vdisk) {
    session_state* s = pb->state;
    if (ss_get_object(pb, kind_vdisk, vdisk->id) != 0) return 1;
    const char* lun = scan_for_token_count(s->tokens, "Lun", 1);
    int result = 0;
    if (lun && *lun)
        result = guard_destruction(
            "\nError: Cannot delete Vdisks when LUNs are still present.\n       Delete all LUNS associated with this STORAGE first",
            "\nThis command will also delete all LUNs associated with this storage!");
    ss_deallocate_tokens(s->tokens);
    s->tokens = nullptr;
    return result;
}

// Builds the request for one object and sends it; the command's own queued
// sentences travel in the same request.
int send_object_request(_parseblk* pb, int kind, _object_info* object, bool deleting) {
    session_state* s = pb->state;
    if (kind == kind_dr_group) {
        // Plain queue operations prepend: a delete writes scellid, objectid,
        // objecttype; a set writes objectid before the group's own sentences.
        if (deleting) ss_replace_soap_sentence(pb, "objecttype", fenn_objects[kind]);
        ss_replace_soap_sentence(pb, "objectid", object->id);
        if (deleting) ss_replace_soap_sentence(pb, "scellid", s->cell_id);
        ss_soap_header_V3(pb, deleting ? "deleteobject" : "setproperties");
        ss_write_soap_sentences_V3(pb);
        ss_soap_trailer_V3(pb);
    } else {
        ss_soap_header(pb, deleting ? "Delete" : "Set", fenn_objects[kind]);
        if (kind != kind_system) ss_replace_soap_sentence(pb, "ElementID", s->cell_id);
        ss_replace_soap_sentence(pb, "ID", object->id);
        ss_write_soap_sentences(pb);
        ss_soap_trailer(pb);
    }
    if (ss_exchange_and_tokenize(pb) != 0) return 1;
    return ss_check_success_fail(pb);
}

}  // namespace

int ss_delete_object(_parseblk* pb, int kind) {
    session_state* s = pb->state;
    if (!s->object_name) return ss_incomplete_command(pb);
    _object_info* object = ss_object_update_and_find(pb, kind, s->object_name);
    if (!object) return 1;
    if (kind == kind_system && system_may_be_deleted(pb) != 0) return 1;
    if (kind == kind_vdisk && vdisk_may_be_deleted(pb, object) != 0) return 1;
    return send_object_request(pb, kind, object, true);
}

int ss_check_new_name(_parseblk* pb) {
    const char* name = pb->state->object_name;
    return name && *name ? 0 : ss_incomplete_command(pb);
}

int ss_queue_object_id(_parseblk* pb, int kind, const char* name, const char* sentence) {
    _object_info* object = ss_object_update_and_find(pb, kind, name);
    if (!object) return 1;
    ss_replace_soap_sentence(pb, sentence, object->id);
    return 0;
}

int ss_send_cell_request(_parseblk* pb, const char* operation, const char* type) {
    ss_soap_header(pb, operation, type);
    ss_replace_soap_sentence(pb, "ElementID", pb->state->cell_id);
    ss_write_soap_sentences(pb);
    ss_soap_trailer(pb);
    if (ss_exchange_and_tokenize(pb) != 0) return 1;
    return ss_check_success_fail(pb);
}

int ss_set_object(_parseblk* pb, int kind) {
    session_state* s = pb->state;
    if (!s->object_name) return ss_incomplete_command(pb);
    _object_info* object = ss_object_update_and_find(pb, kind, s->object_name);
    if (!object) return 1;
    return send_object_request(pb, kind, object, false);
}
