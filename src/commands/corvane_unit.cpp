#include "corvane_unit.h"

#include "corvane_catalogue.h"
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
