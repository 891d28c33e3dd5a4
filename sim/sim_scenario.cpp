#include "sim_scenario.h"

#include <cstdio>
#include <map>
#include <set>
#include <unordered_map>

#include "sim_clock.h"
#include "sim_json.h"

namespace talosim {

namespace {

// Texts the reply documents carry verbatim must not open or close a tag.
bool clean_text(std::string_view s) { return s.find_first_of("<>") == std::string_view::npos; }

bool read_fields(const JsonValue& v, std::vector<Field>& out, const std::string& where, std::string& error) {
    if (!v.is(JsonValue::Kind::object)) {
        error = where + ": properties must be an object";
        return false;
    }
    for (const auto& [key, value] : v.members) {
        if (!value.is(JsonValue::Kind::string) && !value.is(JsonValue::Kind::number)) {
            error = where + ": property \"" + key + "\" must be a string or a number";
            return false;
        }
        if (key.empty() || !clean_text(key) || !clean_text(value.text) || key.find_first_of(" /\t\n=") != std::string::npos) {
            error = where + ": property \"" + key + "\" has characters a reply cannot carry";
            return false;
        }
        out.push_back({key, value.text});
    }
    return true;
}

bool read_object(const JsonValue& v, Model& model, Object& out, std::string_view default_type, const std::string& where,
                 std::string& error) {
    if (!v.is(JsonValue::Kind::object)) {
        error = where + ": expected an object";
        return false;
    }
    out.type = v.get("type", default_type);
    out.name = v.get("name");
    out.id = v.get("id");
    if (out.name.empty() || !clean_text(out.name)) {
        error = where + ": every object needs a name without '<' or '>'";
        return false;
    }
    if (out.type != type::system && !is_system_level_type(out.type)) {
        error = where + ": unknown object type \"" + out.type + "\"";
        return false;
    }
    if (out.id.empty()) out.id = model.new_id();
    if (!clean_text(out.id)) {
        error = where + ": bad id";
        return false;
    }
    if (const JsonValue* p = v.find("props"); p && !read_fields(*p, out.props, where + " " + out.name, error))
        return false;
    if (const JsonValue* secs = v.find("sections")) {
        if (!secs->is(JsonValue::Kind::array)) {
            error = where + ": sections must be an array";
            return false;
        }
        for (const JsonValue& s : secs->items) {
            Section section{s.get("label"), {}};
            const JsonValue* fields = s.find("fields");
            if (fields == nullptr || !clean_text(section.label) ||
                !read_fields(*fields, section.fields, where + " " + out.name, error)) {
                if (error.empty()) error = where + ": a section needs a label and fields";
                return false;
            }
            out.sections.push_back(std::move(section));
        }
    }
    return true;
}

// Disk sets: {"group": name, "count": n, "capacity": "72 GB"}.
bool read_disks(const JsonValue& v, Model& model, System& sys, int& number, std::string& error) {
    for (const JsonValue& set : v.items) {
        std::string group = set.get("group", ungrouped);
        const JsonValue* count = set.find("count");
        if (count == nullptr || !count->is(JsonValue::Kind::number) || count->number < 0 || count->number > 1000) {
            error = sys.self.name + ": a disk set needs a count from 0 to 1000";
            return false;
        }
        for (int i = 0; i < static_cast<int>(count->number); ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "\\Disk %03d", ++number);
            Object d{std::string(type::disk), model.new_id(), group + name, {}, {}};
            d.set_prop("Disk_Group", group);
            d.set_prop("Capacity", set.get("capacity", "72 GB"));
            d.set_prop("Operational_State", "Normal");
            d.set_prop("Disk_Type", set.get("disktype", "Online"));
            d.set_prop("Comments", "");
            sys.objects.push_back(std::move(d));
        }
    }
    return true;
}

// The first object of each type and name of a system, as find_by_name
// finds it, looked up without a walk: a large scenario holds a reference
// or two for each of thousands of LUNs.
class NameTable {
public:
    Object* find(System& sys, std::string_view type, std::string_view name) {
        auto [table, fresh] = tables_.try_emplace(&sys);
        if (fresh)
            for (Object& o : sys.objects) table->second.try_emplace(key(o.type, o.name), &o);
        auto it = table->second.find(key(type, name));
        return it == table->second.end() ? nullptr : it->second;
    }

private:
    static std::string key(std::string_view type, std::string_view name) {
        std::string k(type);
        k += '\n';
        k += name;
        return k;
    }
    std::map<const System*, std::unordered_map<std::string, Object*>> tables_;
};

// Scenario files refer to other objects by name through properties whose
// name starts with "@"; they become the identifier properties replies carry.
bool resolve_references(Model& model, std::string& error) {
    NameTable names;  // the objects only change their properties below
    for (System& sys : model.systems) {
        for (Object& o : sys.objects) {
            std::vector<Field> resolved;
            System* remote = nullptr;
            for (const Field& f : o.props) {
                if (f.name.empty() || f.name[0] != '@') {
                    resolved.push_back(f);
                    continue;
                }
                auto need = [&](bool found) {
                    if (!found) error = o.name + ": " + f.name + " \"" + f.value + "\" not found";
                    return found;
                };
                if (f.name == "@vdisk" || f.name == "@member" || f.name == "@host") {
                    Object* target = names.find(sys, f.name == "@host" ? type::host : type::vdisk, f.value);
                    if (!need(target != nullptr)) return false;
                    std::string key = f.name == "@vdisk" ? "StorageID" : f.name == "@host" ? "StorageClientID" : "memberid";
                    resolved.push_back({key, target->id});
                } else if (f.name == "@destination" || f.name == "@remote_system") {
                    remote = model.find_system_by_name(f.value);
                    if (!need(remote != nullptr)) return false;
                    resolved.push_back({f.name == "@destination" ? "destscellid" : "remotescellid", remote->self.id});
                } else if (f.name == "@remote_vdisk") {
                    Object* target = remote ? names.find(*remote, type::vdisk, f.value) : nullptr;
                    if (!need(target != nullptr)) return false;
                    resolved.push_back({"remotevirtualdiskid", target->id});
                } else {
                    error = o.name + ": unknown reference " + f.name;
                    return false;
                }
            }
            o.props = std::move(resolved);
        }
    }
    return true;
}

}  // namespace

