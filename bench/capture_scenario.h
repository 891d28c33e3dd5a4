// A generated storage system of a given size, in the simulator's scenario
// format, for the benchmarks of configuration capture: the end-to-end one
// and the simulator's own reads.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace benchscen {

// What a generated system holds besides its virtual disks and hosts.
constexpr int vdisk_folders = 4;
constexpr int host_folders = 2;
constexpr int disk_groups = 2;
constexpr int controllers = 2;  // the simulator adds them to every initialized system
constexpr int presentations_per_vdisk = 2;

struct Shape {
    int vdisks;
    int hosts;
    int luns() const { return vdisks * presentations_per_vdisk; }
    // The objects a capture has to read once each: the disk groups, the
    // system, the folders below the three roots (the roots are not
    // captured), the controllers, the hosts and the virtual disks (LUNs come
    // with their disks).
    int objects_read() const { return disk_groups + 1 + vdisk_folders + host_folders + controllers + hosts + vdisks; }
};

inline std::string hex(unsigned value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
}

inline std::string json_text(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    return out + "\"";
}

// One system "Big": two disk groups, folders for the disks and the hosts,
// every virtual disk presented to two hosts (each host gets its own LUN
// numbers from 1), and the two controllers the simulator adds.
inline std::string scenario(const Shape& shape) {
    std::string json = R"({"manager": {"version": "SIM", "build": "bench"}, "systems": [{"name": "Big",
  "props": {"System_Type": "HSV-SIM", "Operational_State": "Good", "Console_LUN_ID": "0", "Comments": "capture benchmark"},
  "disks": [{"group": "\\Disk Groups\\Default Disk Group", "count": 24, "capacity": "146 GB"},
            {"group": "\\Disk Groups\\Archive", "count": 16, "capacity": "300 GB", "disktype": "Near-Online"},
            {"group": "\\Disk Groups\\Ungrouped Disks", "count": 2, "capacity": "146 GB"}],
  "objects": [
    {"type": "DiskGroup", "name": "\\Disk Groups\\Default Disk Group",
     "props": {"Total_Disks": "24", "Disk_Failure_Protection_Level": "Single", "DiskGroup_DiskType": "Online",
               "Occupancy_Alarm_Level": "95 %", "Total_Capacity": "3504 GB", "Comments": ""}},
    {"type": "DiskGroup", "name": "\\Disk Groups\\Archive",
     "props": {"Total_Disks": "16", "Disk_Failure_Protection_Level": "Double", "DiskGroup_DiskType": "Near-Online",
               "Occupancy_Alarm_Level": "80 %", "Total_Capacity": "4800 GB", "Comments": "Slow tier"}})";
    auto vdisk_folder = [](int i) { return "\\Virtual Disks\\Area" + std::to_string(i % vdisk_folders) + "\\"; };
    auto host_name = [](int i) { return "\\Hosts\\Site" + std::to_string(i % host_folders) + "\\host" + std::to_string(i); };
    for (int f = 0; f < vdisk_folders; ++f)
        json += ",\n{\"type\": \"Folder\", \"name\": " + json_text(vdisk_folder(f)) + ", \"props\": {\"Comments\": \"area\"}}";
    for (int f = 0; f < host_folders; ++f)
        json += ",\n{\"type\": \"Folder\", \"name\": " + json_text("\\Hosts\\Site" + std::to_string(f) + "\\") +
                ", \"props\": {\"Comments\": \"\"}}";
    static const char* const systems[] = {"WINDOWS", "SOLARIS", "KORUX", "IBMAIX"};
    for (int h = 0; h < shape.hosts; ++h) {
        std::string port = "5000-1FE1-" + hex(static_cast<unsigned>(h) >> 8, 4) + "-" + hex(static_cast<unsigned>(h) & 0xFF, 2);
        json += ",\n{\"type\": \"StorageClient\", \"name\": " + json_text(host_name(h)) +
                ", \"props\": {\"IPAddress\": \"" + (h % 3 ? "10.1." + std::to_string(h / 250) + "." + std::to_string(h % 250 + 1)
                                                           : std::string("Dynamic IP Assignment")) +
                "\", \"Operating_system\": \"" + systems[h % 4] + "\", \"Comments\": \"\"}, " +
                "\"sections\": [{\"label\": \"Host Ports\", \"fields\": {\"Port\": \"" + port + "01\", \"Port\": \"" + port + "02\"}}]}";
    }
    for (int v = 0; v < shape.vdisks; ++v) {
        std::string family = vdisk_folder(v) + "vd" + std::to_string(v);
        bool archive = v % 5 == 0;
        json += ",\n{\"type\": \"Storage\", \"name\": " + json_text(family + "\\ACTIVE") + ", \"props\": {\"Family_Name\": " +
                json_text(family) + ", \"Disk_Group\": " +
                json_text(archive ? "\\Disk Groups\\Archive" : "\\Disk Groups\\Default Disk Group") +
                ", \"Capacity_Req\": \"" + std::to_string(1 + v % 64) + " GB\", \"Redundancy\": \"" +
                (archive ? "VRAID1" : "VRAID5") + "\", \"Write_cache_Policy\": \"Mirrored write-back\", " +
                "\"Read_cache_Policy\": \"On\", \"Write_Protect\": \"No\", \"OS_Unit_ID\": \"" +
                (v % 7 ? std::string() : std::to_string(v % 1000)) +
                "\", \"Preferred_path\": \"No preference\", \"World_Wide_LUN_Name\": \"6005-08B4-0010-4A21-0000-7000-" +
                hex(static_cast<unsigned>(v) >> 16, 4) + "-" + hex(static_cast<unsigned>(v) & 0xFFFF, 4) +
                "\", \"drmmode\": \"\", \"Comments\": \"\"}}";
    }
    // Disk v goes to hosts v and v + hosts/2 (modulo), so each host gets
    // the same number of disks and no host sees a disk twice.
    std::vector<int> next_lun(static_cast<size_t>(shape.hosts), 1);
    for (int v = 0; v < shape.vdisks; ++v) {
        for (int p = 0; p < presentations_per_vdisk; ++p) {
            int h = (v + p * (shape.hosts / presentations_per_vdisk)) % shape.hosts;
            std::string lun = std::to_string(next_lun[static_cast<size_t>(h)]++);
            json += ",\n{\"type\": \"PresentedUnit\", \"name\": \"" + lun + "\", \"props\": {\"LUN\": \"" + lun +
                    "\", \"@vdisk\": " + json_text(vdisk_folder(v) + "vd" + std::to_string(v) + "\\ACTIVE") +
                    ", \"@host\": " + json_text(host_name(h)) + "}}";
        }
    }
    return json + "]}]}\n";
}

}  // namespace benchscen
