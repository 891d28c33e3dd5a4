// Change handlers for virtual disks: ADD VDISK (Create), ADD SNAPSHOT and
// ADD COPY (Copy of type "Snapshot" or "Clone"), SET VDISK and DELETE VDISK.
//
// A virtual disk is a family "<folder><name>": its active member
// "<family>\ACTIVE" is the disk that Create or a clone makes, and each
// snapshot is a member "<family>\<snapshot name>" in the family's disk
// group with the active member's size. The folder is the one `FolderID`
// names, else "\Virtual Disks\". A clone starts a family of its own, in the
// disk group `GroupID` names, else its source's.
//
// What a Create leaves out reads as: 1 GB, VRAID5, mirrored write-back,
// read cache on, no write protection, no OS unit id, no preferred path, a
// world wide LUN name the simulator makes up, no comment, and the disk group
// "\Disk Groups\Default Disk Group" (else the system's first one). A
// snapshot is demand allocated unless `spaceefficiency` is "1"; it takes no
// space until then, a fully allocated one its size. `creationmode` and
// `deletionmode` may say "asynchronous": the change is made at once all the
// same, so the next read shows it.
//
// Renaming the active member renames the family, every member with it;
// renaming a snapshot renames that member only. A Set that adds the disk to
// a DR group or takes it out is a membership change (sim_dr_groups.cpp).
#include <cctype>
#include <span>
#include <vector>

#include "sim_capacity.h"
#include "sim_changes.h"
#include "sim_dr_groups.h"

namespace talosim {

namespace {

struct Choice {
    std::string_view sent;   // as the request carries it
    std::string_view shown;  // as a read shows it
};

struct ChoiceOption {
    std::string_view sentence;
    std::string_view prop;
    std::span<const Choice> choices;
};

constexpr Choice write_cache[] = {{"Mirrored Write-Back", "Mirrored write-back"},
                                  {"Unmirrored Write-Back", "Unmirrored write-back"}};
constexpr Choice read_cache[] = {{"On", "On"}, {"Off", "Off"}};
constexpr Choice preferred_path[] = {{"A_FAILOVER", "Path A-Failover only"},     {"A_BOTH", "Path A-Failover/failback"},
                                     {"B_FAILOVER", "Path B-Failover only"},     {"B_BOTH", "Path B-Failover/failback"},
                                     {"NO_PREFERENCE", "No preference"}};
constexpr Choice write_protect[] = {{"YES", "Yes"}, {"NO", "No"}};
constexpr Choice redundancy[] = {{"NONE", "VRAID0"}, {"MIRROR", "VRAID1"}, {"PARITY", "VRAID5"}};

constexpr ChoiceOption settings[] = {{"WriteCache", "Write_cache_Policy", write_cache},
                                     {"ReadCache", "Read_cache_Policy", read_cache},
                                     {"PrefPath", "Preferred_path", preferred_path},
                                     {"WriteProtect", "Write_Protect", write_protect}};
constexpr ChoiceOption redundancy_option{"RedundType", "Redundancy", redundancy};

constexpr unsigned long max_size = 65535;

bool same_text(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i]))) return false;
    return true;
}

Outcome apply_choice(const Request& req, const ChoiceOption& option, Object& vd) {
    if (!req.has(option.sentence)) return Outcome::done();
    const std::string& value = req.get(option.sentence);
    std::string known;
    for (const Choice& c : option.choices) {
        if (same_text(c.sent, value)) {
            vd.set_prop(option.prop, c.shown);
            return Outcome::done();
        }
        known += (known.empty() ? "" : ", ") + std::string(c.sent);
    }
    return Outcome::fail(std::string(option.sentence) + " \"" + value + "\" is not one of " + known, msgnum::invalid_parameter);
}

// `RavenID`, `lunwwn` (when given twice, the first in the request, which is
// the one typed last) and `comments`, shared by every kind of request.
Outcome apply_identity(const System& sys, const Request& req, Object& vd) {
    unsigned long os_unit = 0;
    if (req.has("RavenID")) {
        if (!read_number(req.get("RavenID"), 0, 32767, os_unit))
            return Outcome::fail("OS unit ID must be 0 to 32767", msgnum::invalid_parameter);
        vd.set_prop("OS_Unit_ID", std::to_string(os_unit));
    }
    if (req.has("lunwwn")) {
        std::string wwn;
        if (!read_world_wide_name(req.get("lunwwn"), 32, wwn) || wwn[0] != '6')
            return Outcome::fail("World wide LUN name \"" + req.get("lunwwn") +
                                     "\" is not of the form 6nnn-nnnn-nnnn-nnnn-nnnn-nnnn-nnnn-nnnn",
                                 msgnum::invalid_parameter);
        if (lun_wwn_in_use(sys, wwn, vd.id))
            return Outcome::fail("World wide LUN name " + wwn + " is already in use", msgnum::wwn_in_use);
        vd.set_prop("World_Wide_LUN_Name", wwn);
    }
    if (Outcome comment = check_comment(req); !comment.ok) return comment;
    if (req.has("comments")) vd.set_prop("Comments", req.get("comments"));
    return Outcome::done();
}

