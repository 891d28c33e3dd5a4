// The ADD command: ADD SYSTEM, COPY, DISK_GROUP, DR_GROUP, FOLDER, HOST, LUN,
// SNAPSHOT and VDISK, each with its name and option tables.
#include "corvane_cell.h"
#include "corvane_drm.h"
#include "corvane_folder.h"
#include "corvane_group.h"
#include "corvane_host.h"
#include "corvane_kwt.h"
#include "corvane_kwt_form.h"
#include "corvane_kwt_text.h"
#include "corvane_folder_names.h"
#include "corvane_names.h"
#include "corvane_storage.h"
#include "corvane_unit.h"

using namespace kwt_form;

const _kw_desc kwt_add[] = {
    kw(ss_text_cell, hidden, ss_add_cell_defaults, kwt_add_cell_name),
    kw(ss_text_copy, none, ss_add_clone_defaults, kwt_clone),
    kw(ss_text_disk_group, none, ss_add_group_defaults, kwt_add_group_name),
    kw(ss_text_dr_group, none, ss_add_dr_group_defaults, dr_add_dr_group_name),
    kw(ss_text_folder, none, ss_add_folder_defaults, kwt_add_folder_name),
    kw(ss_text_group, hidden, ss_add_group_defaults, kwt_add_group_name),
    kw(ss_text_host, none, ss_add_host_defaults, kwt_add_host_name),
    kw(ss_text_lun, none, ss_add_unit_defaults, kwt_add_unit_name),
    kw(ss_text_snapshot, none, ss_add_snapshot_defaults, kwt_snapshot),
    kw(ss_text_storage, hidden, ss_add_storage_defaults, kwt_add_storage_name),
    kw(ss_text_system, none, ss_add_cell_defaults, kwt_add_cell_name),
    kw(ss_text_vdisk, last, ss_add_storage_defaults, kwt_add_storage_name),
};

// ADD SYSTEM

const _kw_desc kwt_add_cell_name[] = {
    kw(ss_desc_cell_name, free_text | last, ss_add_cell_name, kwt_add_cell_options),
};

const _kw_desc kwt_add_cell_options[] = {
    kw(ss_text_comment, assign | string, ss_comment, kwt_add_cell_options),
    kw(ss_text_console_lun_id, assign | decimal, ss_raven_id, kwt_add_cell_options),
    kw(ss_text_device_count, assign | decimal, ss_add_cell_DeviceCount, kwt_add_cell_options),
    kw(ss_text_diskgroup_disktype, assign, nullptr, kwt_add_cell_diskgroup_disktype_options),
    kw(ss_text_spare_policy, assign | last, nullptr, kwt_add_cell_spare_options),
};

const _kw_desc kwt_add_cell_diskgroup_disktype_options[] = {
    kw(ss_text_nearonline, none, ss_add_cell_disktype_nearonline, kwt_add_cell_options),
    kw(ss_text_online, last, ss_add_cell_disktype_online, kwt_add_cell_options),
};

const _kw_desc kwt_add_cell_spare_options[] = {
    kw(ss_text_double, none, ss_add_cell_SparePolicy_double, kwt_add_cell_options),
    kw(ss_text_none, none, ss_add_cell_SparePolicy_none, kwt_add_cell_options),
    kw(ss_text_single, last, ss_add_cell_SparePolicy_single, kwt_add_cell_options),
};

// ADD COPY

const _kw_desc kwt_clone[] = {
    kw(ss_desc_copy_name, free_text | last, ss_add_copy_name_and_folder, kwt_clone_storage),
};

const _kw_desc kwt_clone_storage[] = {
    kw(ss_text_disk_group, assign, nullptr, kwt_add_clone_group),
    kw(ss_text_group, assign | hidden, nullptr, kwt_add_clone_group),
    kw(ss_text_os_unit_id, assign | decimal, ss_raven_id, kwt_clone_storage),
    kw(ss_text_redundancy, assign, nullptr, kwt_add_storage_redundancy_clone),
    kw(ss_text_storage, assign | hidden, nullptr, kwt_clone_storage_name),
    kw(ss_text_vdisk, assign, nullptr, kwt_clone_storage_name),
    kw(ss_text_wait_for_completion, none, ss_add_storage_wait_for_completion, kwt_clone_storage),
    kw(ss_text_nowait_for_completion, none, ss_add_storage_nowait_for_completion, kwt_clone_storage),
    kw(ss_text_world_wide_lun_name, assign | last, nullptr, kwt_add_clone_fixed_wwn),
};

