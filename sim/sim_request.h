// Reading a request document as the client sends it: the legacy form (an
// operation element inside a SOAP envelope, one element per value) or the
// version-3 form (the operation inside `NsaServerOperation`).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "sim_model.h"

namespace talosim {

enum class Form { legacy, v3 };

struct Request {
    Form form = Form::legacy;
    std::string operation;         // "Get", "Create", "getproperties", ...
    std::string version;           // version-3 header version, "" for legacy
    std::vector<Field> sentences;  // the operation's elements, in document order

    // The first sentence of that name, or "" when there is none.
    const std::string& get(std::string_view name) const;
    bool has(std::string_view name) const;
    std::vector<std::string> all(std::string_view name) const;
};

// Parses the document (which may start with anything before its envelope).
// Element values are taken as they stand: the client writes them unescaped.
bool parse_request_document(std::string_view doc, Request& out, std::string& error);

}  // namespace talosim
