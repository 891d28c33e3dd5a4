#include "corvane_folder_names.h"

#include "corvane_memory.h"
#include "corvane_names.h"
#include "corvane_sentence.h"

namespace {
const char ss_module[] = "corvane_folder_names";
}  // namespace

int ss_save_name_and_folder(_parseblk* pb, char** field, const char* sentence) {
    session_state* s = pb->state;
    const char* value = pb->string_value;
    uint32_t length = pb->string_length;
    uint32_t name_start = 0;
    for (uint32_t i = length; i > 0; --i) {
        if (value[i - 1] == '\\') {
            name_start = i;
            break;
        }
    }
    if (name_start > 1) {
        ss_deallocate_mem(s->folder_name, ss_module, __LINE__);
        s->folder_name = ss_copy_count(value, name_start);
    }
    const char* name = value + name_start;
    uint32_t name_length = length - name_start;
    ss_deallocate_mem(*field, ss_module, __LINE__);
    *field = ss_copy_count(name, name_length);
    ss_replace_soap_sentence(pb, sentence, *field);
    return ss_valid_characters(pb, name, name_length);
}

int ss_add_object_name_and_folder(_parseblk* pb) {
    return ss_save_name_and_folder(pb, &pb->state->object_name, "Name");
}

int ss_add_copy_name_and_folder(_parseblk* pb) {
    return ss_save_name_and_folder(pb, &pb->state->object_name, "Name");
}

int ss_add_object_name_and_folder_V3(_parseblk* pb) {
    return ss_save_name_and_folder(pb, &pb->state->object_name, "objectname");
}

int ss_add_destination_name_and_folder_V3(_parseblk* pb) {
    return ss_validate_and_copy_name(pb, &pb->state->dr_destination_name);
}

int ss_add_vdisk_name_and_folder_V3(_parseblk* pb) {
    return ss_validate_and_copy_name(pb, &pb->state->vdisk_name);
}
