// DR group membership changes, which arrive as a Set of the member virtual
// disk: adding it to a group (`addtogroupid`) or taking it out
// (`removefromdrgroup`). The group handlers themselves register through
// register_dr_group_handlers (sim_engine.h).
#pragma once

#include "sim_engine.h"

namespace talosim {

// True when the Set of a virtual disk is a membership change.
bool is_dr_membership_change(const Request& req);

// Carries out the membership change of the virtual disk `vdisk_id` of
// `sys`, or refuses it and changes nothing.
Outcome change_dr_membership(Model& model, const Request& req, System& sys, const std::string& vdisk_id);

}  // namespace talosim
