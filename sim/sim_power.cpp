// Change handlers for controllers (power objects): RESTART and SHUTDOWN
// send a Set of "Power" with `Restart` YES (restart) or NO (shut down) and,
// optionally, `Coupled` YES (its peer too) or NO; a `Name` renames it.
//
// A restart leaves the controller "On" and "Good" (powering up one that was
// shut down) and stamps `Last_Restart`; a shutdown makes it "Off" and "Shut
// down" and stamps `Last_Shutdown`. Each controller so changed also gets a
// management event ("Controller A restarted", with `Time` and `User`), and
// the request itself is in the request log as every request is. A
// controller's read ends with `Controller_time`, the model's clock.
#include <cctype>

#include "sim_changes.h"
#include "sim_clock.h"

namespace talosim {

namespace {

// YES or NO in any letter case; false for anything else.
bool read_yes_no(const std::string& text, bool& yes) {
    std::string upper;
    for (char c : text) upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (upper != "YES" && upper != "NO") return false;
    yes = upper == "YES";
    return true;
}

std::string last_part(const std::string& name) {
    size_t slash = name.rfind('\\');
    return slash == std::string::npos ? name : name.substr(slash + 1);
}

Outcome set_power(Model& model, const Request& req, System* sys) {
    if (sys == nullptr) return Outcome::fail("Storage system " + req.get("ElementID") + " does not exist", msgnum::not_found);
    Object* controller = nullptr;
    if (Outcome o = find_named(model, *sys, req, "ID", type::power, "Controller", controller); !o.ok) return o;
    bool restart = false, coupled = false;
    if (req.has("Restart") && !read_yes_no(req.get("Restart"), restart))
        return Outcome::fail("Restart must be YES or NO, not \"" + req.get("Restart") + "\"", msgnum::invalid_parameter);
    if (req.has("Coupled") && !read_yes_no(req.get("Coupled"), coupled))
        return Outcome::fail("Coupled must be YES or NO, not \"" + req.get("Coupled") + "\"", msgnum::invalid_parameter);
    if (Outcome o = check_new_name(req, false); !o.ok) return o;
    std::string new_name = controller->name;
    if (req.has("Name")) {
        new_name = parent_path(controller->name) + req.get("Name");
        const Object* same = model.find_by_name(*sys, type::power, new_name);
        if (same != nullptr && same != controller)
            return Outcome::fail("The name " + new_name + " is already in use", msgnum::name_in_use);
    }

    controller->name = new_name;
    if (!req.has("Restart")) return Outcome::done();
    const std::string named = controller->id;
    std::vector<std::string> targets;
    for (const Object* c : model.list(*sys, type::power))
        if (c->id == named || coupled) targets.push_back(c->id);
    const std::string now = format_time(model.clock);
    const std::string user = req.get("UserName");
    std::string message;
    for (const std::string& id : targets) {
        Object* c = model.find(*sys, type::power, id);
        c->set_prop("Operational_State", restart ? "Good" : "Shut down");
        c->set_prop("Power_State", restart ? "On" : "Off");
        c->set_prop(restart ? "Last_Restart" : "Last_Shutdown", now);
        std::string event = last_part(c->name) + (restart ? " restarted" : " shut down");
        message += (message.empty() ? "" : "; ") + event;
        Object& logged = model.add(*sys, type::management_events, std::move(event));
        logged.set_prop("Time", now);
        logged.set_prop("User", user);
    }
    return Outcome::done(message);
}

}  // namespace

void register_power_handlers(Engine& engine) { engine.on("Set", type::power, set_power); }

}  // namespace talosim
