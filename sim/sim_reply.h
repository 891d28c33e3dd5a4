// Writing reply documents in the shapes the client's tokenizer reads: the
// legacy envelope with `LabelName`, `Category` and `ArrayOfString`, flat
// name/value elements, success and failure messages, and the version-3
// envelope with its version and status.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "sim_model.h"

namespace talosim {

// Message numbers the simulator reports with "NotSuccessMsg".
namespace msgnum {
inline constexpr int invalid_parameter = 5;
inline constexpr int not_found = 7;
inline constexpr int name_in_use = 20;
inline constexpr int not_supported = 41;
inline constexpr int not_initialized = 52;
inline constexpr int insufficient_disks = 61;
inline constexpr int busy = 18034;
}  // namespace msgnum

// "<name>value</name>" and a line feed; "<" and ">" in the value are escaped
// so that no value can open a tag.
std::string element(std::string_view name, std::string_view value);

// A labelled `Category` section holding the fields.
std::string category(std::string_view label, const std::vector<Field>& fields);

// A labelled array of rows, two items (Name and ID) per row; nothing at all
// when there are no rows.
std::string name_id_array(std::string_view label, const std::vector<std::pair<std::string, std::string>>& rows);

std::string success_message(std::string_view text);
std::string failure_message(std::string_view text, int number);

// Wraps content into the legacy reply envelope.
std::string legacy_envelope(std::string_view content);

// The version-3 reply: version 3.2, status code and description, content.
// `ns` is the vendor namespace URL of the envelope; empty writes the plain
// "<SOAP:Envelope>" opening.
std::string v3_envelope(int status, std::string_view description, std::string_view content, std::string_view ns = {});

}  // namespace talosim
