// Building the model from a scenario: the built-in demo array or a JSON file
// given on the command line, so each test starts from exactly its state.
#pragma once

#include <string>
#include <string_view>

#include "sim_model.h"

namespace talosim {

// The demo array: one uninitialized system and two initialized ones joined
// by a DR group.
std::string_view demo_scenario();

// Replaces `model` with the scenario in `json`. On failure returns false
// with a message in `error` and leaves `model` unchanged.
bool load_scenario(std::string_view json, Model& model, std::string& error);

}  // namespace talosim
