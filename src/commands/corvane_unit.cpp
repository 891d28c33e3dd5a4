#include "corvane_unit.h"

#include <cstdio>

#include "corvane_catalogue.h"
#include "corvane_generic.h"
#include "corvane_kinds.h"
#include "corvane_names.h"
#include "corvane_sentence.h"

int ss_add_unit_defaults(_parseblk* pb) {
    pb->state->dispatch = ss_add_unit_dispatch;
    return 0;
}

int ss_show_unit(_parseblk* pb) {
    pb->state->dispatch = ss_show_unit_dispatch;
    return 0;
}

int ss_delete_unit(_parseblk* pb) {
    pb->state->dispatch = ss_delete_unit_dispatch;
    return 0;
}

// A LUN presents one virtual disk to one host: both are named, both resolved.
int ss_add_unit_dispatch(_parseblk* pb) {
    session_state* s = pb->state;
    if (ss_check_new_name(pb) != 0) return 1;
    if (!s->host_name) {
        std::fputs("\nError: Host must be specified", OutFile);
        return 1;
    }
    if (!s->vdisk_name) {
        std::fputs("\nError: Vdisk must be specified", OutFile);
        return 1;
    }
    if (ss_queue_object_id(pb, kind_host, s->host_name, "StorageClientID") != 0) return 1;
    if (ss_queue_object_id(pb, kind_vdisk, s->vdisk_name, "StorageID") != 0) return 1;
    return ss_send_cell_request(pb, "Create", fenn_objects[kind_lun]);
}

int ss_delete_unit_dispatch(_parseblk* pb) { return ss_delete_object(pb, kind_lun); }
int ss_show_unit_dispatch(_parseblk* pb) { return ss_generic_show(pb, kind_lun); }

// The LUN goes out as typed (the parser has already refused non-digits); it
// also names the new object.
int ss_add_unit_number(_parseblk* pb) {
    ss_validate_and_copy_name(pb, &pb->state->object_name);
    ss_replace_soap_sentence(pb, "LUN", pb->state->object_name);
    return 0;
}

int ss_add_unit_host_name(_parseblk* pb) { return ss_validate_and_copy_name(pb, &pb->state->host_name); }

// Also the member name of SET DR_GROUP's ADD_VDISK, DELETE_VDISK and DETACH_VDISK.
int ss_add_unit_storage_name(_parseblk* pb) {
    return ss_validate_and_copy_name(pb, &pb->state->vdisk_name);
}