Outcome apply_settings(const System& sys, const Request& req, Object& vd) {
    for (const ChoiceOption& option : settings)
        if (Outcome o = apply_choice(req, option, vd); !o.ok) return o;
    return apply_identity(sys, req, vd);
}

// A member with every property a read shows, in the order reads show them.
Object new_member(std::string name, std::string_view group) {
    Object vd{std::string(type::vdisk), {}, std::move(name), {}, {}};
    vd.set_prop("Family_Name", family_of(vd));
    vd.set_prop("Disk_Group", group);
    vd.set_prop("Capacity_Req", gigabytes(1));
    vd.set_prop("Redundancy", "VRAID5");
    vd.set_prop("Write_cache_Policy", "Mirrored write-back");
    vd.set_prop("Read_cache_Policy", "On");
    vd.set_prop("Write_Protect", "No");
    vd.set_prop("OS_Unit_ID", "");
    vd.set_prop("Preferred_path", "No preference");
    vd.set_prop("World_Wide_LUN_Name", "");
    return vd;
}

// Ends the properties as reads end them: the DR mode, then the comment.
void finish_member(Object& vd) {
    std::string comments = vd.prop("Comments");
    std::erase_if(vd.props, [](const Field& f) { return f.name == "Comments"; });
    vd.set_prop("drmmode", "");
    vd.props.push_back({"Comments", std::move(comments)});
}

Outcome find_group(Model& model, System& sys, const Request& req, std::string_view fallback, Object*& group) {
    if (req.has("GroupID")) return find_named(model, sys, req, "GroupID", type::disk_group, "Disk group", group);
    group = model.find_by_name(sys, type::disk_group, fallback);
    if (group == nullptr && fallback == default_group) {
        std::vector<const Object*> groups = model.list(sys, type::disk_group);
        if (!groups.empty()) group = model.find(sys, type::disk_group, groups.front()->id);
    }
    if (group == nullptr) return Outcome::fail("Disk group " + std::string(fallback) + " does not exist", msgnum::not_found);
    return Outcome::done();
}

Outcome check_space(const System& sys, const Object& group, unsigned long raw) {
    unsigned long available = free_gigabytes(sys, group);
    if (raw > available)
        return Outcome::fail("Not enough free space in disk group " + group.name + ": " + gigabytes(raw) + " needed, " +
                                 gigabytes(available) + " free",
                             msgnum::insufficient_space);
    return Outcome::done();
}

// Adds the checked member to the system, with a world wide LUN name made
// up when the request gave none.
Outcome commit(Model& model, System& sys, Object vd, std::string_view what) {
    if (vd.prop("World_Wide_LUN_Name").empty()) vd.set_prop("World_Wide_LUN_Name", new_lun_wwn(model, sys));
    Object& added = model.add(sys, type::vdisk, vd.name);
    added.props = std::move(vd.props);
    return Outcome::done(std::string(what) + " " + added.name + " created");
}

Outcome create_vdisk(Model& model, const Request& req, System* sys) {
    if (Outcome o = check_system(sys, req); !o.ok) return o;
    if (Outcome o = check_new_name(req, true); !o.ok) return o;
    std::string folder;
    if (Outcome o = folder_below(model, *sys, req, root_vdisks, "Virtual disks", folder); !o.ok) return o;
    const std::string family = folder + req.get("Name");
    if (path_in_use(*sys, family)) return Outcome::fail("The name " + family + " is already in use", msgnum::name_in_use);
    Object* group = nullptr;
    if (Outcome o = find_group(model, *sys, req, default_group, group); !o.ok) return o;

    Object vd = new_member(family + std::string(active_suffix), group->name);
    unsigned long size = 1;
    if (req.has("Size") && !read_number(req.get("Size"), 1, max_size, size))
        return Outcome::fail("Size must be 1 to " + std::to_string(max_size) + " GB", msgnum::invalid_parameter);
    vd.set_prop("Capacity_Req", gigabytes(size));
    if (Outcome o = apply_choice(req, redundancy_option, vd); !o.ok) return o;
    if (Outcome o = apply_settings(*sys, req, vd); !o.ok) return o;
    if (Outcome o = check_mode(req, "creationmode"); !o.ok) return o;
    finish_member(vd);
    if (Outcome o = check_space(*sys, *group, raw_gigabytes(vd)); !o.ok) return o;
    return commit(model, *sys, std::move(vd), "Virtual disk");
}