const _kw_desc kwt_add_clone_group[] = {
    kw(ss_desc_group_name, free_text | last, ss_add_storage_group, kwt_clone_storage),
};

const _kw_desc kwt_add_storage_redundancy_clone[] = {
    kw(ss_text_vraid0, none, ss_storage_raid0, kwt_clone_storage),
    kw(ss_text_vraid1, none, ss_storage_raid1, kwt_clone_storage),
    kw(ss_text_vraid5, last, ss_storage_raid5, kwt_clone_storage),
};

const _kw_desc kwt_clone_storage_name[] = {
    kw(ss_desc_vdisk_name, free_text | last, ss_copy_source_name, kwt_clone_storage),
};

const _kw_desc kwt_add_clone_fixed_wwn[] = {
    kw(ss_desc_wwn, free_text | last, ss_fixed_wwn, kwt_clone_storage),
};

// ADD DISK_GROUP

const _kw_desc kwt_add_group_name[] = {
    kw(ss_desc_group_name, free_text | last, ss_add_object_name_and_folder, kwt_add_group_options),
};

const _kw_desc kwt_add_group_options[] = {
    kw(ss_text_comment, assign | string, ss_comment, kwt_add_group_options),
    kw(ss_text_device_count, assign | decimal, ss_add_cell_DeviceCount, kwt_add_group_options),
    kw(ss_text_occupancy_alarm, assign | decimal, ss_group_occupancy_alarm, kwt_add_group_options),
    kw(ss_text_diskgroup_disktype, assign, nullptr, kwt_add_group_disktype_options),
    kw(ss_text_spare_policy, assign | last, nullptr, kwt_add_group_spare_options),
};

const _kw_desc kwt_add_group_disktype_options[] = {
    kw(ss_text_nearonline, none, ss_add_group_disktype_nearonline, kwt_add_group_options),
    kw(ss_text_online, last, ss_add_group_disktype_online, kwt_add_group_options),
};

const _kw_desc kwt_add_group_spare_options[] = {
    kw(ss_text_double, none, ss_add_cell_SparePolicy_double, kwt_add_group_options),
    kw(ss_text_none, none, ss_add_cell_SparePolicy_none, kwt_add_group_options),
    kw(ss_text_single, last, ss_add_cell_SparePolicy_single, kwt_add_group_options),
};

// ADD DR_GROUP

const _kw_desc dr_add_dr_group_name[] = {
    kw(ss_desc_dr_group_name, free_text | last, ss_add_object_name_and_folder_V3, dr_add_dr_group_options),
};

const _kw_desc dr_add_dr_group_options[] = {
    kw(ss_text_accessmode, assign, nullptr, dr_access),
    kw(ss_text_comment, assign | string, ss_drcomment_V3, dr_add_dr_group_options),
    kw(ss_text_destination_disk_group, assign, nullptr, dr_add_remote_disk_group),
    kw(ss_text_destination_system, assign, nullptr, dr_add_destination_cont_name),
    kw(ss_text_destination_vdisk_name, assign, nullptr, dr_add_remote_disk_name),
    kw(ss_text_vdisk, assign, nullptr, dr_add_destination_vdisk_name),
    kw(ss_text_writemode, assign | last, nullptr, dr_operation_options),
};

const _kw_desc dr_access[] = {
    kw(ss_text_readonly, none, ss_set_dr_group_access_read_only, dr_add_dr_group_options),
    kw(ss_text_disable, last, ss_set_dr_group_noaccess, dr_add_dr_group_options),
};

const _kw_desc dr_add_remote_disk_group[] = {
    kw(ss_desc_vdisk_name, free_text | last, ss_add_disk_group_name_V3, dr_add_dr_group_options),
};

const _kw_desc dr_add_destination_cont_name[] = {
    kw(ss_desc_destination_name, free_text | last, ss_add_destination_name_and_folder_V3, dr_add_dr_group_options),
};

const _kw_desc dr_add_remote_disk_name[] = {
    kw(ss_desc_vdisk_name, free_text | last, ss_add_remote_disk_name, dr_add_dr_group_options),
};

