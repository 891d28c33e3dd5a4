#include "corvane_kinds.h"

const char* const objects[] = {
    "All",          "Systems",           "Disks",          "Folders",
    "Hosts",        "Monitors",          "Vdisks",         "LUNs",
    "Disk_Groups",  "Disk_Events",       "Monitor_Events", "Management_Events",
    "System_Events", "Termination_Events", "World_Wide_Names", "Power",
    "DR_Groups",    "",
};

const char* const fenn_objects[] = {
    "All",          "Element",           "Disk",           "Folder",
    "StorageClient", "Monitor",          "Storage",        "PresentedUnit",
    "DiskGroup",    "DiskEvents",        "Monitor",        "ManagementEvents",
    "SystemEvents", "TerminationEvents", "WorldWideNames", "Power",
    "drmgroup",     "",
};
