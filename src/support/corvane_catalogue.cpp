#include "corvane_catalogue.h"

#include <cstdio>
#include <cstring>

#include "corvane_display.h"
#include "corvane_envelope.h"
#include "corvane_exchange.h"
#include "corvane_kinds.h"
#include "corvane_sentence.h"
#include "corvane_token.h"

int ss_check_manager_set(_parseblk* pb) {
    if (pb->state->manager_name) return 0;
    std::fputs("\nError: Command not valid until a manager is selected (SELECT MANAGER)", OutFile);
    return 1;
}

int ss_check_cell_set(_parseblk* pb) {
    if (ss_check_manager_set(pb) != 0) return 1;
    if (pb->state->cell_id) return 0;
    std::fputs("\nError: Command not valid until a system is selected (SELECT SYSTEM)", OutFile);
    return 1;
}

int ss_get_object(_parseblk* pb, int kind, const char* id) {
    if ((kind == kind_system ? ss_check_manager_set(pb) : ss_check_cell_set(pb)) != 0) return 1;
    session_state* s = pb->state;
    // The command's own queued sentences wait while this lookup is built.
    _soap_sent_info* saved = s->sentences;
    s->sentences = nullptr;
    if ((kind == kind_dr_group || kind == kind_vdisk) && *id) {
        ss_replace_soap_sentence(pb, "objecttype", kind == kind_vdisk ? "virtualdisk" : fenn_objects[kind]);
        ss_replace_soap_sentence(pb, "objectid", id);
        ss_replace_soap_sentence(pb, "scellid", s->cell_id);
        ss_soap_header_V3(pb, "getproperties");
        ss_write_soap_sentences_V3(pb);
        ss_soap_trailer_V3(pb);
    } else {
        // Queued after the header, so they are written first: ID, ElementID, credentials, Type.
        ss_soap_header(pb, "Get", fenn_objects[kind]);
        if (kind != kind_system) ss_replace_soap_sentence(pb, "ElementID", s->cell_id);
        ss_replace_soap_sentence(pb, "ID", id);
        ss_write_soap_sentences(pb);
        ss_soap_trailer(pb);
    }
    s->sentences = saved;
    if (ss_exchange_and_tokenize(pb) != 0) return 1;
    return ss_test_for_soap_failure(pb);
}

int ss_tokens_to_objects(_parseblk* pb, int kind) {
    ss_release_objects(pb, kind);
    _token_info* root = pb->state->tokens;
    if (!root) return 0;
    ss_object_appender appender(pb, kind);
    for (_token_info* row = root->sub; row; row = row->sub) {
        const char* name = nullptr;
        const char* id = nullptr;
        for (_token_info* item = row->next; item; item = item->next) {
            if (!item->name) continue;
            if (!std::strcmp(item->name, "Name") || !std::strcmp(item->name, "ElementName")) name = item->value;
            if (!std::strcmp(item->name, "ID") || !std::strcmp(item->name, "ElementID")) id = item->value;
        }
        if (!name || !id) {
            std::fprintf(OutFile, "\nError: Name \"%s\" and/or Id \"%s\" not found in token list", "Name", "ID");
            ss_soap_print_tokens(pb, root);
            return 1;
        }
        appender.add(name, id);
    }
    // A list without rows is an empty list only when the reply says how the
    // read went; otherwise nothing of the list was there to read.
    if (!root->sub && !ss_reply_holds_outcome(root)) {
        std::fputs(ss_reply_unreadable_message, OutFile);
        return 1;
    }
    return 0;
}

int ss_object_update(_parseblk* pb, int kind) {
    session_state* s = pb->state;
    int result = ss_get_object(pb, kind, "");
    if (result == 0) result = ss_tokens_to_objects(pb, kind);
    ss_deallocate_tokens(s->tokens);
    s->tokens = nullptr;
    return result;
}

_object_info* ss_object_update_and_find(_parseblk* pb, int kind, const char* name) {
    if (ss_object_update(pb, kind) != 0) return nullptr;
    return ss_find_object_id_error(pb, kind, name);
}

int ss_show_one_object(_parseblk* pb, _object_info* entry) {
    if (ss_get_object(pb, entry->kind, entry->id) != 0) return 1;
    std::fprintf(OutFile, "\n%s information:", entry->name);
    ss_soap_print_tokens(pb, pb->state->tokens);
    return 0;
}

int ss_print_list_of_objects(_parseblk* pb, int kind) {
    bool any = false;
    bool full = pb->state->command_flags & show_full;
    for (_object_info* entry = pb->state->object_list; entry; entry = entry->next) {
        if (entry->kind != kind) continue;
        any = true;
        if (!full) {
            std::fprintf(OutFile, "\n  %s", entry->name);
            continue;
        }
        if (ss_show_one_object(pb, entry) != 0) return 1;
        if (entry->next) std::fputs("\n", OutFile);
    }
    return any ? 0 : 1;
}

int ss_generic_show(_parseblk* pb, int kind) {
    session_state* s = pb->state;
    if (ss_object_update(pb, kind) != 0) return 1;
    if (s->object_name) {
        _object_info* entry = ss_find_object_id_error(pb, kind, s->object_name);
        if (!entry) return 1;
        return ss_show_one_object(pb, entry);
    }
    std::fprintf(OutFile, kind == kind_system ? "\n%s available on this Manager:" : "\n%s available on this Cell:",
                 objects[kind]);
    if (ss_print_list_of_objects(pb, kind) == 0) return 0;
    // A full listing that failed half-way has printed its error: the command failed.
    if (ss_find_object(pb, kind)) return 1;
    std::fprintf(OutFile, "\n  No %s found", objects[kind]);
    return 0;
}
