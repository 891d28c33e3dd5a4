// Change handlers for LUNs, the presentations of a virtual disk to a host:
// ADD LUN (Create) and DELETE LUN. A LUN is named by its number, as the
// array lists it ("1"), so two hosts' LUN 1 share a name. Its number is
// 1 to 255 (0 is the controller's own), unique for its host; a host sees a
// virtual disk through one LUN at most.
#include "sim_changes.h"

namespace talosim {

namespace {

constexpr unsigned long max_lun = 255;

Outcome create_lun(Model& model, const Request& req, System* sys) {
    if (Outcome o = check_system(sys, req); !o.ok) return o;
    unsigned long number = 0;
    if (!req.has("LUN")) return Outcome::fail("The request gives no LUN number (LUN)", msgnum::invalid_parameter);
    if (!read_number(req.get("LUN"), 1, max_lun, number))
        return Outcome::fail("LUN number \"" + req.get("LUN") + "\" must be 1 to " + std::to_string(max_lun),
                             msgnum::invalid_parameter);
    Object* host = nullptr;
    if (Outcome o = find_named(model, *sys, req, "StorageClientID", type::host, "Host", host); !o.ok) return o;
    Object* vdisk = nullptr;
    if (Outcome o = find_named(model, *sys, req, "StorageID", type::vdisk, "Virtual disk", vdisk); !o.ok) return o;
    const std::string lun = std::to_string(number);
    for (const Object* other : model.list(*sys, type::lun)) {
        if (other->prop("StorageClientID") != host->id) continue;
        if (other->prop("LUN") == lun)
            return Outcome::fail("LUN " + lun + " is already presented to host " + host->name, msgnum::lun_in_use);
        if (other->prop("StorageID") == vdisk->id)
            return Outcome::fail("Virtual disk " + vdisk->name + " is already presented to host " + host->name + " as LUN " +
                                     other->prop("LUN"),
                                 msgnum::already_presented);
    }
    // Copied first: `add` may move the objects these point to.
    const std::string vdisk_id = vdisk->id, host_id = host->id, host_name = host->name;
    Object& added = model.add(*sys, type::lun, lun);
    added.set_prop("LUN", lun);
    added.set_prop("StorageID", vdisk_id);
    added.set_prop("StorageClientID", host_id);
    return Outcome::done("LUN " + lun + " presented to host " + host_name);
}

Outcome delete_lun(Model& model, const Request& req, System* sys) {
    if (Outcome o = check_system(sys, req); !o.ok) return o;
    Object* lun = nullptr;
    if (Outcome o = find_named(model, *sys, req, "ID", type::lun, "LUN", lun); !o.ok) return o;
    model.remove(*sys, lun->id);
    return Outcome::done();
}

}  // namespace

void register_lun_handlers(Engine& engine) {
    engine.on("Create", type::lun, create_lun);
    engine.on("Delete", type::lun, delete_lun);
}

}  // namespace talosim
