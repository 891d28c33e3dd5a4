#include "sim_changes.h"

#include <cctype>
#include <cstdlib>

namespace talosim {

Outcome check_system(const System* sys, const Request& req) {
    const std::string& id = req.form == Form::legacy ? req.get("ElementID") : req.get("scellid");
    if (sys == nullptr) return Outcome::fail("Storage system " + id + " does not exist", msgnum::not_found);
    if (!sys->initialized) return Outcome::fail("Storage system is not initialized", msgnum::not_initialized);
    return Outcome::done();
}

Outcome find_named(Model& model, System& sys, const Request& req, std::string_view sentence, std::string_view type,
                   std::string_view what, Object*& out) {
    out = nullptr;
    if (!req.has(sentence) || req.get(sentence).empty()) {
        std::string kind(what);
        if (!kind.empty()) kind[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(kind[0])));
        return Outcome::fail("The request names no " + kind + " (" + std::string(sentence) + ")", msgnum::invalid_parameter);
    }
    out = model.find(sys, type, req.get(sentence));
    if (out == nullptr) return Outcome::fail(std::string(what) + " " + req.get(sentence) + " does not exist", msgnum::not_found);
    return Outcome::done();
}

Outcome folder_below(Model& model, System& sys, const Request& req, std::string_view root, std::string_view what,
                     std::string& out) {
    out = root;
    if (!req.has("FolderID")) return Outcome::done();
    Object* folder = nullptr;
    if (Outcome found = find_named(model, sys, req, "FolderID", type::folder, "Folder", folder); !found.ok) return found;
    if (folder->name.compare(0, root.size(), root) != 0)
        return Outcome::fail(std::string(what) + " can be created only in " + std::string(root) +
                                 " or a folder below it, not in " + folder->name,
                             msgnum::invalid_parameter);
    out = folder->name;
    return Outcome::done();
}

Outcome check_new_name(const Request& req, bool required) {
    if (!req.has("Name")) return required ? Outcome::fail("A name is required", msgnum::invalid_parameter) : Outcome::done();
    if (std::string complaint = check_object_name(req.get("Name")); !complaint.empty())
        return Outcome::fail(complaint, msgnum::invalid_parameter);
    return Outcome::done();
}

std::string parent_path(std::string_view name) {
    if (!name.empty() && name.back() == '\\') name.remove_suffix(1);
    size_t slash = name.rfind('\\');
    return slash == std::string_view::npos ? std::string() : std::string(name.substr(0, slash + 1));
}

std::string family_of(const Object& vdisk) {
    size_t slash = vdisk.name.rfind('\\');
    return slash == std::string::npos ? vdisk.name : vdisk.name.substr(0, slash);
}

bool is_active_member(const Object& vdisk) {
    return vdisk.name.size() > active_suffix.size() &&
           std::string_view(vdisk.name).substr(vdisk.name.size() - active_suffix.size()) == active_suffix;
}

bool path_in_use(const System& sys, std::string_view path) {
    if (path == ungrouped) return true;
    for (const Object& o : sys.objects) {
        if (o.type == type::folder) {
            if (o.name.size() == path.size() + 1 && o.name.back() == '\\' && std::string_view(o.name).substr(0, path.size()) == path)
                return true;
        } else if (o.type == type::vdisk) {
            if (o.name == path || family_of(o) == path) return true;
        } else if (o.type == type::host || o.type == type::disk_group || o.type == type::disk) {
            if (o.name == path) return true;
        }
    }
    return false;
}

void rename_below(System& sys, std::string_view from, std::string_view to) {
    for (Object& o : sys.objects) {
        if (o.name.compare(0, from.size(), from) != 0) continue;
        o.name = std::string(to) + o.name.substr(from.size());
        if (o.type == type::vdisk && o.has_prop("Family_Name")) o.set_prop("Family_Name", family_of(o));
    }
}

bool read_number(std::string_view text, unsigned long min, unsigned long max, unsigned long& out) {
    if (text.empty() || text.size() > 10 || text.find_first_not_of("0123456789") != std::string_view::npos) return false;
    out = std::strtoul(std::string(text).c_str(), nullptr, 10);
    return out >= min && out <= max;
}

Outcome check_comment(const Request& req) {
    if (req.get("comments").size() > 128) return Outcome::fail("Comment too long, limit 128 characters", msgnum::invalid_parameter);
    return Outcome::done();
}

Outcome check_mode(const Request& req, std::string_view sentence) {
    if (!req.has(sentence)) return Outcome::done();
    const std::string& mode = req.get(sentence);
    if (mode != "synchronous" && mode != "asynchronous")
        return Outcome::fail(std::string(sentence) + " must be synchronous or asynchronous, not \"" + mode + "\"",
                             msgnum::invalid_parameter);
    return Outcome::done();
}

bool read_world_wide_name(std::string_view text, size_t digits, std::string& out) {
    std::string hex;
    for (char c : text) {
        if (c == '-') continue;
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
        hex += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    if (hex.size() != digits) return false;
    out.clear();
    for (size_t i = 0; i < hex.size(); i += 4) {
        if (i > 0) out += '-';
        out += hex.substr(i, 4);
    }
    return true;
}

bool lun_wwn_in_use(const System& sys, std::string_view wwn, std::string_view except_id) {
    for (const Object& o : sys.objects)
        if (o.type == type::vdisk && o.id != except_id && o.prop("World_Wide_LUN_Name") == wwn) return true;
    return false;
}

std::string new_lun_wwn(Model& model, const System& sys) {
    for (;;) {
        std::string wwn;
        read_world_wide_name("600508B400104A21" + model.new_id().substr(24), 32, wwn);
        if (!lun_wwn_in_use(sys, wwn, {})) return wwn;
    }
}

std::string gigabytes(unsigned long n) { return std::to_string(n) + " GB"; }

unsigned long leading_number(std::string_view text) {
    unsigned long n = 0;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        n = n * 10 + static_cast<unsigned long>(c - '0');
    }
    return n;
}

}  // namespace talosim
