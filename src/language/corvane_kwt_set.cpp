// The SET command: SET SYSTEM, DISK, DISK_GROUP, DR_GROUP, FOLDER, HOST,
// MONITOR, OPTIONS and VDISK.
#include "corvane_cell.h"
#include "corvane_disk.h"
#include "corvane_drm.h"
#include "corvane_folder.h"
#include "corvane_group.h"
#include "corvane_host.h"
#include "corvane_kwt.h"
#include "corvane_kwt_form.h"
#include "corvane_kwt_text.h"
#include "corvane_monitor.h"
#include "corvane_names.h"
#include "corvane_options.h"
#include "corvane_storage.h"
#include "corvane_unit.h"

using namespace kwt_form;

const _kw_desc kwt_set[] = {
    kw(ss_text_cell, hidden, ss_set_cell, kwt_set_cell_name),
    kw(ss_text_disk, none, ss_set_disk, kwt_set_name),
    kw(ss_text_disk_group, none, ss_set_group, kwt_set_group_name),
    kw(ss_text_dr_group, none, ss_set_dr_group, dr_set_dr_group_name),
    kw(ss_text_folder, none, ss_set_folder, kwt_set_name),
    kw(ss_text_group, hidden, ss_set_group, kwt_set_group_name),
    kw(ss_text_host, none, ss_set_host, kwt_set_host_name),
    kw(ss_text_monitor, none, ss_set_monitor, kwt_set_name),
    kw(ss_text_options, none, ss_set_options, kwt_set_options),
    kw(ss_text_storage, hidden, ss_set_storage, kwt_set_storage_name),
    kw(ss_text_system, none, ss_set_cell, kwt_set_cell_name),
    kw(ss_text_vdisk, last, ss_set_storage, kwt_set_storage_name),
};

// SET SYSTEM

const _kw_desc kwt_set_cell_name[] = {
    kw(ss_desc_set_name, free_text | last, ss_object_name, kwt_set_cell),
};

const _kw_desc kwt_set_cell[] = {
    kw(ss_text_comment, assign | string, ss_comment, nullptr),
    kw(ss_text_console_lun_id, assign | decimal, ss_raven_id, nullptr),
    kw(ss_text_name, assign | last, nullptr, kwt_set_newname_text),
};

const _kw_desc kwt_set_newname_text[] = {
    kw(ss_desc_new_name, free_text | last, ss_rename_newname, nullptr),
};

// SET DISK, SET FOLDER, SET MONITOR

const _kw_desc kwt_set_name[] = {
    kw(ss_desc_set_name, free_text | last, ss_object_name, kwt_set_newname),
};

const _kw_desc kwt_set_newname[] = {
    kw(ss_text_comment, assign | string, ss_comment, nullptr),
    kw(ss_text_name, assign | last, nullptr, kwt_set_newname_text),
};

// SET DISK_GROUP

const _kw_desc kwt_set_group_name[] = {
    kw(ss_desc_group_name, free_text | last, ss_object_name, kwt_set_group_options),
};

const _kw_desc kwt_set_group_options[] = {
    kw(ss_text_add, assign | decimal, ss_add_disks, nullptr),
    kw(ss_text_comment, assign | string, ss_comment, nullptr),
    kw(ss_text_delete, assign, nullptr, kwt_set_group_delete_disk),
    kw(ss_text_name, assign, nullptr, kwt_set_newname_text),
    kw(ss_text_occupancy_alarm, assign | decimal, ss_group_occupancy_alarm, nullptr),
    kw(ss_text_spare_policy, assign | last, nullptr, kwt_set_group_spare_options),
};

const _kw_desc kwt_set_group_delete_disk[] = {
    kw(ss_desc_disk_name, free_text | last, ss_remove_disk_from_group, nullptr),
};

const _kw_desc kwt_set_group_spare_options[] = {
    kw(ss_text_double, none, ss_add_cell_SparePolicy_double, kwt_set_group_options),
    kw(ss_text_none, none, ss_add_cell_SparePolicy_none, kwt_set_group_options),
    kw(ss_text_single, last, ss_add_cell_SparePolicy_single, kwt_set_group_options),
};

