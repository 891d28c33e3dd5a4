// Object kinds: the display names used in messages and the element type
// names the server knows them by, indexed by kind number.
#pragma once

enum ss_object_kind : int {
    kind_all = 0,
    kind_system = 1,
    kind_disk = 2,
    kind_folder = 3,
    kind_host = 4,
    kind_monitor = 5,
    kind_vdisk = 6,
    kind_lun = 7,
    kind_disk_group = 8,
    kind_disk_event = 9,
    kind_monitor_event = 10,
    kind_management_event = 11,
    kind_system_event = 12,
    kind_termination_event = 13,
    kind_world_wide_name = 14,
    kind_power = 15,
    kind_dr_group = 16,
};

// Both tables end with an empty string.
extern const char* const objects[];
extern const char* const fenn_objects[];
