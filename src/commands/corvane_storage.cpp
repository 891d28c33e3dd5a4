#include "corvane_storage.h"

#include <cstdio>

#include "corvane_catalogue.h"
#include "corvane_dispatch.h"
#include "corvane_generic.h"
#include "corvane_kinds.h"
#include "corvane_names.h"
#include "corvane_option_values.h"
#include "corvane_sentence.h"

namespace {
constexpr uint32_t min_size_gb = 1;
constexpr uint32_t max_size_gb = 65535;

int queue(_parseblk* pb, const char* name, const char* value) {
    ss_replace_soap_sentence(pb, name, value);
    return 0;
}

// Where a new virtual disk goes: the folder typed in front of its name and
// the DISK_GROUP given, each resolved to its identifier.
int queue_placement(_parseblk* pb) {
    session_state* s = pb->state;
    if (s->folder_name && ss_queue_object_id(pb, kind_folder, s->folder_name, "FolderID") != 0) return 1;
    if (s->storage_group_name && ss_queue_object_id(pb, kind_disk_group, s->storage_group_name, "GroupID") != 0)
        return 1;
    return 0;
}

// Snapshot and clone: a new virtual disk copied from the source VDISK.
int ss_snap_and_clone(_parseblk* pb, const char* type) {
    session_state* s = pb->state;
    if (!s->source_name) return ss_incomplete_command(pb);
    if (ss_check_new_name(pb) != 0) return 1;
    if (ss_check_cell_set(pb) != 0 || queue_placement(pb) != 0) return 1;
    if (ss_queue_object_id(pb, kind_vdisk, s->source_name, "StorageID") != 0) return 1;
    return ss_send_cell_request(pb, "Copy", type);
}
}  // namespace

// The command words queue their completion mode first, so that a
// (NO)WAIT_FOR_COMPLETION typed later replaces it in place.
int ss_add_storage_defaults(_parseblk* pb) {
    pb->state->dispatch = ss_add_storage_dispatch;
    return queue(pb, "creationmode", "synchronous");
}

int ss_add_snapshot_defaults(_parseblk* pb) {
    pb->state->dispatch = ss_snapshot_storage_dispatch;
    return 0;
}

int ss_add_clone_defaults(_parseblk* pb) {
    pb->state->dispatch = ss_clone_storage_dispatch;
    return queue(pb, "creationmode", "asynchronous");
}

int ss_set_storage(_parseblk* pb) {
    pb->state->dispatch = ss_set_storage_dispatch;
    return 0;
}

int ss_show_storage(_parseblk* pb) {
    pb->state->dispatch = ss_show_storage_dispatch;
    return 0;
}

int ss_delete_storage(_parseblk* pb) {
    pb->state->dispatch = ss_delete_storage_dispatch;
    return queue(pb, "deletionmode", "asynchronous");
}

int ss_add_storage_dispatch(_parseblk* pb) {
    if (ss_check_new_name(pb) != 0 || ss_check_cell_set(pb) != 0 || queue_placement(pb) != 0) return 1;
    return ss_send_cell_request(pb, "Create", fenn_objects[kind_vdisk]);
}

int ss_snapshot_storage_dispatch(_parseblk* pb) { return ss_snap_and_clone(pb, "Snapshot"); }
int ss_clone_storage_dispatch(_parseblk* pb) { return ss_snap_and_clone(pb, "Clone"); }

int ss_set_storage_dispatch(_parseblk* pb) {
    if (ss_check_cell_set(pb) != 0) return 1;
    return ss_set_object(pb, kind_vdisk);
}

int ss_delete_storage_dispatch(_parseblk* pb) { return ss_delete_object(pb, kind_vdisk); }
int ss_show_storage_dispatch(_parseblk* pb) { return ss_generic_show(pb, kind_vdisk); }

// Option words.

int ss_add_storage_group(_parseblk* pb) {
    return ss_validate_and_copy_name(pb, &pb->state->storage_group_name);
}

int ss_copy_source_name(_parseblk* pb) { return ss_validate_and_copy_name(pb, &pb->state->source_name); }

int ss_storage_raid0(_parseblk* pb) { return queue(pb, "RedundType", "NONE"); }
int ss_storage_raid1(_parseblk* pb) { return queue(pb, "RedundType", "MIRROR"); }
int ss_storage_raid5(_parseblk* pb) { return queue(pb, "RedundType", "PARITY"); }

int ss_add_storage_gb(_parseblk* pb) {
    if (pb->number < min_size_gb) {
        std::fprintf(OutFile, "\nError: Minumum size in GB is %d", static_cast<int>(min_size_gb));
        return 1;
    }
    if (pb->number > max_size_gb) {
        std::fprintf(OutFile, "\nError: Maximum size in GB is %d", static_cast<int>(max_size_gb));
        return 1;
    }
    ss_queue_decimal(pb, "Size", pb->number);
    return 0;
}

// Each WORLD_WIDE_LUN_NAME is its own sentence; the server judges the form.
int ss_fixed_wwn(_parseblk* pb) {
    ss_add_soap_sentence_count(pb, "lunwwn", pb->string_value, pb->string_length);
    return 0;
}

int ss_storage_demand_allocated(_parseblk* pb) { return queue(pb, "spaceefficiency", "0"); }
int ss_storage_fully_allocated(_parseblk* pb) { return queue(pb, "spaceefficiency", "1"); }

int ss_storage_mirrored_wb(_parseblk* pb) { return queue(pb, "WriteCache", "Mirrored Write-Back"); }
int ss_storage_nomirrored_wb(_parseblk* pb) { return queue(pb, "WriteCache", "Unmirrored Write-Back"); }

int ss_preferred_path_a_fail(_parseblk* pb) { return queue(pb, "PrefPath", "A_FAILOVER"); }
int ss_preferred_path_a_both(_parseblk* pb) { return queue(pb, "PrefPath", "A_BOTH"); }
int ss_preferred_path_b_fail(_parseblk* pb) { return queue(pb, "PrefPath", "B_FAILOVER"); }
int ss_preferred_path_b_both(_parseblk* pb) { return queue(pb, "PrefPath", "B_BOTH"); }
int ss_nopreferred_path(_parseblk* pb) { return queue(pb, "PrefPath", "NO_PREFERENCE"); }

int ss_storage_read_cache(_parseblk* pb) { return queue(pb, "ReadCache", "On"); }
int ss_storage_noread_cache(_parseblk* pb) { return queue(pb, "ReadCache", "Off"); }

int ss_storage_write_protect(_parseblk* pb) { return queue(pb, "WriteProtect", "YES"); }
int ss_storage_nowrite_protect(_parseblk* pb) { return queue(pb, "WriteProtect", "NO"); }

int ss_add_storage_wait_for_completion(_parseblk* pb) { return queue(pb, "creationmode", "synchronous"); }
int ss_add_storage_nowait_for_completion(_parseblk* pb) {
    return queue(pb, "creationmode", "asynchronous");
}
int ss_delete_storage_wait_for_completion(_parseblk* pb) {
    return queue(pb, "deletionmode", "synchronous");
}
int ss_delete_storage_nowait_for_completion(_parseblk* pb) {
    return queue(pb, "deletionmode", "asynchronous");
}
