// The root table and every command group but ADD (corvane_kwt_add.cpp) and
// SET (corvane_kwt_set.cpp), in the order of the root table.
#include "corvane_kwt.h"

#include "corvane_builtin.h"
#include "corvane_cell.h"
#include "corvane_configuration.h"
#include "corvane_debug.h"
#include "corvane_disk.h"
#include "corvane_drm.h"
#include "corvane_event.h"
#include "corvane_file.h"
#include "corvane_folder.h"
#include "corvane_group.h"
#include "corvane_host.h"
#include "corvane_kwt_form.h"
#include "corvane_kwt_text.h"
#include "corvane_manager.h"
#include "corvane_monitor.h"
#include "corvane_names.h"
#include "corvane_options.h"
#include "corvane_power.h"
#include "corvane_regression.h"
#include "corvane_show.h"
#include "corvane_storage.h"
#include "corvane_unit.h"

using namespace kwt_form;

const _kw_desc Corvane_kwt[] = {
    kw(ss_text_add, none, nullptr, kwt_add),
    kw(ss_text_capture, none, nullptr, kwt_capture),
    kw(ss_text_debug, hidden | full_word, ss_ar_debug, kwt_debug),
    kw(ss_text_delete, none, nullptr, kwt_delete),
    kw(ss_text_emversion, none, ss_ar_emversion, nullptr),
    kw(ss_text_exercise_disk, none, nullptr, kwt_exercisedisk),
    kw(ss_text_exit, none, ss_ar_exit, nullptr),
    kw(ss_text_file, none, nullptr, kwt_file),
    kw(ss_text_help, none, ss_help, nullptr),
    kw(ss_text_rediscover, none, ss_ar_rediscover, nullptr),
    kw(ss_text_regression, hidden, nullptr, kwt_regression),
    kw(ss_text_restart, none, ss_restart, kwt_shutdown_restart),
    kw(ss_text_select, none, nullptr, kwt_select),
    kw(ss_text_set, none, nullptr, kwt_set),
    kw(ss_text_show, none, nullptr, kwt_show),
    kw(ss_text_shutdown, last, ss_shutdown, kwt_shutdown_restart),
};

// CAPTURE

const _kw_desc kwt_capture[] = {
    kw(ss_text_configuration, none, ss_capture_all, kwt_capture_filename),
    kw(ss_text_validate, last, nullptr, kwt_capture_validate_filename),
};

const _kw_desc kwt_capture_filename[] = {
    kw(ss_desc_capture_filename, free_text | last, ss_capture_configuration_file, nullptr),
};

const _kw_desc kwt_capture_validate_filename[] = {
    kw(ss_desc_capture_filename, free_text | last, ss_capture_validation_file, nullptr),
};

// DEBUG: hidden, and every word of it only in full. Any number of its
// subcommands may follow on one line.

const _kw_desc kwt_debug[] = {
    kw(ss_text_are_you_sure, hidden | full_word, ss_ar_debug_are_you_sure, kwt_debug),
    kw(ss_text_fenn_flags, assign | hidden | full_word, nullptr, kwt_debug_fenn_flags),
    kw(ss_text_debug, hidden | full_word, ss_ar_debug_debug, kwt_debug),
    kw(ss_text_dump, hidden | full_word, ss_ar_debug_dump, kwt_debug),
    kw(ss_text_nodump, hidden | full_word, ss_ar_debug_nodump, kwt_debug),
    kw(ss_text_information, hidden | full_word | last, ss_ar_debug_information, kwt_debug),
};

const _kw_desc kwt_debug_fenn_flags[] = {
    kw(ss_desc_fenn_flags, free_text | hidden | full_word | last, ss_ar_debug_fenn_flags, kwt_debug),
};

// DELETE

const _kw_desc kwt_delete[] = {
    kw(ss_text_cell, hidden, ss_delete_cell, kwt_del_cell_name),
    kw(ss_text_disk_group, none, ss_delete_group, kwt_del_group_name),
    kw(ss_text_dr_group, none, ss_delete_dr_group, dr_delete_dr_group_name),
    kw(ss_text_folder, none, ss_delete_folder, kwt_del_folder_name),
    kw(ss_text_group, hidden, ss_delete_group, kwt_del_group_name),
    kw(ss_text_host, none, ss_delete_host, kwt_del_host_name),
    kw(ss_text_lun, none, ss_delete_unit, kwt_del_unit_number),
    kw(ss_text_storage, hidden, ss_delete_storage, kwt_del_storage_name),
    kw(ss_text_system, none, ss_delete_cell, kwt_del_cell_name),
    kw(ss_text_vdisk, last, ss_delete_storage, kwt_del_storage_name),
};

const _kw_desc kwt_del_cell_name[] = {
    kw(ss_desc_cell_name, free_text | last, ss_object_name, nullptr),
};

const _kw_desc kwt_del_group_name[] = {
    kw(ss_desc_group_name, free_text | last, ss_object_name, nullptr),
};

const _kw_desc dr_delete_dr_group_name[] = {
    kw(ss_desc_dr_group_name, free_text | last, ss_object_name, nullptr),
};

const _kw_desc kwt_del_folder_name[] = {
    kw(ss_desc_folder_name, free_text | last, ss_object_name, nullptr),
};

const _kw_desc kwt_del_host_name[] = {
    kw(ss_desc_host_name, free_text | last, ss_object_name, nullptr),
};

const _kw_desc kwt_del_unit_number[] = {
    kw(ss_desc_lun, free_text | last, ss_object_name, nullptr),
};

const _kw_desc kwt_del_storage_name[] = {
    kw(ss_desc_vdisk_name, free_text | last, ss_object_name, kwt_del_storage_name_options),
};

