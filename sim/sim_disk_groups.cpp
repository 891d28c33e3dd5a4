// Change handlers for disk groups: ADD DISK_GROUP (Create), SET DISK_GROUP
// and DELETE DISK_GROUP.
//
// A disk group "\Disk Groups\<name>" is made of disks that were in
// "\Disk Groups\Ungrouped Disks" and of its disk type: `DeviceCount` of
// them, all such disks when it is left out, and at least two. A disk moves
// with its last name part: "\Disk Groups\Ungrouped Disks\Disk 021" becomes
// "\Disk Groups\<name>\Disk 021". `AddDiskCount` moves more ungrouped disks
// in, `DeleteDiskID` moves one back out as long as the group keeps two and
// the room its virtual disks take; deleting the group moves them all back.
// `Total_Disks` and `Total_Capacity` follow the disks. What a Create leaves
// out reads as: disk type "Online", spare policy "Single", occupancy alarm
// "95 %", no comment.
#include <cstddef>
#include <vector>

#include "sim_capacity.h"
#include "sim_changes.h"

namespace talosim {

namespace {

constexpr unsigned long min_group_disks = 2;

void move_disk(Object& disk, std::string_view group) {
    size_t slash = disk.name.rfind('\\');
    disk.name = std::string(group) + disk.name.substr(slash == std::string::npos ? 0 : slash);
    disk.set_prop("Disk_Group", group);
}

// Indices (the object list may grow later) of ungrouped disks of that type;
// any type when `disk_type` is empty.
std::vector<size_t> ungrouped_disks(const System& sys, std::string_view disk_type) {
    std::vector<size_t> out;
    for (size_t i = 0; i < sys.objects.size(); ++i) {
        const Object& o = sys.objects[i];
        if (o.type == type::disk && o.prop("Disk_Group") == ungrouped && (disk_type.empty() || o.prop("Disk_Type") == disk_type))
            out.push_back(i);
    }
    return out;
}

Outcome check_choice(const Request& req, std::string_view sentence, std::initializer_list<std::string_view> choices,
                     std::string& value) {
    if (!req.has(sentence)) return Outcome::done();
    std::string known;
    for (std::string_view c : choices) {
        if (req.get(sentence) == c) {
            value = c;
            return Outcome::done();
        }
        known += (known.empty() ? "" : ", ") + std::string(c);
    }
    return Outcome::fail(std::string(sentence) + " \"" + req.get(sentence) + "\" is not one of " + known,
                         msgnum::invalid_parameter);
}

// `comments`, `occupancyalarmlevel` and `SparePolicy`, shared by Create and Set.
Outcome apply_properties(const Request& req, Object& group) {
    if (Outcome o = check_comment(req); !o.ok) return o;
    if (req.has("occupancyalarmlevel")) {
        unsigned long level = 0;
        if (!read_number(req.get("occupancyalarmlevel"), 1, 100, level))
            return Outcome::fail("Occupancy alarm level must be 1 to 100", msgnum::invalid_parameter);
        group.set_prop("Occupancy_Alarm_Level", std::to_string(level) + " %");
    }
    std::string spare = group.prop("Disk_Failure_Protection_Level");
    if (Outcome o = check_choice(req, "SparePolicy", {"None", "Single", "Double"}, spare); !o.ok) return o;
    group.set_prop("Disk_Failure_Protection_Level", spare);
    if (req.has("comments")) group.set_prop("Comments", req.get("comments"));
    return Outcome::done();
}

Outcome too_few_disks(std::string_view disk_type, unsigned long count, size_t available) {
    const std::string free = std::to_string(available) + " ungrouped disks of type " + std::string(disk_type) + " are free";
    if (count < min_group_disks)
        return Outcome::fail("A disk group needs at least " + std::to_string(min_group_disks) + " disks (" + free + ")",
                             msgnum::insufficient_disks);
    return Outcome::fail("Only " + free + ", not " + std::to_string(count), msgnum::insufficient_disks);
}

Outcome create_group(Model& model, const Request& req, System* sys) {
    if (Outcome o = check_system(sys, req); !o.ok) return o;
    if (Outcome o = check_new_name(req, true); !o.ok) return o;
    std::string folder;
    if (Outcome o = folder_below(model, *sys, req, root_groups, "Disk groups", folder); !o.ok) return o;
    if (folder != root_groups)
        return Outcome::fail("Disk groups can be created only in " + std::string(root_groups), msgnum::invalid_parameter);
    const std::string name = folder + req.get("Name");
    if (path_in_use(*sys, name)) return Outcome::fail("The name " + name + " is already in use", msgnum::name_in_use);
    Object group{std::string(type::disk_group), {}, name, {}, {}};
    group.set_prop("Total_Disks", "0");
    group.set_prop("Disk_Failure_Protection_Level", "Single");
    std::string disk_type = "Online";
    if (Outcome o = check_choice(req, "diskgrpdisktype", {"Online", "Near-Online"}, disk_type); !o.ok) return o;
    group.set_prop("DiskGroup_DiskType", disk_type);
    group.set_prop("Occupancy_Alarm_Level", "95 %");
    group.set_prop("Total_Capacity", gigabytes(0));
    group.set_prop("Comments", "");
    if (Outcome o = apply_properties(req, group); !o.ok) return o;

    std::vector<size_t> disks = ungrouped_disks(*sys, disk_type);
    unsigned long count = disks.size();
    if (req.has("DeviceCount") && !read_number(req.get("DeviceCount"), 0, 100000, count))
        return Outcome::fail("Device count is not a number", msgnum::invalid_parameter);
    if (count < min_group_disks || count > disks.size()) return too_few_disks(disk_type, count, disks.size());

    unsigned long capacity = 0;
    for (unsigned long i = 0; i < count; ++i) {
        Object& disk = sys->objects[disks[i]];
        move_disk(disk, name);
        capacity += leading_number(disk.prop("Capacity"));
    }
    group.set_prop("Total_Disks", std::to_string(count));
    group.set_prop("Total_Capacity", gigabytes(capacity));
    Object& added = model.add(*sys, type::disk_group, name);
    added.props = std::move(group.props);
    return Outcome::done("Disk group " + name + " created with " + std::to_string(count) + " disks");
}

Outcome set_group(Model& model, const Request& req, System* sys) {
    if (Outcome o = check_system(sys, req); !o.ok) return o;
    Object* group = nullptr;
    if (Outcome o = find_named(model, *sys, req, "ID", type::disk_group, "Disk group", group); !o.ok) return o;
    Object updated = *group;
    if (Outcome o = check_new_name(req, false); !o.ok) return o;
    if (req.has("Name")) {
        updated.name = parent_path(group->name) + req.get("Name");
        if (updated.name != group->name && path_in_use(*sys, updated.name))
            return Outcome::fail("The name " + updated.name + " is already in use", msgnum::name_in_use);
    }
    if (Outcome o = apply_properties(req, updated); !o.ok) return o;

    unsigned long disks = leading_number(group->prop("Total_Disks"));
    unsigned long capacity = leading_number(group->prop("Total_Capacity"));
    std::vector<size_t> added;
    if (req.has("AddDiskCount")) {
        const std::string& disk_type = group->prop("DiskGroup_DiskType");
        std::vector<size_t> free = ungrouped_disks(*sys, disk_type);
        unsigned long count = 0;
        if (!read_number(req.get("AddDiskCount"), 1, 100000, count))
            return Outcome::fail("The number of disks to add must be 1 or more", msgnum::invalid_parameter);
        if (count > free.size())
            return Outcome::fail("Only " + std::to_string(free.size()) + " ungrouped disks of type " + disk_type +
                                     " are left to add to " + group->name,
                                 msgnum::insufficient_disks);
        added.assign(free.begin(), free.begin() + static_cast<std::ptrdiff_t>(count));
        disks += count;
        for (size_t i : added) capacity += leading_number(sys->objects[i].prop("Capacity"));
    }
    Object* removed = nullptr;
    if (req.has("DeleteDiskID")) {
        if (Outcome o = find_named(model, *sys, req, "DeleteDiskID", type::disk, "Disk", removed); !o.ok) return o;
        if (removed->prop("Disk_Group") != group->name)
            return Outcome::fail("Disk " + removed->name + " is not in disk group " + group->name, msgnum::invalid_parameter);
        if (disks < min_group_disks + 1)
            return Outcome::fail("Disk group " + group->name + " must keep at least " + std::to_string(min_group_disks) +
                                     " disks",
                                 msgnum::insufficient_disks);
        unsigned long less = leading_number(removed->prop("Capacity"));
        unsigned long used = used_gigabytes(*sys, group->name);
        if (capacity < less || capacity - less < used)
            return Outcome::fail("Without disk " + removed->name + " disk group " + group->name +
                                     " could not hold its virtual disks (" + gigabytes(used) + " in use)",
                                 msgnum::insufficient_space);
        disks -= 1;
        capacity -= less;
    }

    const std::string old_name = group->name;
    updated.set_prop("Total_Disks", std::to_string(disks));
    updated.set_prop("Total_Capacity", gigabytes(capacity));
    for (size_t i : added) move_disk(sys->objects[i], old_name);
    if (removed != nullptr) move_disk(*removed, ungrouped);
    *group = std::move(updated);
    if (group->name != old_name) {
        const std::string new_name = group->name;
        rename_below(*sys, old_name + "\\", new_name + "\\");
        for (Object& o : sys->objects)
            if ((o.type == type::disk || o.type == type::vdisk) && o.prop("Disk_Group") == old_name)
                o.set_prop("Disk_Group", new_name);
    }
    return Outcome::done();
}

Outcome delete_group(Model& model, const Request& req, System* sys) {
    if (Outcome o = check_system(sys, req); !o.ok) return o;
    Object* group = nullptr;
    if (Outcome o = find_named(model, *sys, req, "ID", type::disk_group, "Disk group", group); !o.ok) return o;
    int vdisks = 0;
    for (const Object* vd : model.list(*sys, type::vdisk)) vdisks += vd->prop("Disk_Group") == group->name;
    if (vdisks > 0)
        return Outcome::fail("Disk group " + group->name + " still holds " + std::to_string(vdisks) +
                                 (vdisks == 1 ? " virtual disk" : " virtual disks") + "; delete the virtual disks first",
                             msgnum::group_not_empty);
    const std::string name = group->name, id = group->id;
    for (Object& o : sys->objects)
        if (o.type == type::disk && o.prop("Disk_Group") == name) move_disk(o, ungrouped);
    model.remove(*sys, id);
    return Outcome::done();
}

}  // namespace

void register_disk_group_handlers(Engine& engine) {
    engine.on("Create", type::disk_group, create_group);
    engine.on("Set", type::disk_group, set_group);
    engine.on("Delete", type::disk_group, delete_group);
}

}  // namespace talosim