// What a snapshot and a clone both check first: the source, the new name
// and the creation mode.
Outcome check_copy(Model& model, System& sys, const Request& req, Object*& source) {
    if (Outcome o = find_named(model, sys, req, "StorageID", type::vdisk, "Virtual disk", source); !o.ok) return o;
    if (Outcome o = check_new_name(req, true); !o.ok) return o;
    return check_mode(req, "creationmode");
}

Outcome snapshot_vdisk(Model& model, const Request& req, System* sys) {
    if (Outcome o = check_system(sys, req); !o.ok) return o;
    Object* source = nullptr;
    if (Outcome o = check_copy(model, *sys, req, source); !o.ok) return o;
    if (!is_active_member(*source))
        return Outcome::fail("A snapshot can be taken only of an active virtual disk, not of " + source->name,
                             msgnum::not_allowed);
    if (req.get("Name") == "ACTIVE")
        return Outcome::fail("ACTIVE names a family's active member, not a snapshot", msgnum::invalid_parameter);
    // A snapshot lives in its source's family and disk group whatever folder
    // or group the request names; those must exist all the same.
    Object* unused = nullptr;
    if (req.has("FolderID"))
        if (Outcome o = find_named(model, *sys, req, "FolderID", type::folder, "Folder", unused); !o.ok) return o;
    if (req.has("GroupID"))
        if (Outcome o = find_named(model, *sys, req, "GroupID", type::disk_group, "Disk group", unused); !o.ok) return o;
    const std::string name = family_of(*source) + "\\" + req.get("Name");
    if (path_in_use(*sys, name)) return Outcome::fail("The name " + name + " is already in use", msgnum::name_in_use);

    std::string allocation = "Demand allocated";
    if (req.has("spaceefficiency")) {
        const std::string& policy = req.get("spaceefficiency");
        if (policy != "0" && policy != "1")
            return Outcome::fail("spaceefficiency must be 0 (demand allocated) or 1 (fully allocated)", msgnum::invalid_parameter);
        if (policy == "1") allocation = "Fully allocated";
    }
    Object snap = new_member(name, source->prop("Disk_Group"));
    for (std::string_view copied : {"Capacity_Req", "Redundancy", "Write_cache_Policy", "Read_cache_Policy"})
        snap.set_prop(copied, source->prop(copied));
    if (Outcome o = apply_choice(req, redundancy_option, snap); !o.ok) return o;
    if (Outcome o = apply_identity(*sys, req, snap); !o.ok) return o;
    snap.set_prop("Snapshot_Type", allocation);
    finish_member(snap);
    Object* group = model.find_by_name(*sys, type::disk_group, snap.prop("Disk_Group"));
    if (group != nullptr)
        if (Outcome o = check_space(*sys, *group, raw_gigabytes(snap)); !o.ok) return o;
    return commit(model, *sys, std::move(snap), "Snapshot");
}

Outcome clone_vdisk(Model& model, const Request& req, System* sys) {
    if (Outcome o = check_system(sys, req); !o.ok) return o;
    Object* source = nullptr;
    if (Outcome o = check_copy(model, *sys, req, source); !o.ok) return o;
    std::string folder;
    if (Outcome o = folder_below(model, *sys, req, root_vdisks, "Virtual disks", folder); !o.ok) return o;
    const std::string family = folder + req.get("Name");
    if (path_in_use(*sys, family)) return Outcome::fail("The name " + family + " is already in use", msgnum::name_in_use);
    Object* group = nullptr;
    if (Outcome o = find_group(model, *sys, req, source->prop("Disk_Group"), group); !o.ok) return o;

    Object clone = new_member(family + std::string(active_suffix), group->name);
    for (std::string_view copied : {"Capacity_Req", "Redundancy", "Write_cache_Policy", "Read_cache_Policy", "Preferred_path"})
        clone.set_prop(copied, source->prop(copied));
    if (Outcome o = apply_choice(req, redundancy_option, clone); !o.ok) return o;
    if (Outcome o = apply_identity(*sys, req, clone); !o.ok) return o;
    finish_member(clone);
    if (Outcome o = check_space(*sys, *group, raw_gigabytes(clone)); !o.ok) return o;
    return commit(model, *sys, std::move(clone), "Clone");
}