const _kw_desc kwt_del_storage_name_options[] = {
    kw(ss_text_wait_for_completion, none, ss_delete_storage_wait_for_completion, kwt_del_storage_name_options),
    kw(ss_text_nowait_for_completion, last, ss_delete_storage_nowait_for_completion, kwt_del_storage_name_options),
};

// EXERCISE_DISK

const _kw_desc kwt_exercisedisk[] = {
    kw(ss_text_start, none, nullptr, kwt_exercisedisk_start),
    kw(ss_text_stop, none, ss_ar_exercisestop, nullptr),
    kw(ss_text_summary, last, ss_ar_exercisesummary, nullptr),
};

const _kw_desc kwt_exercisedisk_start[] = {
    kw(ss_text_all, none, ss_ar_exercisestartall, nullptr),
    kw(ss_desc_disk_list, free_text | last, ss_ar_exercisestart, nullptr),
};

// FILE

const _kw_desc kwt_file[] = {
    kw(ss_desc_filename, free_text | last, ss_ar_filename, nullptr),
};

// REGRESSION (hidden)

const _kw_desc kwt_regression[] = {
    kw(ss_text_capture, none, nullptr, kwt_regression_create_file),
    kw(ss_text_test, last, nullptr, kwt_regression_test_file),
};

const _kw_desc kwt_regression_create_file[] = {
    kw(ss_text_exit, none, ss_ar_reg_create_exit, nullptr),
    kw(ss_desc_regression_create, free_text | last, ss_ar_reg_create, nullptr),
};

const _kw_desc kwt_regression_test_file[] = {
    kw(ss_desc_regression_run, free_text | last, ss_ar_reg_filename, nullptr),
};

// RESTART and SHUTDOWN

const _kw_desc kwt_shutdown_restart[] = {
    kw(ss_desc_power_name, free_text | last, ss_object_name, kwt_set_power_options),
};

const _kw_desc kwt_set_power_options[] = {
    kw(ss_text_all_peers, none, ss_all_peers, kwt_set_power_options),
    kw(ss_text_noall_peers, last, ss_noall_peers, kwt_set_power_options),
};

// SELECT

const _kw_desc kwt_select[] = {
    kw(ss_text_cell, hidden, nullptr, kwt_select_cell),
    kw(ss_text_manager, none, nullptr, kwt_select_manager),
    kw(ss_text_system, last, nullptr, kwt_select_cell),
};

const _kw_desc kwt_select_cell[] = {
    kw(ss_desc_cell_name, free_text | last, ss_select_cell_name, nullptr),
};

const _kw_desc kwt_select_manager[] = {
    kw(ss_desc_manager_address, free_text | last, ss_select_manager_name, kwt_select_manager_options),
};

const _kw_desc kwt_select_manager_options[] = {
    kw(ss_text_password, assign, nullptr, kwt_select_manager_password),
    kw(ss_text_username, assign | last, nullptr, kwt_select_manager_username),
};

const _kw_desc kwt_select_manager_password[] = {
    kw(ss_desc_password, free_text | last, ss_select_manager_password, kwt_select_manager_options),
};

const _kw_desc kwt_select_manager_username[] = {
    kw(ss_desc_username, free_text | last, ss_select_manager_username, kwt_select_manager_options),
};

// SHOW: DISK_EVENT, MANAGEMENT_EVENT and TIME are hidden and only in full.

const _kw_desc kwt_show[] = {
    kw(ss_text_cell, hidden, ss_show_cell, kwt_show_name),
    kw(ss_text_disk, none, ss_show_disk, kwt_show_name),
    kw(ss_text_disk_event, hidden | full_word, ss_show_disk_event, kwt_show_name),
    kw(ss_text_disk_group, none, ss_show_group, kwt_show_name),
    kw(ss_text_dr_group, none, ss_show_dr_group, dr_show_dr_group_name),
    kw(ss_text_folder, none, ss_show_folder, kwt_show_name),
    kw(ss_text_group, hidden, ss_show_group, kwt_show_name),
    kw(ss_text_host, none, ss_show_host, kwt_show_name),
    kw(ss_text_lun, none, ss_show_unit, kwt_show_name),
    kw(ss_text_management_event, hidden | full_word, ss_show_management_event, nullptr),
    kw(ss_text_manager, none, ss_show_manager, kwt_show_name),
    kw(ss_text_monitor, none, ss_show_monitor, kwt_show_name),
    kw(ss_text_options, none, ss_show_options, nullptr),
    kw(ss_text_power, none, ss_show_power, kwt_show_name),
    kw(ss_text_storage, hidden, ss_show_storage, kwt_show_name),
    kw(ss_text_system, none, ss_show_cell, kwt_show_name),
    kw(ss_text_time, hidden | full_word, ss_show_time, nullptr),
    kw(ss_text_vdisk, none, ss_show_storage, kwt_show_name),
    kw(ss_text_world_wide_name, last, ss_show_world_wide_name, nullptr),
};

// A name that a keyword here abbreviates is taken as that keyword.
const _kw_desc kwt_show_name[] = {
    kw(ss_text_full, none, ss_show_full, nullptr),
    kw(ss_text_nofull, none, ss_show_nofull, nullptr),
    kw(ss_desc_show_name, free_text | last, ss_object_name, nullptr),
};

const _kw_desc dr_show_dr_group_name[] = {
    kw(ss_text_full, none, ss_show_full, nullptr),
    kw(ss_text_nofull, none, ss_show_nofull, nullptr),
    kw(ss_desc_dr_group_name, free_text | last, ss_object_name, nullptr),
};