const _kw_desc dr_add_destination_vdisk_name[] = {
    kw(ss_desc_vdisk_name, free_text | last, ss_add_vdisk_name_and_folder_V3, dr_add_dr_group_options),
};

const _kw_desc dr_operation_options[] = {
    kw(ss_text_asynchronous, none, ss_add_operation_async, dr_add_dr_group_options),
    kw(ss_text_synchronous, last, ss_add_operation_sync, dr_add_dr_group_options),
};

// ADD FOLDER

const _kw_desc kwt_add_folder_name[] = {
    kw(ss_desc_folder_name, free_text | last, ss_add_object_name_and_folder, kwt_add_folder_comment),
};

const _kw_desc kwt_add_folder_comment[] = {
    kw(ss_text_comment, assign | string | last, ss_comment, nullptr),
};

// ADD HOST

const _kw_desc kwt_add_host_name[] = {
    kw(ss_desc_host_name, free_text | last, ss_add_object_name_and_folder, kwt_add_host_options),
};

const _kw_desc kwt_add_host_options[] = {
    kw(ss_text_comment, assign | string, ss_comment, kwt_add_host_options),
    kw(ss_text_ip, assign, nullptr, kwt_add_host_ip_num),
    kw(ss_text_operating_system, assign, nullptr, kwt_add_os),
    kw(ss_text_world_wide_name, assign | last, nullptr, kwt_add_host_wwn_num),
};

const _kw_desc kwt_add_host_ip_num[] = {
    kw(ss_desc_ip_address, free_text | last, ss_add_ip_addr, kwt_add_host_options),
};

const _kw_desc kwt_add_os[] = {
    kw(ss_text_custom, assign, nullptr, kwt_add_custom_number),
    kw(ss_text_korux, none, ss_host_os_korux, kwt_add_host_options),
    kw(ss_text_ibmaix, none, ss_host_os_ibmaix, kwt_add_host_options),
    kw(ss_text_raven_os, none, ss_host_os_raven, kwt_add_host_options),
    kw(ss_text_solaris, none, ss_host_os_sun_unix, kwt_add_host_options),
    kw(ss_text_qanto, none, ss_host_os_qanto_unix, kwt_add_host_options),
    kw(ss_text_unknown, none, ss_host_os_unknown, kwt_add_host_options),
    kw(ss_text_windows, last, ss_host_os_winnt, kwt_add_host_options),
};

const _kw_desc kwt_add_custom_number[] = {
    kw(ss_desc_host_mask, free_text | last, ss_host_os_custom, kwt_add_host_options),
};

const _kw_desc kwt_add_host_wwn_num[] = {
    kw(ss_desc_wwn, free_text | last, ss_host_wwn, kwt_add_host_options),
};

// ADD LUN

const _kw_desc kwt_add_unit_name[] = {
    kw(ss_desc_lun, free_decimal | last, ss_add_unit_number, kwt_add_unit_keywords),
};

const _kw_desc kwt_add_unit_keywords[] = {
    kw(ss_text_host, assign, nullptr, kwt_add_unit_host_name),
    kw(ss_text_storage, assign | hidden, nullptr, kwt_add_unit_storage_name),
    kw(ss_text_vdisk, assign | last, nullptr, kwt_add_unit_storage_name),
};

const _kw_desc kwt_add_unit_host_name[] = {
    kw(ss_desc_host_name, free_text | last, ss_add_unit_host_name, kwt_add_unit_keywords),
};

const _kw_desc kwt_add_unit_storage_name[] = {
    kw(ss_desc_vdisk_name, free_text | last, ss_add_unit_storage_name, kwt_add_unit_keywords),
};

// ADD SNAPSHOT

const _kw_desc kwt_snapshot[] = {
    kw(ss_desc_snapshot_name, free_text | last, ss_add_copy_name_and_folder, kwt_snap_storage_switches),
};

const _kw_desc kwt_snap_storage_switches[] = {
    kw(ss_text_allocation_policy, assign, nullptr, kwt_snap_allocation_policy),
    kw(ss_text_os_unit_id, assign | decimal, ss_raven_id, kwt_snap_storage_switches),
    kw(ss_text_redundancy, assign, nullptr, kwt_add_storage_redundancy_snapshot),
    kw(ss_text_storage, assign | hidden, nullptr, kwt_snap_storage_name),
    kw(ss_text_vdisk, assign, nullptr, kwt_snap_storage_name),
    kw(ss_text_world_wide_lun_name, assign | last, nullptr, kwt_add_snap_fixed_wwn),
};

