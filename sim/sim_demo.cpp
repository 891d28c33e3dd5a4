// The built-in demo array, written in the scenario format so it goes through
// the same loader as the files tests give.
#include "sim_scenario.h"

namespace talosim {

std::string_view demo_scenario() {
    return R"json({
  "manager": {"version": "SIM-4.0.0", "build": "Dec 09 2026"},
  "controller_time": "09-Dec-2026 09:00:00",
  "systems": [
    {
      "name": "Uninitialized Storage System",
      "initialized": false,
      "props": {"System_Type": "HSV-SIM", "Operational_State": "Uninitialized", "Console_LUN_ID": "", "Comments": ""},
      "disks": [{"group": "\\Disk Groups\\Ungrouped Disks", "count": 12, "capacity": "146 GB"}],
      "objects": [
        {"type": "Power", "name": "\\Controller A", "props": {"Operational_State": "Good", "Power_State": "On"}},
        {"type": "Power", "name": "\\Controller B", "props": {"Operational_State": "Good", "Power_State": "On"}},
        {"type": "WorldWideNames", "name": "5000-1FE1-5000-1A00", "props": {"State": "Available"}}
      ]
    },
    {
      "name": "Cheetah",
      "props": {"System_Type": "HSV-SIM", "Operational_State": "Good", "Console_LUN_ID": "0", "Comments": "Demo array"},
      "sections": [{"label": "Capacity", "fields": {"Total_Capacity": "2336 GB", "Used_Capacity": "62 GB", "Available_Capacity": "2274 GB"}}],
      "disks": [
        {"group": "\\Disk Groups\\Default Disk Group", "count": 12, "capacity": "146 GB"},
        {"group": "\\Disk Groups\\Archive", "count": 8, "capacity": "250 GB", "disktype": "Near-Online"},
        {"group": "\\Disk Groups\\Ungrouped Disks", "count": 2, "capacity": "146 GB"}
      ],
      "objects": [
        {"type": "Folder", "name": "\\Virtual Disks\\", "props": {"Comments": ""}},
        {"type": "Folder", "name": "\\Hosts\\", "props": {"Comments": ""}},
        {"type": "Folder", "name": "\\Disk Groups\\", "props": {"Comments": ""}},
        {"type": "Folder", "name": "\\Virtual Disks\\Finance\\", "props": {"Comments": "Finance volumes"}},
        {"type": "DiskGroup", "name": "\\Disk Groups\\Default Disk Group",
         "props": {"Total_Disks": "12", "Disk_Failure_Protection_Level": "Single", "DiskGroup_DiskType": "Online",
                   "Occupancy_Alarm_Level": "95 %", "Total_Capacity": "1752 GB", "Comments": ""}},
        {"type": "DiskGroup", "name": "\\Disk Groups\\Archive",
         "props": {"Total_Disks": "8", "Disk_Failure_Protection_Level": "Double", "DiskGroup_DiskType": "Near-Online",
                   "Occupancy_Alarm_Level": "80 %", "Total_Capacity": "2000 GB", "Comments": "Slow tier"}},
        {"type": "StorageClient", "name": "\\Hosts\\dbserver1",
         "props": {"IPAddress": "Dynamic IP Assignment", "Operating_system": "WINDOWS", "Comments": "Database server"},
         "sections": [{"label": "Host Ports", "fields": {"Port": "5000-1FE1-0015-2C01", "Port": "5000-1FE1-0015-2C02"}}]},
        {"type": "StorageClient", "name": "\\Hosts\\web01",
         "props": {"IPAddress": "10.0.0.21", "Operating_system": "SOLARIS", "Comments": ""},
         "sections": [{"label": "Host Ports", "fields": {"Port": "5000-1FE1-0015-3D01"}}]},
        {"type": "Storage", "name": "\\Virtual Disks\\db_data\\ACTIVE",
         "props": {"Family_Name": "\\Virtual Disks\\db_data", "Disk_Group": "\\Disk Groups\\Default Disk Group",
                   "Capacity_Req": "10 GB", "Redundancy": "VRAID5", "Write_cache_Policy": "Mirrored write-back",
                   "Read_cache_Policy": "On", "Write_Protect": "No", "OS_Unit_ID": "", "Preferred_path": "Path A-Failover only",
                   "World_Wide_LUN_Name": "6005-08B4-0010-4A21-0000-7000-0123-0000", "drmmode": "", "Comments": "Main database"}},
        {"type": "Storage", "name": "\\Virtual Disks\\db_data\\snap_monday",
         "props": {"Family_Name": "\\Virtual Disks\\db_data", "Disk_Group": "\\Disk Groups\\Default Disk Group",
                   "Capacity_Req": "10 GB", "Redundancy": "VRAID5", "Write_cache_Policy": "Mirrored write-back",
                   "Read_cache_Policy": "On", "Write_Protect": "No", "OS_Unit_ID": "", "Preferred_path": "No preference",
                   "World_Wide_LUN_Name": "6005-08B4-0010-4A21-0000-7000-0124-0000", "Snapshot_Type": "Demand allocated",
                   "drmmode": "", "Comments": ""}},
        {"type": "Storage", "name": "\\Virtual Disks\\Finance\\ledger\\ACTIVE",
         "props": {"Family_Name": "\\Virtual Disks\\Finance\\ledger", "Disk_Group": "\\Disk Groups\\Archive",
                   "Capacity_Req": "20 GB", "Redundancy": "VRAID1", "Write_cache_Policy": "Unmirrored write-back",
                   "Read_cache_Policy": "Off", "Write_Protect": "No", "OS_Unit_ID": "12", "Preferred_path": "No preference",
                   "World_Wide_LUN_Name": "6005-08B4-0010-4A21-0000-7000-0125-0000", "drmmode": "", "Comments": ""}},
        {"type": "Storage", "name": "\\Virtual Disks\\orders\\ACTIVE",
         "props": {"Family_Name": "\\Virtual Disks\\orders", "Disk_Group": "\\Disk Groups\\Default Disk Group",
                   "Capacity_Req": "32 GB", "Redundancy": "VRAID5", "Write_cache_Policy": "Mirrored write-back",
                   "Read_cache_Policy": "On", "Write_Protect": "No", "OS_Unit_ID": "", "Preferred_path": "Path B-Failover/failback",
                   "World_Wide_LUN_Name": "6005-08B4-0010-4A21-0000-7000-0126-0000", "drmmode": "source",
                   "@remote_system": "Puma", "@remote_vdisk": "\\Virtual Disks\\orders\\ACTIVE", "Comments": "Replicated"}},
        {"type": "PresentedUnit", "name": "1", "props": {"LUN": "1", "@vdisk": "\\Virtual Disks\\db_data\\ACTIVE", "@host": "\\Hosts\\dbserver1"}},
        {"type": "PresentedUnit", "name": "2", "props": {"LUN": "2", "@vdisk": "\\Virtual Disks\\Finance\\ledger\\ACTIVE", "@host": "\\Hosts\\dbserver1"}},
        {"type": "PresentedUnit", "name": "1", "props": {"LUN": "1", "@vdisk": "\\Virtual Disks\\Finance\\ledger\\ACTIVE", "@host": "\\Hosts\\web01"}},
        {"type": "drmgroup", "name": "DRG_Orders",
         "props": {"@destination": "Puma", "drmmode": "source", "accessmode": "readonly", "writemode": "synchronous",
                   "suspendstate": "resume", "failsafe": "disabled", "comments": "Orders replica",
                   "@member": "\\Virtual Disks\\orders\\ACTIVE"}},
        {"type": "Monitor", "name": "\\Hardware\\Rack 1\\Enclosure 1\\Environmental Monitor",
         "props": {"Operational_State": "Good", "Temperature": "24 C", "Warning_Threshold": "40 C",
                   "Critical_Threshold": "50 C", "Comments": ""}},
        {"type": "DiskEvents", "name": "Disk 007 inserted", "props": {"Time": "09-Dec-2026 08:01:12", "Severity": "Informational"}},
        {"type": "DiskEvents", "name": "Disk 013 reconstruction complete", "props": {"Time": "09-Dec-2026 08:30:40", "Severity": "Informational"}},
        {"type": "ManagementEvents", "name": "Virtual disk db_data created", "props": {"Time": "08-Dec-2026 17:12:03", "User": "administrator"}},
        {"type": "SystemEvents", "name": "Controller A restarted", "props": {"Time": "07-Dec-2026 02:00:00", "Severity": "Warning"}},
        {"type": "TerminationEvents", "name": "Termination 0001", "props": {"Time": "01-Dec-2026 11:11:11", "Code": "0x0C0D"}},
        {"type": "WorldWideNames", "name": "5000-1FE1-5000-2B00", "props": {"State": "In use"}},
        {"type": "WorldWideNames", "name": "5000-1FE1-5000-2B01", "props": {"State": "Available"}}
      ]
    },
    {
      "name": "Puma",
      "props": {"System_Type": "HSV-SIM", "Operational_State": "Good", "Console_LUN_ID": "", "Comments": "DR site"},
      "disks": [{"group": "\\Disk Groups\\Default Disk Group", "count": 8, "capacity": "146 GB"}],
      "objects": [
        {"type": "DiskGroup", "name": "\\Disk Groups\\Default Disk Group",
         "props": {"Total_Disks": "8", "Disk_Failure_Protection_Level": "Single", "DiskGroup_DiskType": "Online",
                   "Occupancy_Alarm_Level": "90 %", "Total_Capacity": "1168 GB", "Comments": ""}},
        {"type": "Storage", "name": "\\Virtual Disks\\orders\\ACTIVE",
         "props": {"Family_Name": "\\Virtual Disks\\orders", "Disk_Group": "\\Disk Groups\\Default Disk Group",
                   "Capacity_Req": "32 GB", "Redundancy": "VRAID5", "Write_cache_Policy": "Mirrored write-back",
                   "Read_cache_Policy": "On", "Write_Protect": "Yes", "OS_Unit_ID": "", "Preferred_path": "No preference",
                   "World_Wide_LUN_Name": "6005-08B4-0010-4A21-0000-7000-0226-0000", "drmmode": "destination",
                   "@remote_system": "Cheetah", "@remote_vdisk": "\\Virtual Disks\\orders\\ACTIVE", "Comments": "Replicated"}},
        {"type": "drmgroup", "name": "DRG_Orders",
         "props": {"@destination": "Cheetah", "drmmode": "destination", "accessmode": "readonly", "writemode": "synchronous",
                   "suspendstate": "resume", "failsafe": "disabled", "comments": "Orders replica",
                   "@member": "\\Virtual Disks\\orders\\ACTIVE"}},
        {"type": "Monitor", "name": "\\Hardware\\Rack 1\\Enclosure 1\\Environmental Monitor",
         "props": {"Operational_State": "Good", "Temperature": "22 C", "Warning_Threshold": "40 C",
                   "Critical_Threshold": "50 C", "Comments": ""}}
      ]
    }
  ]
})json";
}

}  // namespace talosim
