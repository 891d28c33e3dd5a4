// The simulator's demo model, loaded once, for fuzz targets that start each
// run from a fresh copy of it.
#pragma once

#include <cstdlib>
#include <string>

#include "sim_model.h"
#include "sim_scenario.h"

inline const talosim::Model& demo_model() {
    static const talosim::Model model = [] {
        talosim::Model m;
        std::string error;
        if (!talosim::load_scenario(talosim::demo_scenario(), m, error)) std::abort();
        return m;
    }();
    return model;
}
