#include "corvane_host.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "corvane_catalogue.h"
#include "corvane_convert.h"
#include "corvane_generic.h"
#include "corvane_kinds.h"
#include "corvane_sentence.h"

namespace {
// A custom mode is a mask of up to 64 bits: two 32-bit words.
constexpr int custom_mask_words = 2;
// "CUSTOM=" and the mask as typed must fit the mode's 2048-character text.
constexpr size_t custom_mode_size = 2048;

int queue(_parseblk* pb, const char* name, const char* value) {
    ss_replace_soap_sentence(pb, name, value);
    return 0;
}

int queue_mode(_parseblk* pb, const char* mode) { return queue(pb, "StorageClientMode", mode); }
}  // namespace

// The default mode goes first, so that OPERATING_SYSTEM replaces it in place.
int ss_add_host_defaults(_parseblk* pb) {
    pb->state->dispatch = ss_add_host_dispatch;
    return queue_mode(pb, "0");
}

int ss_set_host(_parseblk* pb) {
    pb->state->dispatch = ss_set_host_dispatch;
    return 0;
}

int ss_show_host(_parseblk* pb) {
    pb->state->dispatch = ss_show_host_dispatch;
    return 0;
}

int ss_delete_host(_parseblk* pb) {
    pb->state->dispatch = ss_delete_host_dispatch;
    return 0;
}

int ss_show_world_wide_name(_parseblk* pb) {
    pb->state->dispatch = ss_show_world_wide_name_dispatch;
    return 0;
}

int ss_add_host_dispatch(_parseblk* pb) {
    session_state* s = pb->state;
    if (ss_check_new_name(pb) != 0 || ss_check_cell_set(pb) != 0) return 1;
    if (s->folder_name && ss_queue_object_id(pb, kind_folder, s->folder_name, "FolderID") != 0) return 1;
    return ss_send_cell_request(pb, "Create", fenn_objects[kind_host]);
}

int ss_set_host_dispatch(_parseblk* pb) { return ss_set_object(pb, kind_host); }
int ss_delete_host_dispatch(_parseblk* pb) { return ss_delete_object(pb, kind_host); }
int ss_show_host_dispatch(_parseblk* pb) { return ss_generic_show(pb, kind_host); }
int ss_show_world_wide_name_dispatch(_parseblk* pb) { return ss_generic_show(pb, kind_world_wide_name); }

// Option words. Addresses and world wide names go out as typed: the server
// owns their rules.

int ss_add_ip_addr(_parseblk* pb) {
    ss_replace_soap_sentence_count(pb, "StorageClientIP", pb->string_value, pb->string_length);
    return 0;
}

int ss_set_host_ip(_parseblk* pb) { return ss_add_ip_addr(pb); }

int ss_host_wwn(_parseblk* pb) {
    ss_add_soap_sentence_count(pb, "StorageClientAdapterID", pb->string_value, pb->string_length);
    return 0;
}

int ss_set_host_add_wwn(_parseblk* pb) { return queue(pb, "Operation", "addAdapterID"); }
int ss_set_host_delete_wwn(_parseblk* pb) { return queue(pb, "Operation", "deleteAdapterID"); }

// The mask must read as hexadecimal that fits the mode's 64 bits; it is sent
// as typed, separators included.
int ss_host_os_custom(_parseblk* pb) {
    std::string mask(pb->string_value, pb->string_length);
    uint32_t words[custom_mask_words];
    if (mask.size() >= custom_mode_size - std::strlen("CUSTOM=") ||
        cvt_atox(mask.c_str(), words, custom_mask_words) != 0) {
        std::fputs("\nError: Custom OS mask illegal", OutFile);
        return 1;
    }
    return queue_mode(pb, ("CUSTOM=" + mask).c_str());
}

int ss_host_os_korux(_parseblk* pb) { return queue_mode(pb, "KORUX"); }
int ss_host_os_ibmaix(_parseblk* pb) { return queue_mode(pb, "IBMAIX"); }
int ss_host_os_raven(_parseblk* pb) { return queue_mode(pb, "RAVEN_OS"); }
int ss_host_os_sun_unix(_parseblk* pb) { return queue_mode(pb, "SOLARIS"); }
int ss_host_os_qanto_unix(_parseblk* pb) { return queue_mode(pb, "QANTO"); }
int ss_host_os_unknown(_parseblk* pb) { return queue_mode(pb, "UNKNOWN"); }
int ss_host_os_winnt(_parseblk* pb) { return queue_mode(pb, "WINDOWS"); }