Outcome set_vdisk(Model& model, const Request& req, System* sys) {
    if (Outcome o = check_system(sys, req); !o.ok) return o;
    Object* vd = nullptr;
    if (Outcome o = find_named(model, *sys, req, "ID", type::vdisk, "Virtual disk", vd); !o.ok) return o;
    if (is_dr_membership_change(req)) return change_dr_membership(model, req, *sys, vd->id);
    Object updated = *vd;
    if (Outcome o = apply_settings(*sys, req, updated); !o.ok) return o;

    if (req.has("Size")) {
        unsigned long size = 0;
        if (!read_number(req.get("Size"), 1, max_size, size))
            return Outcome::fail("Size must be 1 to " + std::to_string(max_size) + " GB", msgnum::invalid_parameter);
        if (!is_active_member(*vd))
            return Outcome::fail("A snapshot has the size of its virtual disk; " + vd->name + " cannot be resized",
                                 msgnum::not_allowed);
        unsigned long old_size = leading_number(vd->prop("Capacity_Req"));
        if (size < old_size)
            return Outcome::fail("A virtual disk cannot shrink: " + gigabytes(size) + " is less than its " + gigabytes(old_size),
                                 msgnum::not_allowed);
        updated.set_prop("Capacity_Req", gigabytes(size));
        unsigned long more = raw_gigabytes(updated) - raw_gigabytes(*vd);
        if (const Object* group = model.find_by_name(*sys, type::disk_group, vd->prop("Disk_Group")))
            if (Outcome o = check_space(*sys, *group, more); !o.ok) return o;
    }

    std::string old_family, new_family;  // set when the whole family is renamed
    if (Outcome o = check_new_name(req, false); !o.ok) return o;
    if (req.has("Name")) {
        const std::string& name = req.get("Name");
        if (is_active_member(*vd)) {
            old_family = family_of(*vd);
            new_family = parent_path(old_family) + name;
            if (new_family != old_family && path_in_use(*sys, new_family))
                return Outcome::fail("The name " + new_family + " is already in use", msgnum::name_in_use);
        } else {
            if (name == "ACTIVE")
                return Outcome::fail("ACTIVE names a family's active member, not a snapshot", msgnum::invalid_parameter);
            updated.name = family_of(*vd) + "\\" + name;
            if (updated.name != vd->name && path_in_use(*sys, updated.name))
                return Outcome::fail("The name " + updated.name + " is already in use", msgnum::name_in_use);
        }
    }

    *vd = std::move(updated);
    if (!old_family.empty()) rename_below(*sys, old_family + "\\", new_family + "\\");
    return Outcome::done();
}

Outcome delete_vdisk(Model& model, const Request& req, System* sys) {
    if (Outcome o = check_system(sys, req); !o.ok) return o;
    Object* vd = nullptr;
    if (Outcome o = find_named(model, *sys, req, "ID", type::vdisk, "Virtual disk", vd); !o.ok) return o;
    if (Outcome o = check_mode(req, "deletionmode"); !o.ok) return o;
    unsigned luns = 0;
    bool snapshots = false, replicated = false;
    const std::string family = family_of(*vd);
    for (const Object& o : sys->objects) {
        if (o.type == type::lun && o.prop("StorageID") == vd->id) ++luns;
        if (o.type == type::vdisk && o.id != vd->id && is_active_member(*vd) && family_of(o) == family) snapshots = true;
        if (o.type == type::dr_group)
            for (const Field& f : o.props) replicated = replicated || (f.name == "memberid" && f.value == vd->id);
    }
    if (luns > 0)
        return Outcome::fail("Virtual disk " + vd->name + " is still presented to hosts (" + std::to_string(luns) +
                                 (luns == 1 ? " LUN" : " LUNs") + "); delete its LUNs first",
                             msgnum::vdisk_has_luns);
    if (snapshots)
        return Outcome::fail("Virtual disk " + vd->name + " still has snapshots; delete the snapshots first",
                             msgnum::vdisk_has_snapshots);
    if (replicated)
        return Outcome::fail("Virtual disk " + vd->name + " is a member of a DR group; remove it from the group first",
                             msgnum::vdisk_in_dr_group);
    model.remove(*sys, vd->id);
    return Outcome::done();
}

}  // namespace

void register_storage_handlers(Engine& engine) {
    engine.on("Create", type::vdisk, create_vdisk);
    engine.on("Copy", "Snapshot", snapshot_vdisk);
    engine.on("Copy", "Clone", clone_vdisk);
    engine.on("Set", type::vdisk, set_vdisk);
    engine.on("Delete", type::vdisk, delete_vdisk);
}

}  // namespace talosim
