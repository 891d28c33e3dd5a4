// Change handlers for hosts: ADD HOST (Create), SET HOST and DELETE HOST.
//
// A host is "<folder><name>", the folder being the one `FolderID` names (at
// or below "\Hosts\"), else "\Hosts\". Its adapters, each a
// `StorageClientAdapterID` of 16 hexadecimal digits, read back as the `Port`
// elements of a "Host Ports" category, in upper case in groups of four, in
// the order they were added; a host without adapters has no such category.
// `StorageClientMode` reads back as `Operating_system`: the mode's name, or
// "CUSTOM=" and the mask in upper case; "0", what ADD HOST sends when no
// operating system is given, reads "UNKNOWN". `StorageClientIP` reads back
// as `IPAddress`; none (or an empty one) reads "Dynamic IP Assignment".
//
// A Set carries at most one `Operation`, "addAdapterID" or "deleteAdapterID",
// and it applies to every `StorageClientAdapterID` of the request.
#include <algorithm>
#include <cctype>

#include "sim_changes.h"

namespace talosim {

namespace {

constexpr std::string_view ports_label = "Host Ports";
constexpr std::string_view dynamic_ip = "Dynamic IP Assignment";

// The `Operating_system` text of a mode into `out`, or the complaint.
Outcome read_mode(std::string_view mode, std::string& out) {
    for (std::string_view known : {"KORUX", "IBMAIX", "RAVEN_OS", "SOLARIS", "QANTO", "UNKNOWN", "WINDOWS"})
        if (mode == known) out = known;
    if (mode == "0") out = "UNKNOWN";
    if (!out.empty()) return Outcome::done();
    constexpr std::string_view custom = "CUSTOM=";
    if (mode.substr(0, custom.size()) != custom)
        return Outcome::fail("Operating system mode \"" + std::string(mode) + "\" is not known", msgnum::invalid_parameter);
    std::string mask(mode.substr(custom.size()));
    while (!mask.empty() && mask.back() == ' ') mask.pop_back();
    std::string digits;
    bool hex = mask.find_first_not_of('-') != std::string::npos;
    for (char& c : mask) {
        if (c == '-') continue;
        hex = hex && std::isxdigit(static_cast<unsigned char>(c));
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (!digits.empty() || c != '0') digits += c;
    }
    // Two 32-bit words: at most 16 significant digits.
    if (!hex || digits.size() > 16)
        return Outcome::fail("Custom mode mask \"" + std::string(mode.substr(custom.size())) +
                                 "\" is not at most 16 hexadecimal digits",
                             msgnum::invalid_parameter);
    out = std::string(custom) + mask;
    return Outcome::done();
}

bool read_ip(std::string_view text) {
    int parts = 0;
    size_t pos = 0;
    for (;;) {
        size_t dot = text.find('.', pos);
        std::string_view part = text.substr(pos, dot == std::string_view::npos ? std::string_view::npos : dot - pos);
        unsigned long n = 0;
        if (part.size() > 3 || !read_number(part, 0, 255, n)) return false;
        ++parts;
        if (dot == std::string_view::npos) break;
        pos = dot + 1;
    }
    return parts == 4;
}

std::vector<Field>* ports_of(Object& host) {
    Section* s = host.section(ports_label);
    return s == nullptr ? nullptr : &s->fields;
}

bool adapter_in_use(const System& sys, std::string_view wwn) {
    for (const Object& o : sys.objects) {
        if (o.type != type::host) continue;
        for (const Section& s : o.sections)
            for (const Field& f : s.fields)
                if (s.label == ports_label && f.name == "Port" && f.value == wwn) return true;
    }
    return false;
}

// Reads the adapter sentences; each must be well formed and, when `fresh`,
// on no host yet and not given twice.
Outcome read_adapters(const System& sys, const Request& req, bool fresh, std::vector<std::string>& out) {
    for (const std::string& text : req.all("StorageClientAdapterID")) {
        std::string wwn;
        if (!read_world_wide_name(text, 16, wwn))
            return Outcome::fail("Adapter ID \"" + text + "\" is not a world wide name of 16 hexadecimal digits",
                                 msgnum::invalid_parameter);
        bool twice = std::find(out.begin(), out.end(), wwn) != out.end();
        if (fresh && (twice || adapter_in_use(sys, wwn)))
            return Outcome::fail("Adapter ID " + wwn + " is already in use", msgnum::wwn_in_use);
        out.push_back(wwn);
    }
    return Outcome::done();
}

// `comments`, `StorageClientIP` and `StorageClientMode`, shared by Create and Set.
Outcome apply_properties(const Request& req, Object& host) {
    if (Outcome o = check_comment(req); !o.ok) return o;
    if (req.has("StorageClientIP")) {
        const std::string& ip = req.get("StorageClientIP");
        if (!ip.empty() && !read_ip(ip))
            return Outcome::fail("IP address \"" + ip + "\" is not of the form nnn.nnn.nnn.nnn", msgnum::invalid_parameter);
        host.set_prop("IPAddress", ip.empty() ? dynamic_ip : std::string_view(ip));
    }
    if (req.has("StorageClientMode")) {
        std::string mode;
        if (Outcome o = read_mode(req.get("StorageClientMode"), mode); !o.ok) return o;
        host.set_prop("Operating_system", mode);
    }
    if (req.has("comments")) host.set_prop("Comments", req.get("comments"));
    return Outcome::done();
}

Outcome create_host(Model& model, const Request& req, System* sys) {
    if (Outcome o = check_system(sys, req); !o.ok) return o;
    if (Outcome o = check_new_name(req, true); !o.ok) return o;
    std::string folder;
    if (Outcome o = folder_below(model, *sys, req, root_hosts, "Hosts", folder); !o.ok) return o;
    const std::string name = folder + req.get("Name");
    if (path_in_use(*sys, name)) return Outcome::fail("The name " + name + " is already in use", msgnum::name_in_use);
    Object host{std::string(type::host), {}, name, {}, {}};
    host.set_prop("IPAddress", dynamic_ip);
    host.set_prop("Operating_system", "UNKNOWN");
    host.set_prop("Comments", "");
    if (Outcome o = apply_properties(req, host); !o.ok) return o;
    std::vector<std::string> adapters;
    if (Outcome o = read_adapters(*sys, req, true, adapters); !o.ok) return o;

    Object& added = model.add(*sys, type::host, name);
    added.props = std::move(host.props);
    if (!adapters.empty()) {
        Section ports{std::string(ports_label), {}};
        for (std::string& wwn : adapters) ports.fields.push_back({"Port", std::move(wwn)});
        added.sections.push_back(std::move(ports));
    }
    return Outcome::done("Host " + name + " created");
}

Outcome set_host(Model& model, const Request& req, System* sys) {
    if (Outcome o = check_system(sys, req); !o.ok) return o;
    Object* host = nullptr;
    if (Outcome o = find_named(model, *sys, req, "ID", type::host, "Host", host); !o.ok) return o;
    Object updated = *host;
    if (Outcome o = check_new_name(req, false); !o.ok) return o;
    if (req.has("Name")) {
        updated.name = parent_path(host->name) + req.get("Name");
        if (updated.name != host->name && path_in_use(*sys, updated.name))
            return Outcome::fail("The name " + updated.name + " is already in use", msgnum::name_in_use);
    }
    if (Outcome o = apply_properties(req, updated); !o.ok) return o;

    const std::string& operation = req.get("Operation");
    bool adding = operation == "addAdapterID", deleting = operation == "deleteAdapterID";
    if (req.has("Operation") && !adding && !deleting)
        return Outcome::fail("Operation \"" + operation + "\" is not addAdapterID or deleteAdapterID", msgnum::invalid_parameter);
    if (req.has("Operation") != req.has("StorageClientAdapterID"))
        return Outcome::fail(req.has("Operation") ? "The operation names no adapter (StorageClientAdapterID)"
                                                  : "An adapter ID needs an Operation, addAdapterID or deleteAdapterID",
                             msgnum::invalid_parameter);
    std::vector<std::string> adapters;
    if (Outcome o = read_adapters(*sys, req, adding, adapters); !o.ok) return o;
    for (const std::string& wwn : adapters) {
        std::vector<Field>* ports = ports_of(updated);
        if (adding) {
            if (ports == nullptr) {
                updated.sections.push_back({std::string(ports_label), {}});
                ports = &updated.sections.back().fields;
            }
            ports->push_back({"Port", wwn});
            continue;
        }
        bool removed = false;
        if (ports != nullptr) {
            auto it = std::find_if(ports->begin(), ports->end(), [&](const Field& f) { return f.name == "Port" && f.value == wwn; });
            removed = it != ports->end();
            if (removed) ports->erase(it);
        }
        if (!removed) return Outcome::fail("Host " + host->name + " has no adapter " + wwn, msgnum::not_found);
        if (ports->empty())
            updated.sections.erase(std::find_if(updated.sections.begin(), updated.sections.end(),
                                                [](const Section& s) { return s.label == ports_label; }));
    }
    *host = std::move(updated);
    return Outcome::done();
}

Outcome delete_host(Model& model, const Request& req, System* sys) {
    if (Outcome o = check_system(sys, req); !o.ok) return o;
    Object* host = nullptr;
    if (Outcome o = find_named(model, *sys, req, "ID", type::host, "Host", host); !o.ok) return o;
    for (const Object* lun : model.list(*sys, type::lun))
        if (lun->prop("StorageClientID") == host->id)
            return Outcome::fail("Host " + host->name + " still has LUNs; delete them first", msgnum::host_has_luns);
    model.remove(*sys, host->id);
    return Outcome::done();
}

}  // namespace

void register_host_handlers(Engine& engine) {
    engine.on("Create", type::host, create_host);
    engine.on("Set", type::host, set_host);
    engine.on("Delete", type::host, delete_host);
}

}  // namespace talosim
