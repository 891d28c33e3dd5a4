// Change handlers for folders: ADD FOLDER (Create), SET FOLDER and DELETE
// FOLDER. A folder is made inside an existing one (the `ID` sentence names
// the parent) below "\Virtual Disks\" or "\Hosts\", and is named with a
// final backslash: "\Virtual Disks\Finance\". The three root folders can be
// neither renamed nor deleted; renaming a folder renames everything in it.
#include "sim_changes.h"

namespace talosim {

namespace {

bool is_root(const Object& folder) { return parent_path(folder.name) == "\\"; }

Outcome create_folder(Model& model, const Request& req, System* sys) {
    if (Outcome o = check_system(sys, req); !o.ok) return o;
    Object* parent = nullptr;
    if (Outcome o = find_named(model, *sys, req, "ID", type::folder, "Folder", parent); !o.ok) return o;
    if (parent->name.rfind(root_vdisks, 0) != 0 && parent->name.rfind(root_hosts, 0) != 0)
        return Outcome::fail("Folders can be created only below " + std::string(root_vdisks) + " and " +
                                 std::string(root_hosts) + ", not in " + parent->name,
                             msgnum::not_allowed);
    if (Outcome o = check_new_name(req, true); !o.ok) return o;
    if (Outcome o = check_comment(req); !o.ok) return o;
    const std::string path = parent->name + req.get("Name");
    if (path_in_use(*sys, path)) return Outcome::fail("The name " + path + " is already in use", msgnum::name_in_use);
    Object& added = model.add(*sys, type::folder, path + "\\");
    added.set_prop("Comments", req.get("comments"));
    return Outcome::done("Folder " + added.name + " created");
}

Outcome set_folder(Model& model, const Request& req, System* sys) {
    if (Outcome o = check_system(sys, req); !o.ok) return o;
    Object* folder = nullptr;
    if (Outcome o = find_named(model, *sys, req, "ID", type::folder, "Folder", folder); !o.ok) return o;
    if (Outcome o = check_new_name(req, false); !o.ok) return o;
    if (Outcome o = check_comment(req); !o.ok) return o;
    std::string renamed;
    if (req.has("Name")) {
        if (is_root(*folder))
            return Outcome::fail("The root folder " + folder->name + " cannot be renamed", msgnum::not_allowed);
        const std::string path = parent_path(folder->name) + req.get("Name");
        renamed = path + "\\";
        if (renamed != folder->name && path_in_use(*sys, path))
            return Outcome::fail("The name " + path + " is already in use", msgnum::name_in_use);
    }
    if (req.has("comments")) folder->set_prop("Comments", req.get("comments"));
    if (!renamed.empty()) rename_below(*sys, std::string(folder->name), renamed);
    return Outcome::done();
}

Outcome delete_folder(Model& model, const Request& req, System* sys) {
    if (Outcome o = check_system(sys, req); !o.ok) return o;
    Object* folder = nullptr;
    if (Outcome o = find_named(model, *sys, req, "ID", type::folder, "Folder", folder); !o.ok) return o;
    if (is_root(*folder)) return Outcome::fail("The root folder " + folder->name + " cannot be deleted", msgnum::not_allowed);
    for (const Object& o : sys->objects)
        if (o.id != folder->id && o.name.rfind(folder->name, 0) == 0)
            return Outcome::fail("Folder " + folder->name + " is not empty", msgnum::folder_not_empty);
    model.remove(*sys, folder->id);
    return Outcome::done();
}

}  // namespace

void register_folder_handlers(Engine& engine) {
    engine.on("Create", type::folder, create_folder);
    engine.on("Set", type::folder, set_folder);
    engine.on("Delete", type::folder, delete_folder);
}

}  // namespace talosim
