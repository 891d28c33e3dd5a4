// Change handlers for environmental monitors: SET MONITOR sends a Set of
// "Monitor" with `comments` and a new `Name` (its last part; the path
// stays). The temperature thresholds are set by sentences named as the
// properties a read shows, `Warning_Threshold` and `Critical_Threshold`,
// in whole degrees ("40" or "40 C", 1 to 150, the warning below the
// critical one), and are read back as "40 C". The monitor's
// `Operational_State` follows its `Temperature`: "Critical" at or above the
// critical threshold, "Warning" at or above the warning one, else "Good".
#include "sim_changes.h"

namespace talosim {

namespace {

constexpr std::string_view thresholds[] = {"Warning_Threshold", "Critical_Threshold"};

Outcome set_monitor(Model& model, const Request& req, System* sys) {
    if (Outcome o = check_system(sys, req); !o.ok) return o;
    Object* monitor = nullptr;
    if (Outcome o = find_named(model, *sys, req, "ID", type::monitor, "Monitor", monitor); !o.ok) return o;
    if (Outcome o = check_comment(req); !o.ok) return o;
    if (Outcome o = check_new_name(req, false); !o.ok) return o;
    Object updated = *monitor;
    if (req.has("Name")) {
        updated.name = parent_path(monitor->name) + req.get("Name");
        const Object* same = model.find_by_name(*sys, type::monitor, updated.name);
        if (same != nullptr && same != monitor)
            return Outcome::fail("The name " + updated.name + " is already in use", msgnum::name_in_use);
    }
    for (std::string_view t : thresholds) {
        if (!req.has(t)) continue;
        std::string text = req.get(t);
        if (text.size() > 2 && text.ends_with(" C")) text.resize(text.size() - 2);
        unsigned long degrees = 0;
        if (!read_number(text, 1, 150, degrees))
            return Outcome::fail(std::string(t) + " must be 1 to 150 degrees C, not \"" + req.get(t) + "\"",
                                 msgnum::invalid_parameter);
        updated.set_prop_before(t, std::to_string(degrees) + " C", "Comments");
    }
    if (updated.has_prop("Warning_Threshold") && updated.has_prop("Critical_Threshold")) {
        const unsigned long warning = leading_number(updated.prop("Warning_Threshold"));
        const unsigned long critical = leading_number(updated.prop("Critical_Threshold"));
        if (warning >= critical)
            return Outcome::fail("The warning threshold (" + updated.prop("Warning_Threshold") +
                                     ") must lie below the critical one (" + updated.prop("Critical_Threshold") + ")",
                                 msgnum::invalid_parameter);
        if (updated.has_prop("Temperature")) {
            const unsigned long now = leading_number(updated.prop("Temperature"));
            updated.set_prop("Operational_State", now >= critical ? "Critical" : now >= warning ? "Warning" : "Good");
        }
    }
    if (req.has("comments")) updated.set_prop("Comments", req.get("comments"));
    *monitor = std::move(updated);
    return Outcome::done();
}

}  // namespace

void register_monitor_handlers(Engine& engine) { engine.on("Set", type::monitor, set_monitor); }

}  // namespace talosim
