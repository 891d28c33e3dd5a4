// What is still to be written: every routine below is a placeholder that a
// later change replaces with the real one (and deletes from here).
//
// - Dispatch routines of commands whose request work is not written yet say
//   so and fail the command, so that no script mistakes them for success.
// - Action routines that will check values and queue request sentences only
//   let the parse go on for now.
// - Some selecting routines, written already, will also queue default
//   sentences: ss_add_host_defaults, ss_add_dr_group_defaults, ss_set_dr_group,
//   ss_restart and ss_shutdown.
#include <cstdio>

#include "corvane_cell.h"
#include "corvane_configuration.h"
#include "corvane_debug.h"
#include "corvane_disk.h"
#include "corvane_drm.h"
#include "corvane_event.h"
#include "corvane_folder.h"
#include "corvane_group.h"
#include "corvane_host.h"
#include "corvane_manager.h"
#include "corvane_monitor.h"
#include "corvane_power.h"
#include "corvane_regression.h"
#include "corvane_storage.h"
#include "corvane_unit.h"

namespace {
int not_available(const char* command) {
    std::fprintf(OutFile, "\nError: %s is not available in this version of TALO", command);
    return 1;
}
}  // namespace

// Action routines of option words and values.

int ss_add_cell_DeviceCount(_parseblk*) { return 0; }
int ss_add_cell_SparePolicy_double(_parseblk*) { return 0; }
int ss_add_cell_SparePolicy_none(_parseblk*) { return 0; }
int ss_add_cell_SparePolicy_single(_parseblk*) { return 0; }
int ss_add_cell_disktype_nearonline(_parseblk*) { return 0; }
int ss_add_cell_disktype_online(_parseblk*) { return 0; }
int ss_add_cell_name(_parseblk*) { return 0; }
int ss_capture_configuration_file(_parseblk*) { return 0; }
int ss_ar_debug_fenn_flags(_parseblk*) { return 0; }
int ss_ar_debug_information(_parseblk*) { return 0; }
int ss_add_disk_group_name_V3(_parseblk*) { return 0; }
int ss_add_operation_async(_parseblk*) { return 0; }
int ss_add_operation_sync(_parseblk*) { return 0; }
int ss_add_remote_disk_name(_parseblk*) { return 0; }
int ss_add_storage_to_dr(_parseblk*) { return 0; }
int ss_delete_storage_from_dr(_parseblk*) { return 0; }
int ss_detach_storage_from_dr(_parseblk*) { return 0; }
int ss_drcomment_V3(_parseblk*) { return 0; }
int ss_set_dr_group_access_read_only(_parseblk*) { return 0; }
int ss_set_dr_group_failover(_parseblk*) { return 0; }
int ss_set_dr_group_failsafe(_parseblk*) { return 0; }
int ss_set_dr_group_noaccess(_parseblk*) { return 0; }
int ss_set_dr_group_nofailsafe(_parseblk*) { return 0; }
int ss_set_dr_group_nosuspend(_parseblk*) { return 0; }
int ss_set_dr_group_suspend(_parseblk*) { return 0; }
int ss_add_disks(_parseblk*) { return 0; }
int ss_add_group_disktype_nearonline(_parseblk*) { return 0; }
int ss_add_group_disktype_online(_parseblk*) { return 0; }
int ss_group_occupancy_alarm(_parseblk*) { return 0; }
int ss_remove_disk_from_group(_parseblk*) { return 0; }
int ss_add_ip_addr(_parseblk*) { return 0; }
int ss_host_os_custom(_parseblk*) { return 0; }
int ss_host_os_ibmaix(_parseblk*) { return 0; }
int ss_host_os_korux(_parseblk*) { return 0; }
int ss_host_os_qanto_unix(_parseblk*) { return 0; }
int ss_host_os_raven(_parseblk*) { return 0; }
int ss_host_os_sun_unix(_parseblk*) { return 0; }
int ss_host_os_unknown(_parseblk*) { return 0; }
int ss_host_os_winnt(_parseblk*) { return 0; }
int ss_host_wwn(_parseblk*) { return 0; }
int ss_set_host_add_wwn(_parseblk*) { return 0; }
int ss_set_host_delete_wwn(_parseblk*) { return 0; }
int ss_set_host_ip(_parseblk*) { return 0; }
int ss_all_peers(_parseblk*) { return 0; }
int ss_noall_peers(_parseblk*) { return 0; }
int ss_add_storage_gb(_parseblk*) { return 0; }
int ss_add_storage_group(_parseblk*) { return 0; }
int ss_add_storage_nowait_for_completion(_parseblk*) { return 0; }
int ss_add_storage_wait_for_completion(_parseblk*) { return 0; }
int ss_copy_source_name(_parseblk*) { return 0; }
int ss_delete_storage_nowait_for_completion(_parseblk*) { return 0; }
int ss_delete_storage_wait_for_completion(_parseblk*) { return 0; }
int ss_fixed_wwn(_parseblk*) { return 0; }
int ss_nopreferred_path(_parseblk*) { return 0; }
int ss_preferred_path_a_both(_parseblk*) { return 0; }
int ss_preferred_path_a_fail(_parseblk*) { return 0; }
int ss_preferred_path_b_both(_parseblk*) { return 0; }
int ss_preferred_path_b_fail(_parseblk*) { return 0; }
int ss_storage_demand_allocated(_parseblk*) { return 0; }
int ss_storage_fully_allocated(_parseblk*) { return 0; }
int ss_storage_mirrored_wb(_parseblk*) { return 0; }
int ss_storage_nomirrored_wb(_parseblk*) { return 0; }
int ss_storage_noread_cache(_parseblk*) { return 0; }
int ss_storage_nowrite_protect(_parseblk*) { return 0; }
int ss_storage_raid0(_parseblk*) { return 0; }
int ss_storage_raid1(_parseblk*) { return 0; }
int ss_storage_raid5(_parseblk*) { return 0; }
int ss_storage_read_cache(_parseblk*) { return 0; }
int ss_storage_write_protect(_parseblk*) { return 0; }
int ss_add_unit_host_name(_parseblk*) { return 0; }
int ss_add_unit_number(_parseblk*) { return 0; }
int ss_add_unit_storage_name(_parseblk*) { return 0; }