const _kw_desc kwt_snap_allocation_policy[] = {
    kw(ss_text_demand, none, ss_storage_demand_allocated, kwt_snap_storage_switches),
    kw(ss_text_fully, last, ss_storage_fully_allocated, kwt_snap_storage_switches),
};

const _kw_desc kwt_add_storage_redundancy_snapshot[] = {
    kw(ss_text_vraid0, none, ss_storage_raid0, kwt_snap_storage_switches),
    kw(ss_text_vraid1, none, ss_storage_raid1, kwt_snap_storage_switches),
    kw(ss_text_vraid5, last, ss_storage_raid5, kwt_snap_storage_switches),
};

const _kw_desc kwt_snap_storage_name[] = {
    kw(ss_desc_vdisk_name, free_text | last, ss_copy_source_name, kwt_snap_storage_switches),
};

const _kw_desc kwt_add_snap_fixed_wwn[] = {
    kw(ss_desc_wwn, free_text | last, ss_fixed_wwn, kwt_snap_storage_switches),
};

// ADD VDISK

const _kw_desc kwt_add_storage_name[] = {
    kw(ss_desc_vdisk_name, free_text | last, ss_add_object_name_and_folder, kwt_add_storage_options),
};

const _kw_desc kwt_add_storage_options[] = {
    kw(ss_text_comment, assign | string, ss_comment, kwt_add_storage_options),
    kw(ss_text_disk_group, assign, nullptr, kwt_add_storage_group),
    kw(ss_text_group, assign | hidden, nullptr, kwt_add_storage_group),
    kw(ss_text_mirrored_writeback, none, ss_storage_mirrored_wb, kwt_add_storage_options),
    kw(ss_text_nomirrored_writeback, none, ss_storage_nomirrored_wb, kwt_add_storage_options),
    kw(ss_text_os_unit_id, assign | decimal, ss_raven_id, kwt_add_storage_options),
    kw(ss_text_preferred_path, assign, nullptr, kwt_add_preferred_path),
    kw(ss_text_nopreferred_path, none, ss_nopreferred_path, kwt_add_storage_options),
    kw(ss_text_read_cache, none, ss_storage_read_cache, kwt_add_storage_options),
    kw(ss_text_noread_cache, none, ss_storage_noread_cache, kwt_add_storage_options),
    kw(ss_text_redundancy, assign, nullptr, kwt_add_storage_redundancy),
    kw(ss_text_size, assign | decimal, ss_add_storage_gb, kwt_add_storage_options),
    kw(ss_text_wait_for_completion, none, ss_add_storage_wait_for_completion, kwt_add_storage_options),
    kw(ss_text_nowait_for_completion, none, ss_add_storage_nowait_for_completion, kwt_add_storage_options),
    kw(ss_text_world_wide_lun_name, assign, nullptr, kwt_add_storage_fixed_wwn),
    kw(ss_text_write_protect, none, ss_storage_write_protect, kwt_add_storage_options),
    kw(ss_text_nowrite_protect, last, ss_storage_nowrite_protect, kwt_add_storage_options),
};

const _kw_desc kwt_add_storage_group[] = {
    kw(ss_desc_group_name, free_text | last, ss_add_storage_group, kwt_add_storage_options),
};

const _kw_desc kwt_add_preferred_path[] = {
    kw(ss_text_path_a_failover, none, ss_preferred_path_a_fail, kwt_add_storage_options),
    kw(ss_text_path_a_both, none, ss_preferred_path_a_both, kwt_add_storage_options),
    kw(ss_text_path_b_failover, none, ss_preferred_path_b_fail, kwt_add_storage_options),
    kw(ss_text_path_b_both, last, ss_preferred_path_b_both, kwt_add_storage_options),
};

const _kw_desc kwt_add_storage_redundancy[] = {
    kw(ss_text_vraid0, none, ss_storage_raid0, kwt_add_storage_options),
    kw(ss_text_vraid1, none, ss_storage_raid1, kwt_add_storage_options),
    kw(ss_text_vraid5, last, ss_storage_raid5, kwt_add_storage_options),
};

const _kw_desc kwt_add_storage_fixed_wwn[] = {
    kw(ss_desc_wwn, free_text | last, ss_fixed_wwn, kwt_add_storage_options),
};
