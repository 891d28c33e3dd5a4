// Change handlers for DR groups (version-3 createobject, setproperties and
// deleteobject of "drmgroup") and the membership changes of their virtual
// disks.
//
// A DR group is a pair of groups of one name: one on its source system
// (drmmode "source") and one on its destination system (drmmode
// "destination"). Each names the other's system in `destscellid` and lists
// the members on its own system (`memberid`). A member is an active virtual
// disk of the source (drmmode "source") with a copy on the destination, a
// write-protected virtual disk of its own (drmmode "destination"); each
// names the other through `remotescellid` and `remotevirtualdiskid`.
//
// createobject makes both groups and the copy of the first member:
//   objectname     the name, below the folder `objectid` names unless that
//                  is the default folder "0808...0808"
//   virtualdiskid  the first member: an active virtual disk in no group
//   destscellid    the destination: another initialized system
//   remotevirtualdiskname  the copy's name: empty for the source's own, a
//                  path as given ("\ACTIVE" added when missing), or a bare
//                  name below "\Virtual Disks\"; its folder must exist there
//   destdiskgroupid  the copy's disk group on the destination; forty zeros
//                  for its default disk group
//   drmmode        "source" (or empty); `drcomments` at most 128 characters
// A new pair starts with access mode "disable", write mode "synchronous",
// resumed, failsafe disabled.
//
// setproperties changes both groups of the pair alike, from either side:
// `accessmode` readonly|disable, `writemode` synchronous|asynchronous,
// `failsafe` enable|disable (read as "enabled"|"disabled"), `suspend`
// suspend|resume (read as `suspendstate`), `drcomments` (read as
// `comments`), `objectname` (a new name; a folder part stays). `sitefailover`
// swaps the roles: both groups and all their members exchange "source" and
// "destination".
//
// deleteobject removes both groups; it is refused while the group has
// members.
//
// Member changes come as a Set of the member virtual disk ("Storage") and
// are made on the group's source side only: `addtogroupid` (with
// `destdiskgroupid` and `remotevirtualdiskname`, as above) adds a member the
// way createobject adds the first; `removefromdrgroup` "delete" takes it out
// and deletes its copy (refused while the copy has LUNs or snapshots),
// "detach" takes it out and leaves the copy as a virtual disk of its own.
// Either way both disks lose their DR mode and links, and a group may be
// left with no members. Other sentences of such a Set are not applied.
#include "sim_dr_groups.h"

#include <span>

#include "sim_capacity.h"
#include "sim_changes.h"