// Dispatch routines, in the order of the command list.

int ss_clone_storage_dispatch(_parseblk*) { return not_available("ADD COPY"); }
int ss_add_group_dispatch(_parseblk*) { return not_available("ADD DISK_GROUP"); }
int ss_add_dr_group_dispatch(_parseblk*) { return not_available("ADD DR_GROUP"); }
int ss_add_folder_dispatch(_parseblk*) { return not_available("ADD FOLDER"); }
int ss_add_host_dispatch(_parseblk*) { return not_available("ADD HOST"); }
int ss_add_unit_dispatch(_parseblk*) { return not_available("ADD LUN"); }
int ss_snapshot_storage_dispatch(_parseblk*) { return not_available("ADD SNAPSHOT"); }
int ss_add_storage_dispatch(_parseblk*) { return not_available("ADD VDISK"); }
int ss_capture_all_dispatch(_parseblk*) { return not_available("CAPTURE CONFIGURATION"); }
int ss_validate_configuration_dispatch(_parseblk*) { return not_available("CAPTURE VALIDATE"); }
int ss_delete_group_dispatch(_parseblk*) { return not_available("DELETE DISK_GROUP"); }
int ss_delete_dr_group_dispatch(_parseblk*) { return not_available("DELETE DR_GROUP"); }
int ss_delete_folder_dispatch(_parseblk*) { return not_available("DELETE FOLDER"); }
int ss_delete_host_dispatch(_parseblk*) { return not_available("DELETE HOST"); }
int ss_delete_unit_dispatch(_parseblk*) { return not_available("DELETE LUN"); }
int ss_delete_storage_dispatch(_parseblk*) { return not_available("DELETE VDISK"); }
int ss_dr_emversion(_parseblk*) { return not_available("EMVERSION"); }
int ss_dr_exercisestartall(_parseblk*) { return not_available("EXERCISE_DISK START ALL"); }
int ss_dr_exercisestart(_parseblk*) { return not_available("EXERCISE_DISK START"); }
int ss_dr_exercisestop(_parseblk*) { return not_available("EXERCISE_DISK STOP"); }
int ss_dr_exercisesummary(_parseblk*) { return not_available("EXERCISE_DISK SUMMARY"); }
int ss_dr_rediscover(_parseblk*) { return not_available("REDISCOVER"); }
int ss_dr_reg_create(_parseblk*) { return not_available("REGRESSION CAPTURE"); }
int ss_dr_reg_create_exit(_parseblk*) { return not_available("REGRESSION CAPTURE EXIT"); }
int ss_dr_reg_filename(_parseblk*) { return not_available("REGRESSION TEST"); }
int ss_set_power_dispatch(_parseblk*) { return not_available("RESTART or SHUTDOWN"); }
int ss_set_disk_dispatch(_parseblk*) { return not_available("SET DISK"); }
int ss_set_group_dispatch(_parseblk*) { return not_available("SET DISK_GROUP"); }
int ss_set_dr_group_dispatch(_parseblk*) { return not_available("SET DR_GROUP"); }
int ss_set_folder_dispatch(_parseblk*) { return not_available("SET FOLDER"); }
int ss_set_host_dispatch(_parseblk*) { return not_available("SET HOST"); }
int ss_set_monitor_dispatch(_parseblk*) { return not_available("SET MONITOR"); }
int ss_set_storage_dispatch(_parseblk*) { return not_available("SET VDISK"); }