bool load_scenario(std::string_view json, Model& model, std::string& error) {
    JsonValue doc;
    if (!parse_json(json, doc, error)) return false;
    if (!doc.is(JsonValue::Kind::object)) {
        error = "the scenario must be a JSON object";
        return false;
    }
    Model fresh;
    if (const JsonValue* m = doc.find("manager")) {
        fresh.manager_version = m->get("version", fresh.manager_version);
        fresh.manager_build = m->get("build", fresh.manager_build);
    }
    if (const JsonValue* t = doc.find("controller_time")) {
        if (!t->is(JsonValue::Kind::string) || !parse_time(t->text, fresh.clock)) {
            error = "controller_time must read like \"09-Dec-2026 09:00:00\"";
            return false;
        }
    }
    const JsonValue* systems = doc.find("systems");
    if (systems == nullptr || !systems->is(JsonValue::Kind::array)) {
        error = "the scenario needs a \"systems\" array";
        return false;
    }
    for (const JsonValue& s : systems->items) {
        System sys;
        if (!read_object(s, fresh, sys.self, type::system, "system", error)) return false;
        sys.self.type = type::system;
        const JsonValue* init = s.find("initialized");
        sys.initialized = init == nullptr || (init->is(JsonValue::Kind::boolean) && init->boolean);
        int disk_number = 0;
        if (const JsonValue* disks = s.find("disks")) {
            if (!disks->is(JsonValue::Kind::array) || !read_disks(*disks, fresh, sys, disk_number, error)) {
                if (error.empty()) error = sys.self.name + ": \"disks\" must be an array";
                return false;
            }
        }
        if (const JsonValue* objects = s.find("objects")) {
            if (!objects->is(JsonValue::Kind::array)) {
                error = sys.self.name + ": \"objects\" must be an array";
                return false;
            }
            for (const JsonValue& o : objects->items) {
                Object obj;
                if (!read_object(o, fresh, obj, "", "object of " + sys.self.name, error)) return false;
                if (obj.type == type::system) {
                    error = sys.self.name + ": a system cannot hold a system";
                    return false;
                }
                sys.objects.push_back(std::move(obj));
            }
        }
        if (sys.initialized) fresh.add_standard_objects(sys);
        fresh.systems.push_back(std::move(sys));
    }
    std::set<std::string> ids;
    for (const System& sys : fresh.systems) {
        bool unique = ids.insert(sys.self.id).second;
        for (const Object& o : sys.objects) unique = ids.insert(o.id).second && unique;
        if (!unique) {
            error = sys.self.name + ": two objects share an id";
            return false;
        }
    }
    if (!resolve_references(fresh, error)) return false;
    model = std::move(fresh);
    return true;
}

}  // namespace talosim