namespace talosim {

namespace {

constexpr std::string_view default_folder_id = "0808080808080808080808080808080808080808";
constexpr std::string_view no_disk_group_id = "0000000000000000000000000000000000000000";

struct Choice {
    std::string_view sent;
    std::string_view shown;
};

struct Setting {
    std::string_view sentence;
    std::string_view prop;
    std::span<const Choice> choices;
};

constexpr Choice access_modes[] = {{"readonly", "readonly"}, {"disable", "disable"}};
constexpr Choice write_modes[] = {{"synchronous", "synchronous"}, {"asynchronous", "asynchronous"}};
constexpr Choice failsafe_modes[] = {{"enable", "enabled"}, {"disable", "disabled"}};
constexpr Choice suspend_states[] = {{"suspend", "suspend"}, {"resume", "resume"}};

constexpr Setting settings[] = {{"accessmode", "accessmode", access_modes},
                                {"writemode", "writemode", write_modes},
                                {"failsafe", "failsafe", failsafe_modes},
                                {"suspend", "suspendstate", suspend_states}};

// What both groups of a pair share; the DR mode and the members are each side's own.
constexpr std::string_view shared_props[] = {"accessmode", "writemode", "failsafe", "suspendstate", "comments"};

bool has_member(const Object& group, std::string_view id) {
    for (const Field& f : group.props)
        if (f.name == "memberid" && f.value == id) return true;
    return false;
}

size_t member_count(const Object& group) {
    size_t n = 0;
    for (const Field& f : group.props) n += f.name == "memberid";
    return n;
}

void remove_member(Object& group, std::string_view id) {
    std::erase_if(group.props, [&](const Field& f) { return f.name == "memberid" && f.value == id; });
}

// The other group of the pair, or null; `other` is its system (null when
// that system is gone).
Object* partner_of(Model& model, const System& sys, const Object& group, System*& other) {
    other = model.find_system(group.prop("destscellid"));
    if (other == nullptr) return nullptr;
    for (Object& o : other->objects)
        if (o.type == type::dr_group && o.name == group.name && o.prop("destscellid") == sys.self.id) return &o;
    return nullptr;
}

// The group of the system that lists the virtual disk as a member, or null.
Object* group_of(System& sys, std::string_view vdisk_id) {
    for (Object& o : sys.objects)
        if (o.type == type::dr_group && has_member(o, vdisk_id)) return &o;
    return nullptr;
}

// The links go where reads show them: after the DR mode, before the comment.
void link(Object& vdisk, std::string_view mode, std::string_view remote_system, std::string_view remote_vdisk) {
    vdisk.set_prop_before("drmmode", mode, "Comments");
    vdisk.set_prop_before("remotescellid", remote_system, "Comments");
    vdisk.set_prop_before("remotevirtualdiskid", remote_vdisk, "Comments");
}

void unlink(Object& vdisk) {
    vdisk.set_prop("drmmode", "");
    vdisk.erase_prop("remotescellid");
    vdisk.erase_prop("remotevirtualdiskid");
}

std::string swapped_role(std::string_view mode) {
    if (mode == "source") return "destination";
    if (mode == "destination" || mode == "slave") return "source";
    return std::string(mode);
}

void swap_roles(Model& model, System& sys, Object& group) {
    group.set_prop("drmmode", swapped_role(group.prop("drmmode")));
    for (const Field& f : group.props) {
        if (f.name != "memberid") continue;
        if (Object* vdisk = model.find(sys, type::vdisk, f.value)) vdisk->set_prop("drmmode", swapped_role(vdisk->prop("drmmode")));
    }
}

// The copy's member name on the destination.
Outcome copy_name(Model& model, const Request& req, const Object& source, System& dest, std::string& out) {
    std::string name = req.get("remotevirtualdiskname");
    if (name.empty()) {
        name = source.name;
    } else {
        if (name.find('\\') == std::string::npos) name = std::string(root_vdisks) + name;
        if (!name.ends_with(active_suffix)) name += active_suffix;
    }
    const std::string family = name.substr(0, name.size() - active_suffix.size());
    const std::string folder = parent_path(family);
    if (folder.compare(0, root_vdisks.size(), root_vdisks) != 0)
        return Outcome::fail("The copy of a DR member must lie below " + std::string(root_vdisks) + ", not at " + family,
                             msgnum::invalid_parameter);
    if (std::string complaint = check_object_name(family.substr(folder.size())); !complaint.empty())
        return Outcome::fail(complaint, msgnum::invalid_parameter);
    if (model.find_by_name(dest, type::folder, folder) == nullptr)
        return Outcome::fail("Folder " + folder + " does not exist on " + dest.self.name, msgnum::not_found);
    if (path_in_use(dest, family))
        return Outcome::fail("The name " + family + " is already in use on " + dest.self.name, msgnum::name_in_use);
    out = name;
    return Outcome::done();
}

// The copy's disk group: one of the destination's, or its default one.
Outcome destination_group(Model& model, System& dest, const Request& req, const Object*& out) {
    const std::string& id = req.get("destdiskgroupid");
    if (id.empty() || id == no_disk_group_id) {
        out = model.find_by_name(dest, type::disk_group, default_group);
        if (out == nullptr) {
            std::vector<const Object*> groups = model.list(dest, type::disk_group);
            if (!groups.empty()) out = groups.front();
        }
        if (out == nullptr) return Outcome::fail("Storage system " + dest.self.name + " has no disk group", msgnum::not_found);
        return Outcome::done();
    }
    out = model.find(dest, type::disk_group, id);
    if (out != nullptr) return Outcome::done();
    for (const System& s : model.systems)
        if (const Object* elsewhere = model.find(s, type::disk_group, id))
            return Outcome::fail("Disk group " + elsewhere->name + " is on " + s.self.name +
                                     ", not on the destination system " + dest.self.name,
                                 msgnum::not_on_destination);
    return Outcome::fail("Disk group " + id + " does not exist", msgnum::not_found);
}

// A member checked and its copy made, neither in the model yet.
struct MemberPlan {
    std::string source_id;
    Object copy;
};

Outcome plan_member(Model& model, System& src, const Object& vdisk, System& dest, const Request& req, MemberPlan& plan) {
    if (!is_active_member(vdisk))
        return Outcome::fail("Only an active virtual disk can be replicated, not " + vdisk.name, msgnum::not_allowed);
    if (!vdisk.prop("drmmode").empty() || group_of(src, vdisk.id) != nullptr)
        return Outcome::fail("Virtual disk " + vdisk.name + " is already a member of a DR group", msgnum::member_in_use);
    std::string name;
    if (Outcome o = copy_name(model, req, vdisk, dest, name); !o.ok) return o;
    const Object* group = nullptr;
    if (Outcome o = destination_group(model, dest, req, group); !o.ok) return o;

    Object copy{std::string(type::vdisk), {}, name, vdisk.props, {}};
    copy.set_prop("Family_Name", family_of(copy));
    copy.set_prop("Disk_Group", group->name);
    copy.set_prop("Write_Protect", "Yes");
    copy.set_prop("OS_Unit_ID", "");
    copy.set_prop("Preferred_path", "No preference");
    const unsigned long needed = raw_gigabytes(copy), available = free_gigabytes(dest, *group);
    if (needed > available)
        return Outcome::fail("Not enough free space in disk group " + group->name + " of " + dest.self.name + ": " +
                                 gigabytes(needed) + " needed, " + gigabytes(available) + " free",
                             msgnum::insufficient_space);
    plan = {vdisk.id, std::move(copy)};
    return Outcome::done();
}

void commit_member(Model& model, System& src, const std::string& group_id, System& dest, MemberPlan plan) {
    plan.copy.set_prop("World_Wide_LUN_Name", new_lun_wwn(model, dest));
    Object& added = model.add(dest, type::vdisk, plan.copy.name);
    added.props = std::move(plan.copy.props);
    link(added, "destination", src.self.id, plan.source_id);
    const std::string copy_id = added.id;
    link(*model.find(src, type::vdisk, plan.source_id), "source", dest.self.id, copy_id);
    Object* group = model.find(src, type::dr_group, group_id);
    group->props.push_back({"memberid", plan.source_id});
    System* other = nullptr;
    if (Object* partner = partner_of(model, src, *group, other)) partner->props.push_back({"memberid", copy_id});
}

Outcome create_group(Model& model, const Request& req, System* sys) {
    if (Outcome o = check_system(sys, req); !o.ok) return o;
    const std::string& name = req.get("objectname");
    if (std::string complaint = check_object_name(name); !complaint.empty())
        return Outcome::fail(complaint, msgnum::invalid_parameter);
    std::string full = name;
    const std::string& folder_id = req.get("objectid");
    if (!folder_id.empty() && folder_id != default_folder_id) {
        const Object* folder = model.find(*sys, type::folder, folder_id);
        if (folder == nullptr) return Outcome::fail("Folder " + folder_id + " does not exist", msgnum::not_found);
        full = folder->name + name;
    }
    Object* vdisk = nullptr;
    if (Outcome o = find_named(model, *sys, req, "virtualdiskid", type::vdisk, "Virtual disk", vdisk); !o.ok) return o;
    const std::string& dest_id = req.get("destscellid");
    if (dest_id.empty()) return Outcome::fail("The request names no destination system (destscellid)", msgnum::invalid_parameter);
    System* dest = model.find_system(dest_id);
    if (dest == nullptr) return Outcome::fail("Storage system " + dest_id + " does not exist", msgnum::not_found);
    if (!dest->initialized)
        return Outcome::fail("Destination system " + dest->self.name + " is not initialized", msgnum::not_initialized);
    if (dest == sys)
        return Outcome::fail("A DR group replicates to another system, not to " + sys->self.name + " itself",
                             msgnum::not_allowed);
    const std::string& mode = req.get("drmmode");
    if (!mode.empty() && mode != "source")
        return Outcome::fail("A new DR group's drmmode must be source, not \"" + mode + "\"", msgnum::invalid_parameter);
    if (req.get("drcomments").size() > 128) return Outcome::fail("Comment too long, limit 128 characters", msgnum::invalid_parameter);
    for (System* on : {sys, dest})
        if (model.find_by_name(*on, type::dr_group, full) != nullptr)
            return Outcome::fail("The name " + full + " is already in use on " + on->self.name, msgnum::name_in_use);
    MemberPlan plan;
    if (Outcome o = plan_member(model, *sys, *vdisk, *dest, req, plan); !o.ok) return o;

    auto add_group = [&](System& on, const System& other, std::string_view role) {
        Object& g = model.add(on, type::dr_group, full);
        g.set_prop("destscellid", other.self.id);
        g.set_prop("drmmode", role);
        g.set_prop("accessmode", "disable");
        g.set_prop("writemode", "synchronous");
        g.set_prop("suspendstate", "resume");
        g.set_prop("failsafe", "disabled");
        g.set_prop("comments", req.get("drcomments"));
        return g.id;
    };
    const std::string group_id = add_group(*sys, *dest, "source");
    add_group(*dest, *sys, "destination");
    commit_member(model, *sys, group_id, *dest, std::move(plan));
    Outcome out = Outcome::done("DR group " + full + " created");
    out.content = element("objectid", group_id);
    return out;
}

Outcome set_group(Model& model, const Request& req, System* sys) {
    if (Outcome o = check_system(sys, req); !o.ok) return o;
    Object* group = nullptr;
    if (Outcome o = find_named(model, *sys, req, "objectid", type::dr_group, "DR group", group); !o.ok) return o;
    Object updated = *group;
    for (const Setting& s : settings) {
        if (!req.has(s.sentence)) continue;
        const std::string& value = req.get(s.sentence);
        const Choice* chosen = nullptr;
        std::string known;
        for (const Choice& c : s.choices) {
            if (c.sent == value) chosen = &c;
            known += (known.empty() ? "" : " or ") + std::string(c.sent);
        }
        if (chosen == nullptr)
            return Outcome::fail(std::string(s.sentence) + " must be " + known + ", not \"" + value + "\"",
                                 msgnum::invalid_parameter);
        updated.set_prop(s.prop, chosen->shown);
    }
    if (req.has("drcomments")) {
        if (req.get("drcomments").size() > 128) return Outcome::fail("Comment too long, limit 128 characters", msgnum::invalid_parameter);
        updated.set_prop("comments", req.get("drcomments"));
    }
    System* other = nullptr;
    Object* partner = partner_of(model, *sys, *group, other);
    if (req.has("objectname")) {
        const std::string& name = req.get("objectname");
        if (std::string complaint = check_object_name(name); !complaint.empty())
            return Outcome::fail(complaint, msgnum::invalid_parameter);
        updated.name = parent_path(group->name) + name;
        for (System* on : {sys, other})
            if (on != nullptr && updated.name != group->name && model.find_by_name(*on, type::dr_group, updated.name) != nullptr)
                return Outcome::fail("The name " + updated.name + " is already in use on " + on->self.name, msgnum::name_in_use);
    }
    const bool failover = req.has("sitefailover");
    if (failover && partner == nullptr)
        return Outcome::fail("DR group " + group->name + " has no destination system to fail over to", msgnum::not_allowed);

    *group = std::move(updated);
    if (partner != nullptr) {
        partner->name = group->name;
        for (std::string_view p : shared_props) partner->set_prop(p, group->prop(p));
    }
    if (failover) {
        swap_roles(model, *sys, *group);
        swap_roles(model, *other, *partner);
    }
    return Outcome::done();
}

Outcome delete_group(Model& model, const Request& req, System* sys) {
    if (Outcome o = check_system(sys, req); !o.ok) return o;
    Object* group = nullptr;
    if (Outcome o = find_named(model, *sys, req, "objectid", type::dr_group, "DR group", group); !o.ok) return o;
    if (size_t n = member_count(*group); n > 0)
        return Outcome::fail("DR group " + group->name + " still has " + std::to_string(n) + (n == 1 ? " member" : " members") +
                                 "; delete or detach them first",
                             msgnum::dr_group_has_members);
    System* other = nullptr;
    if (Object* partner = partner_of(model, *sys, *group, other)) model.remove(*other, std::string(partner->id));
    model.remove(*sys, std::string(group->id));
    return Outcome::done();
}

}  // namespace

bool is_dr_membership_change(const Request& req) { return req.has("addtogroupid") || req.has("removefromdrgroup"); }

Outcome change_dr_membership(Model& model, const Request& req, System& sys, const std::string& vdisk_id) {
    Object* vdisk = model.find(sys, type::vdisk, vdisk_id);
    if (vdisk == nullptr) return Outcome::fail("Virtual disk " + vdisk_id + " does not exist", msgnum::not_found);
    if (req.has("addtogroupid") && req.has("removefromdrgroup"))
        return Outcome::fail("A request adds a DR member or removes one, not both", msgnum::invalid_parameter);

    if (req.has("addtogroupid")) {
        Object* group = nullptr;
        if (Outcome o = find_named(model, sys, req, "addtogroupid", type::dr_group, "DR group", group); !o.ok) return o;
        if (group->prop("drmmode") != "source")
            return Outcome::fail("Members of DR group " + group->name + " are added on its source system", msgnum::not_allowed);
        System* dest = model.find_system(group->prop("destscellid"));
        if (dest == nullptr || !dest->initialized)
            return Outcome::fail("DR group " + group->name + " has no destination system", msgnum::not_allowed);
        MemberPlan plan;
        if (Outcome o = plan_member(model, sys, *vdisk, *dest, req, plan); !o.ok) return o;
        const std::string message = "Virtual disk " + vdisk->name + " added to DR group " + group->name;
        commit_member(model, sys, std::string(group->id), *dest, std::move(plan));
        return Outcome::done(message);
    }

    const std::string& how = req.get("removefromdrgroup");
    if (how != "delete" && how != "detach")
        return Outcome::fail("removefromdrgroup must be delete or detach, not \"" + how + "\"", msgnum::invalid_parameter);
    Object* group = group_of(sys, vdisk->id);
    if (group == nullptr)
        return Outcome::fail("Virtual disk " + vdisk->name + " is not a member of a DR group", msgnum::not_allowed);
    if (group->prop("drmmode") != "source")
        return Outcome::fail("Members of DR group " + group->name + " are removed on its source system", msgnum::not_allowed);
    System* other = nullptr;
    Object* partner = partner_of(model, sys, *group, other);
    Object* copy = other != nullptr ? model.find(*other, type::vdisk, vdisk->prop("remotevirtualdiskid")) : nullptr;
    if (how == "delete" && copy != nullptr) {
        for (const Object& o : other->objects) {
            if (o.type == type::lun && o.prop("StorageID") == copy->id)
                return Outcome::fail("The copy " + copy->name + " on " + other->self.name +
                                         " is still presented to hosts; delete its LUNs first",
                                     msgnum::vdisk_has_luns);
            if (o.type == type::vdisk && o.id != copy->id && family_of(o) == family_of(*copy))
                return Outcome::fail("The copy " + copy->name + " on " + other->self.name +
                                         " still has snapshots; delete the snapshots first",
                                     msgnum::vdisk_has_snapshots);
        }
    }
    remove_member(*group, vdisk->id);
    unlink(*vdisk);
    if (copy != nullptr) {
        const std::string copy_id = copy->id;
        if (partner != nullptr) remove_member(*partner, copy_id);
        if (how == "delete") model.remove(*other, copy_id);
        else unlink(*copy);
    }
    return Outcome::done();
}

void register_dr_group_handlers(Engine& engine) {
    engine.on("createobject", type::dr_group, create_group);
    engine.on("setproperties", type::dr_group, set_group);
    engine.on("deleteobject", type::dr_group, delete_group);
}

}  // namespace talosim
