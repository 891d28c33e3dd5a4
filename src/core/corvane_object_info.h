// An entry of the session's object list and the kinds of object, kept here
// below the parser so that completion can offer the names the session
// already holds without reaching up into the object-list routines.
#pragma once

#include <cstdint>

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

struct _object_info {
    _object_info* next;
    uint8_t kind;
    char* name;
    char* id;
};
