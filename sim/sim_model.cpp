#include "sim_model.h"

#include <algorithm>
#include <cstdio>

namespace talosim {

bool is_system_level_type(std::string_view t) {
    for (std::string_view known :
         {type::disk, type::folder, type::host, type::monitor, type::vdisk, type::lun, type::disk_group,
          type::disk_events, type::management_events, type::system_events, type::termination_events, type::wwns,
          type::power, type::dr_group})
        if (t == known) return true;
    return false;
}

const std::string& Object::prop(std::string_view key) const {
    static const std::string empty;
    for (const Field& f : props)
        if (f.name == key) return f.value;
    return empty;
}

bool Object::has_prop(std::string_view key) const {
    return std::any_of(props.begin(), props.end(), [&](const Field& f) { return f.name == key; });
}

void Object::set_prop(std::string_view key, std::string_view value) {
    for (Field& f : props) {
        if (f.name == key) {
            f.value = value;
            return;
        }
    }
    props.push_back({std::string(key), std::string(value)});
}

void Object::set_prop_before(std::string_view key, std::string_view value, std::string_view before) {
    if (has_prop(key)) {
        set_prop(key, value);
        return;
    }
    auto at = std::find_if(props.begin(), props.end(), [&](const Field& f) { return f.name == before; });
    props.insert(at, {std::string(key), std::string(value)});
}

void Object::erase_prop(std::string_view key) {
    std::erase_if(props, [&](const Field& f) { return f.name == key; });
}

Section* Object::section(std::string_view label) {
    for (Section& s : sections)
        if (s.label == label) return &s;
    return nullptr;
}

std::string Model::new_id() {
    // Shaped like the manager's own identifiers: 40 hexadecimal digits.
    char text[48];
    std::snprintf(text, sizeof text, "6005%020llX%016llX", 0x0DEC0DE5ull, static_cast<unsigned long long>(next_id_++));
    return text;
}

System* Model::find_system(std::string_view id) {
    for (System& s : systems)
        if (s.self.id == id) return &s;
    return nullptr;
}

const System* Model::find_system(std::string_view id) const {
    for (const System& s : systems)
        if (s.self.id == id) return &s;
    return nullptr;
}

System* Model::find_system_by_name(std::string_view name) {
    for (System& s : systems)
        if (s.self.name == name) return &s;
    return nullptr;
}

Object* Model::find(System& sys, std::string_view t, std::string_view id) {
    for (Object& o : sys.objects)
        if (o.id == id && (t.empty() || o.type == t)) return &o;
    return nullptr;
}

const Object* Model::find(const System& sys, std::string_view t, std::string_view id) const {
    for (const Object& o : sys.objects)
        if (o.id == id && (t.empty() || o.type == t)) return &o;
    return nullptr;
}

Object* Model::find_by_name(System& sys, std::string_view t, std::string_view name) {
    for (Object& o : sys.objects)
        if (o.type == t && o.name == name) return &o;
    return nullptr;
}

std::vector<const Object*> Model::list(const System& sys, std::string_view t) const {
    std::vector<const Object*> out;
    for (const Object& o : sys.objects)
        if (o.type == t) out.push_back(&o);
    return out;
}

Object& Model::add(System& sys, std::string_view t, std::string name) {
    sys.objects.push_back({std::string(t), new_id(), std::move(name), {}, {}});
    return sys.objects.back();
}

bool Model::remove(System& sys, std::string_view id) {
    auto it = std::find_if(sys.objects.begin(), sys.objects.end(), [&](const Object& o) { return o.id == id; });
    if (it == sys.objects.end()) return false;
    sys.objects.erase(it);
    return true;
}

void Model::add_standard_objects(System& sys) {
    for (std::string_view root : {root_vdisks, root_hosts, root_groups}) {
        if (find_by_name(sys, type::folder, root) == nullptr) add(sys, type::folder, std::string(root)).set_prop("Comments", "");
    }
    if (!list(sys, type::power).empty()) return;  // the controllers are hardware: renamed, they stay
    for (std::string_view name : {"\\Controller A", "\\Controller B"}) {
        Object& c = add(sys, type::power, std::string(name));
        c.set_prop("Operational_State", "Good");
        c.set_prop("Power_State", "On");
    }
}

}  // namespace talosim
