// Change handlers for disks: SET DISK renames a disk within its disk group
// ("\Disk Groups\Archive\Disk 013" becomes "\Disk Groups\Archive\<name>")
// or sets its comment. Disks are hardware: the array neither creates nor
// deletes them, disk groups move them (see the disk group handlers).
#include "sim_changes.h"

namespace talosim {

namespace {

Outcome set_disk(Model& model, const Request& req, System* sys) {
    if (Outcome o = check_system(sys, req); !o.ok) return o;
    Object* disk = nullptr;
    if (Outcome o = find_named(model, *sys, req, "ID", type::disk, "Disk", disk); !o.ok) return o;
    if (Outcome o = check_new_name(req, false); !o.ok) return o;
    if (Outcome o = check_comment(req); !o.ok) return o;
    std::string name = disk->name;
    if (req.has("Name")) {
        name = parent_path(disk->name) + req.get("Name");
        if (name != disk->name && path_in_use(*sys, name))
            return Outcome::fail("The name " + name + " is already in use", msgnum::name_in_use);
    }
    disk->name = name;
    if (req.has("comments")) disk->set_prop("Comments", req.get("comments"));
    return Outcome::done();
}

}  // namespace

void register_disk_handlers(Engine& engine) { engine.on("Set", type::disk, set_disk); }

}  // namespace talosim