// SET DR_GROUP

const _kw_desc dr_set_dr_group_name[] = {
    kw(ss_desc_dr_group_name, free_text | last, ss_object_name, dr_set_dr_group_options),
};

const _kw_desc dr_set_dr_group_options[] = {
    kw(ss_text_accessmode, assign, nullptr, dr_set_access),
    kw(ss_text_add_vdisk, assign, ss_add_storage_to_dr, dr_storage_name),
    kw(ss_text_comment, assign | string, ss_drcomment_V3, nullptr),
    kw(ss_text_delete_vdisk, assign, ss_delete_storage_from_dr, dr_storage_delete_name),
    kw(ss_text_detach_vdisk, assign, ss_detach_storage_from_dr, dr_storage_delete_name),
    kw(ss_text_failover, none, ss_set_dr_group_failover, nullptr),
    kw(ss_text_failsafe, none, ss_set_dr_group_failsafe, nullptr),
    kw(ss_text_nofailsafe, none, ss_set_dr_group_nofailsafe, nullptr),
    kw(ss_text_name, assign, nullptr, dr_set_dr_group_newname),
    kw(ss_text_suspend, none, ss_set_dr_group_suspend, nullptr),
    kw(ss_text_nosuspend, none, ss_set_dr_group_nosuspend, nullptr),
    kw(ss_text_writemode, assign | last, nullptr, dr_set_operation_options),
};

const _kw_desc dr_set_access[] = {
    kw(ss_text_readonly, none, ss_set_dr_group_access_read_only, nullptr),
    kw(ss_text_disable, last, ss_set_dr_group_noaccess, nullptr),
};

const _kw_desc dr_storage_name[] = {
    kw(ss_desc_vdisk_name, free_text | last, ss_add_unit_storage_name, dr_add_storage_options),
};

const _kw_desc dr_add_storage_options[] = {
    kw(ss_text_destination_disk_group, assign, nullptr, dr_set_remote_disk_group),
    kw(ss_text_destination_vdisk_name, assign | last, nullptr, dr_set_remote_disk_name),
};

const _kw_desc dr_set_remote_disk_group[] = {
    kw(ss_desc_vdisk_name, free_text | last, ss_add_disk_group_name_V3, dr_add_storage_options),
};

const _kw_desc dr_set_remote_disk_name[] = {
    kw(ss_desc_vdisk_name, free_text | last, ss_add_remote_disk_name, dr_add_storage_options),
};

const _kw_desc dr_storage_delete_name[] = {
    kw(ss_desc_vdisk_name, free_text | last, ss_add_unit_storage_name, nullptr),
};

const _kw_desc dr_set_dr_group_newname[] = {
    kw(ss_desc_new_name, free_text | last, ss_rename_newname_V3, nullptr),
};

const _kw_desc dr_set_operation_options[] = {
    kw(ss_text_asynchronous, none, ss_add_operation_async, nullptr),
    kw(ss_text_synchronous, last, ss_add_operation_sync, nullptr),
};

// SET HOST

const _kw_desc kwt_set_host_name[] = {
    kw(ss_desc_set_name, free_text | last, ss_object_name, kwt_set_host),
};

const _kw_desc kwt_set_host[] = {
    kw(ss_text_add_world_wide_name, assign, ss_set_host_add_wwn, kwt_set_host_wwn),
    kw(ss_text_comment, assign | string, ss_comment, nullptr),
    kw(ss_text_delete_world_wide_name, assign, ss_set_host_delete_wwn, kwt_set_host_wwn),
    kw(ss_text_ip, assign, nullptr, kwt_set_host_ip_num),
    kw(ss_text_name, assign, ss_object_name, kwt_set_newname_text),
    kw(ss_text_operating_system, assign | last, nullptr, kwt_set_os),
};

const _kw_desc kwt_set_host_wwn[] = {
    kw(ss_desc_wwn, free_text | last, ss_host_wwn, nullptr),
};

const _kw_desc kwt_set_host_ip_num[] = {
    kw(ss_desc_ip_address, free_text | last, ss_set_host_ip, nullptr),
};

