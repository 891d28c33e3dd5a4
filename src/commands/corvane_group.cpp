#include "corvane_group.h"

#include <cstdio>

#include "corvane_catalogue.h"
#include "corvane_generic.h"
#include "corvane_kinds.h"
#include "corvane_names.h"
#include "corvane_option_values.h"
#include "corvane_sentence.h"

namespace {
constexpr uint32_t min_occupancy_alarm = 1;
constexpr uint32_t max_occupancy_alarm = 100;
}  // namespace

int ss_add_group_defaults(_parseblk* pb) {
    pb->state->dispatch = ss_add_group_dispatch;
    return 0;
}

int ss_set_group(_parseblk* pb) {
    pb->state->dispatch = ss_set_group_dispatch;
    return 0;
}

int ss_show_group(_parseblk* pb) {
    pb->state->dispatch = ss_show_group_dispatch;
    return 0;
}

int ss_delete_group(_parseblk* pb) {
    pb->state->dispatch = ss_delete_group_dispatch;
    return 0;
}

int ss_add_group_dispatch(_parseblk* pb) {
    session_state* s = pb->state;
    if (ss_check_new_name(pb) != 0 || ss_check_cell_set(pb) != 0) return 1;
    if (s->folder_name && ss_queue_object_id(pb, kind_folder, s->folder_name, "FolderID") != 0) return 1;
    return ss_send_cell_request(pb, "Create", fenn_objects[kind_disk_group]);
}

// The disk that DELETE names leaves the group in the same request.
int ss_set_group_dispatch(_parseblk* pb) {
    session_state* s = pb->state;
    if (s->remove_disk_name && ss_queue_object_id(pb, kind_disk, s->remove_disk_name, "DeleteDiskID") != 0)
        return 1;
    return ss_set_object(pb, kind_disk_group);
}

int ss_delete_group_dispatch(_parseblk* pb) { return ss_delete_object(pb, kind_disk_group); }
int ss_show_group_dispatch(_parseblk* pb) { return ss_generic_show(pb, kind_disk_group); }

// Option words.

int ss_add_group_disktype_nearonline(_parseblk* pb) {
    ss_replace_soap_sentence(pb, "diskgrpdisktype", "Near-Online");
    return 0;
}

int ss_add_group_disktype_online(_parseblk* pb) {
    ss_replace_soap_sentence(pb, "diskgrpdisktype", "Online");
    return 0;
}

int ss_group_occupancy_alarm(_parseblk* pb) {
    if (pb->number < min_occupancy_alarm || pb->number > max_occupancy_alarm) {
        std::fputs("\nError: Occupancy alarm level must be 1 to 100 inclusive", OutFile);
        return 1;
    }
    ss_queue_decimal(pb, "occupancyalarmlevel", pb->number);
    return 0;
}

int ss_add_disks(_parseblk* pb) {
    ss_queue_decimal(pb, "AddDiskCount", pb->number);
    return 0;
}

// The disk is resolved to its identifier when the command runs.
int ss_remove_disk_from_group(_parseblk* pb) {
    return ss_validate_and_copy_name(pb, &pb->state->remove_disk_name);
}
