// The command language: the tree of keyword tables from the root table
// Corvane_kwt down, walked by ss_parse. Every command is a path through it.
#pragma once

#include "corvane_parse.h"

// The root table.
extern const _kw_desc Corvane_kwt[];

// ADD (corvane_kwt_add.cpp).
extern const _kw_desc kwt_add[];
extern const _kw_desc kwt_add_cell_name[];
extern const _kw_desc kwt_add_cell_options[];
extern const _kw_desc kwt_add_cell_diskgroup_disktype_options[];
extern const _kw_desc kwt_add_cell_spare_options[];
extern const _kw_desc kwt_clone[];
extern const _kw_desc kwt_clone_storage[];
extern const _kw_desc kwt_add_clone_group[];
extern const _kw_desc kwt_add_storage_redundancy_clone[];
extern const _kw_desc kwt_clone_storage_name[];
extern const _kw_desc kwt_add_clone_fixed_wwn[];
extern const _kw_desc kwt_add_group_name[];
extern const _kw_desc kwt_add_group_options[];
extern const _kw_desc kwt_add_group_disktype_options[];
extern const _kw_desc kwt_add_group_spare_options[];
extern const _kw_desc dr_add_dr_group_name[];
extern const _kw_desc dr_add_dr_group_options[];
extern const _kw_desc dr_access[];
extern const _kw_desc dr_add_remote_disk_group[];
extern const _kw_desc dr_add_destination_cont_name[];
extern const _kw_desc dr_add_remote_disk_name[];
extern const _kw_desc dr_add_destination_vdisk_name[];
extern const _kw_desc dr_operation_options[];
extern const _kw_desc kwt_add_folder_name[];
extern const _kw_desc kwt_add_folder_comment[];
extern const _kw_desc kwt_add_host_name[];
extern const _kw_desc kwt_add_host_options[];
extern const _kw_desc kwt_add_host_ip_num[];
extern const _kw_desc kwt_add_os[];
extern const _kw_desc kwt_add_custom_number[];
extern const _kw_desc kwt_add_host_wwn_num[];
extern const _kw_desc kwt_add_unit_name[];
extern const _kw_desc kwt_add_unit_keywords[];
extern const _kw_desc kwt_add_unit_host_name[];
extern const _kw_desc kwt_add_unit_storage_name[];
extern const _kw_desc kwt_snapshot[];
extern const _kw_desc kwt_snap_storage_switches[];
extern const _kw_desc kwt_snap_allocation_policy[];
extern const _kw_desc kwt_add_storage_redundancy_snapshot[];
extern const _kw_desc kwt_snap_storage_name[];
extern const _kw_desc kwt_add_snap_fixed_wwn[];
extern const _kw_desc kwt_add_storage_name[];
extern const _kw_desc kwt_add_storage_options[];
extern const _kw_desc kwt_add_storage_group[];
extern const _kw_desc kwt_add_preferred_path[];
extern const _kw_desc kwt_add_storage_redundancy[];
extern const _kw_desc kwt_add_storage_fixed_wwn[];

// CAPTURE.
extern const _kw_desc kwt_capture[];
extern const _kw_desc kwt_capture_filename[];
extern const _kw_desc kwt_capture_validate_filename[];

// DEBUG.
extern const _kw_desc kwt_debug[];
extern const _kw_desc kwt_debug_fenn_flags[];

// DELETE.
extern const _kw_desc kwt_delete[];
extern const _kw_desc kwt_del_cell_name[];
extern const _kw_desc kwt_del_group_name[];
extern const _kw_desc dr_delete_dr_group_name[];
extern const _kw_desc kwt_del_folder_name[];
extern const _kw_desc kwt_del_host_name[];
extern const _kw_desc kwt_del_unit_number[];
extern const _kw_desc kwt_del_storage_name[];
extern const _kw_desc kwt_del_storage_name_options[];

// EXERCISE_DISK.
extern const _kw_desc kwt_exercisedisk[];
extern const _kw_desc kwt_exercisedisk_start[];

// FILE.
extern const _kw_desc kwt_file[];

// REGRESSION.
extern const _kw_desc kwt_regression[];
extern const _kw_desc kwt_regression_create_file[];
extern const _kw_desc kwt_regression_test_file[];

// RESTART and SHUTDOWN.
extern const _kw_desc kwt_shutdown_restart[];
extern const _kw_desc kwt_set_power_options[];

// SELECT.
extern const _kw_desc kwt_select[];
extern const _kw_desc kwt_select_cell[];
extern const _kw_desc kwt_select_manager[];
extern const _kw_desc kwt_select_manager_options[];
extern const _kw_desc kwt_select_manager_password[];
extern const _kw_desc kwt_select_manager_username[];

// SET (corvane_kwt_set.cpp).
extern const _kw_desc kwt_set[];
extern const _kw_desc kwt_set_cell_name[];
extern const _kw_desc kwt_set_cell[];
extern const _kw_desc kwt_set_newname_text[];
extern const _kw_desc kwt_set_name[];
extern const _kw_desc kwt_set_newname[];
extern const _kw_desc kwt_set_group_name[];
extern const _kw_desc kwt_set_group_options[];
extern const _kw_desc kwt_set_group_delete_disk[];
extern const _kw_desc kwt_set_group_spare_options[];
extern const _kw_desc dr_set_dr_group_name[];
extern const _kw_desc dr_set_dr_group_options[];
extern const _kw_desc dr_set_access[];
extern const _kw_desc dr_storage_name[];
extern const _kw_desc dr_add_storage_options[];
extern const _kw_desc dr_set_remote_disk_group[];
extern const _kw_desc dr_set_remote_disk_name[];
extern const _kw_desc dr_storage_delete_name[];
extern const _kw_desc dr_set_dr_group_newname[];
extern const _kw_desc dr_set_operation_options[];
extern const _kw_desc kwt_set_host_name[];
extern const _kw_desc kwt_set_host[];
extern const _kw_desc kwt_set_host_wwn[];
extern const _kw_desc kwt_set_host_ip_num[];
extern const _kw_desc kwt_set_os[];
extern const _kw_desc kwt_set_custom_number[];
extern const _kw_desc kwt_set_options[];
extern const _kw_desc kwt_set_error_options[];
extern const _kw_desc kwt_set_storage_name[];
extern const _kw_desc kwt_set_storage_options[];
extern const _kw_desc kwt_set_preferred_path[];
extern const _kw_desc kwt_set_storage_fixed_wwn[];

// SHOW.
extern const _kw_desc kwt_show[];
extern const _kw_desc kwt_show_name[];
extern const _kw_desc dr_show_dr_group_name[];