const _kw_desc kwt_set_os[] = {
    kw(ss_text_custom, assign, nullptr, kwt_set_custom_number),
    kw(ss_text_korux, none, ss_host_os_korux, nullptr),
    kw(ss_text_ibmaix, none, ss_host_os_ibmaix, nullptr),
    kw(ss_text_raven_os, none, ss_host_os_raven, nullptr),
    kw(ss_text_solaris, none, ss_host_os_sun_unix, nullptr),
    kw(ss_text_qanto, none, ss_host_os_qanto_unix, nullptr),
    kw(ss_text_unknown, none, ss_host_os_unknown, nullptr),
    kw(ss_text_windows, last, ss_host_os_winnt, nullptr),
};

const _kw_desc kwt_set_custom_number[] = {
    kw(ss_desc_host_mask, free_text | last, ss_host_os_custom, nullptr),
};

// SET OPTIONS: any number of options, in any order.

const _kw_desc kwt_set_options[] = {
    kw(ss_text_command_delay, assign | decimal, ss_option_command_delay, kwt_set_options),
    kw(ss_text_nocommand_delay, none, ss_option_nocommand_delay, kwt_set_options),
    kw(ss_text_display_width, assign | decimal, ss_width, kwt_set_options),
    kw(ss_text_on_error, assign, nullptr, kwt_set_error_options),
    kw(ss_text_retries, assign | decimal, ss_option_retries, kwt_set_options),
    kw(ss_text_noretries, none, ss_option_noretries, kwt_set_options),
    kw(ss_text_safe_delete, none, ss_option_safe_delete, kwt_set_options),
    kw(ss_text_nosafe_delete, last, ss_option_nosafe_delete, kwt_set_options),
};

const _kw_desc kwt_set_error_options[] = {
    kw(ss_text_continue, none, ss_continue, kwt_set_options),
    kw(ss_text_exit_on_error, none, ss_exit_on_error, kwt_set_options),
    kw(ss_text_halt_on_error, last, ss_halt_on_error, kwt_set_options),
};

// SET VDISK

const _kw_desc kwt_set_storage_name[] = {
    kw(ss_desc_vdisk_name, free_text | last, ss_object_name, kwt_set_storage_options),
};

const _kw_desc kwt_set_storage_options[] = {
    kw(ss_text_comment, assign | string, ss_comment, nullptr),
    kw(ss_text_mirrored_writeback, none, ss_storage_mirrored_wb, nullptr),
    kw(ss_text_nomirrored_writeback, none, ss_storage_nomirrored_wb, nullptr),
    kw(ss_text_name, assign, nullptr, kwt_set_newname_text),
    kw(ss_text_os_unit_id, assign | decimal, ss_raven_id, nullptr),
    kw(ss_text_preferred_path, assign, nullptr, kwt_set_preferred_path),
    kw(ss_text_nopreferred_path, none, ss_nopreferred_path, nullptr),
    kw(ss_text_read_cache, none, ss_storage_read_cache, nullptr),
    kw(ss_text_noread_cache, none, ss_storage_noread_cache, nullptr),
    kw(ss_text_size, assign | decimal, ss_add_storage_gb, nullptr),
    kw(ss_text_world_wide_lun_name, assign, nullptr, kwt_set_storage_fixed_wwn),
    kw(ss_text_write_protect, none, ss_storage_write_protect, nullptr),
    kw(ss_text_nowrite_protect, last, ss_storage_nowrite_protect, nullptr),
};

const _kw_desc kwt_set_preferred_path[] = {
    kw(ss_text_path_a_failover, none, ss_preferred_path_a_fail, nullptr),
    kw(ss_text_path_a_both, none, ss_preferred_path_a_both, nullptr),
    kw(ss_text_path_b_failover, none, ss_preferred_path_b_fail, nullptr),
    kw(ss_text_path_b_both, last, ss_preferred_path_b_both, nullptr),
};

const _kw_desc kwt_set_storage_fixed_wwn[] = {
    kw(ss_desc_wwn, free_text | last, ss_fixed_wwn, nullptr),
};
