// Change handlers for storage systems: ADD SYSTEM initializes an
// uninitialized system, SET SYSTEM renames or comments it, DELETE SYSTEM
// returns it to the uninitialized state.
#include <cstdio>
#include <cstdlib>

#include "sim_engine.h"
#include "sim_reply.h"

namespace talosim {

namespace {

constexpr std::string_view uninitialized_name = "Uninitialized Storage System";
constexpr unsigned min_device_count = 8;

bool parse_number(const std::string& text, unsigned long max, unsigned long& out) {
    if (text.empty() || text.size() > 10 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    out = std::strtoul(text.c_str(), nullptr, 10);
    return out <= max;
}

Outcome check_common(Model& model, const Request& req, System& sys) {
    if (req.has("Name")) {
        const std::string& name = req.get("Name");
        if (std::string complaint = check_object_name(name); !complaint.empty())
            return Outcome::fail(complaint, msgnum::invalid_parameter);
        System* other = model.find_system_by_name(name);
        if (other != nullptr && other != &sys)
            return Outcome::fail("A storage system named " + name + " already exists", msgnum::name_in_use);
    }
    unsigned long n = 0;
    if (req.has("RavenID") && !parse_number(req.get("RavenID"), 32767, n))
        return Outcome::fail("Console LUN ID must be 0 to 32767", msgnum::invalid_parameter);
    if (req.has("comments") && req.get("comments").size() > 128)
        return Outcome::fail("Comment too long, limit 128 characters", msgnum::invalid_parameter);
    return Outcome::done();
}

void apply_common(const Request& req, System& sys) {
    if (req.has("Name")) sys.self.name = req.get("Name");
    if (req.has("RavenID")) sys.self.set_prop("Console_LUN_ID", req.get("RavenID"));
    if (req.has("comments")) sys.self.set_prop("Comments", req.get("comments"));
}

std::string disk_name(std::string_view group, std::string_view old_name) {
    size_t slash = old_name.rfind('\\');
    return std::string(group) + std::string(old_name.substr(slash == std::string_view::npos ? 0 : slash));
}

Outcome create_system(Model& model, const Request& req, System*) {
    System* sys = model.find_system(req.get("ID"));
    if (sys == nullptr) return Outcome::fail("Storage system " + req.get("ID") + " does not exist", msgnum::not_found);
    if (sys->initialized) return Outcome::fail("Storage system is already initialized", msgnum::invalid_parameter);
    if (!req.has("Name")) return Outcome::fail("A name is required to initialize a storage system", msgnum::invalid_parameter);
    if (Outcome common = check_common(model, req, *sys); !common.ok) return common;

    // Indices, not pointers: adding the standard objects below grows the vector.
    std::vector<size_t> free_disks;
    for (size_t i = 0; i < sys->objects.size(); ++i)
        if (sys->objects[i].type == type::disk && sys->objects[i].prop("Disk_Group") == ungrouped) free_disks.push_back(i);
    unsigned long count = free_disks.size();
    if (req.has("DeviceCount") && !parse_number(req.get("DeviceCount"), 100000, count))
        return Outcome::fail("Device count is not a number", msgnum::invalid_parameter);
    if (count < min_device_count || count > free_disks.size())
        return Outcome::fail("Device count must be from " + std::to_string(min_device_count) + " to " +
                                 std::to_string(free_disks.size()) + " (the disks available)",
                             msgnum::insufficient_disks);
    std::string spare = req.has("SparePolicy") ? req.get("SparePolicy") : "Single";
    if (spare != "None" && spare != "Single" && spare != "Double")
        return Outcome::fail("Spare policy must be None, Single or Double", msgnum::invalid_parameter);
    std::string disktype = req.has("scdisktype") ? req.get("scdisktype") : "Online";
    if (disktype != "Online" && disktype != "Near-Online")
        return Outcome::fail("Disk type must be Online or Near-Online", msgnum::invalid_parameter);

    apply_common(req, *sys);
    sys->initialized = true;
    sys->self.set_prop("Operational_State", "Good");
    if (!sys->self.has_prop("Console_LUN_ID")) sys->self.set_prop("Console_LUN_ID", "");
    if (!sys->self.has_prop("Comments")) sys->self.set_prop("Comments", "");
    model.add_standard_objects(*sys);
    unsigned long capacity = 0;  // GB
    for (unsigned long i = 0; i < count; ++i) {
        Object& disk = sys->objects[free_disks[i]];
        disk.name = disk_name(default_group, disk.name);
        disk.set_prop("Disk_Group", default_group);
        disk.set_prop("Disk_Type", disktype);
        capacity += std::strtoul(disk.prop("Capacity").c_str(), nullptr, 10);
    }
    Object& group = model.add(*sys, type::disk_group, std::string(default_group));
    group.set_prop("Total_Disks", std::to_string(count));
    group.set_prop("Disk_Failure_Protection_Level", spare);
    group.set_prop("DiskGroup_DiskType", disktype);
    group.set_prop("Occupancy_Alarm_Level", "95 %");
    group.set_prop("Total_Capacity", std::to_string(capacity) + " GB");  // the room its virtual disks may take
    group.set_prop("Comments", "");
    const std::string monitor_name = "\\Hardware\\Rack 1\\Enclosure 1\\Environmental Monitor";
    if (model.find_by_name(*sys, type::monitor, monitor_name) == nullptr) {
        Object& monitor = model.add(*sys, type::monitor, monitor_name);
        monitor.set_prop("Operational_State", "Good");
        monitor.set_prop("Temperature", "22 C");
        monitor.set_prop("Warning_Threshold", "40 C");
        monitor.set_prop("Critical_Threshold", "50 C");
        monitor.set_prop("Comments", "");
    }
    return Outcome::done("Storage system " + sys->self.name + " initialized");
}

Outcome set_system(Model& model, const Request& req, System*) {
    System* sys = model.find_system(req.get("ID"));
    if (sys == nullptr) return Outcome::fail("Storage system " + req.get("ID") + " does not exist", msgnum::not_found);
    if (!sys->initialized) return Outcome::fail("Storage system is not initialized", msgnum::not_initialized);
    if (Outcome common = check_common(model, req, *sys); !common.ok) return common;
    apply_common(req, *sys);
    return Outcome::done();
}

Outcome delete_system(Model& model, const Request& req, System*) {
    System* sys = model.find_system(req.get("ID"));
    if (sys == nullptr) return Outcome::fail("Storage system " + req.get("ID") + " does not exist", msgnum::not_found);
    if (!sys->initialized) return Outcome::fail("Storage system is not initialized", msgnum::not_initialized);
    // Uninitializing keeps the hardware (disks, controllers, world wide
    // names) and forgets every configured object.
    std::vector<Object> kept;
    for (Object& o : sys->objects) {
        if (o.type == type::disk) {
            o.name = disk_name(ungrouped, o.name);
            o.set_prop("Disk_Group", ungrouped);
            kept.push_back(std::move(o));
        } else if (o.type == type::power || o.type == type::wwns) {
            kept.push_back(std::move(o));
        }
    }
    sys->objects = std::move(kept);
    model.touch();
    sys->initialized = false;
    sys->self.name = uninitialized_name;
    sys->self.sections.clear();
    sys->self.set_prop("Operational_State", "Uninitialized");
    sys->self.set_prop("Console_LUN_ID", "");
    sys->self.set_prop("Comments", "");
    // Groups on other systems that replicated to this one lose their partner.
    for (System& other : model.systems) {
        for (Object& o : other.objects) {
            if (o.type == type::dr_group && o.prop("destscellid") == sys->self.id) o.set_prop("destscellid", "");
        }
    }
    return Outcome::done();
}

}  // namespace

void register_system_handlers(Engine& engine) {
    engine.on("Create", type::system, create_system);
    engine.on("Set", type::system, set_system);
    engine.on("Delete", type::system, delete_system);
}

}  // namespace talosim
