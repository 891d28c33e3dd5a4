// Any bytes as a scenario file: no crash, no hang, no leak, and a file that
// is refused leaves the model it was loaded into as it was.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "sim_demo_model.h"
#include "sim_json.h"
#include "sim_model.h"
#include "sim_scenario.h"

namespace {

bool same_systems(const talosim::Model& a, const talosim::Model& b) {
    if (a.systems.size() != b.systems.size() || a.clock != b.clock || a.manager_version != b.manager_version)
        return false;
    for (size_t i = 0; i < a.systems.size(); ++i)
        if (a.systems[i].self.name != b.systems[i].self.name || a.systems[i].objects.size() != b.systems[i].objects.size())
            return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    talosim::JsonValue value;
    std::string error;
    talosim::parse_json(text, value, error);

    talosim::Model model = demo_model();
    error.clear();
    if (!talosim::load_scenario(text, model, error) && (error.empty() || !same_systems(model, demo_model())))
        std::abort();
    return 0;
}
