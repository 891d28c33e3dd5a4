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

const ObjectIndex& Model::index(const System& sys) const {
    ObjectIndex& ix = sys.index;
    if (ix.revision == revision_ && ix.size == sys.objects.size()) return ix;
    ix.by_id.clear();
    ix.luns_by_vdisk.clear();
    for (size_t i = 0; i < sys.objects.size(); ++i) {
        const Object& o = sys.objects[i];
        ix.by_id.emplace(o.id, i);  // the first of a repeated identifier, as a scan finds it
        if (o.type == type::lun) ix.luns_by_vdisk[o.prop("StorageID")].push_back(i);
    }
    ix.revision = revision_;
    ix.size = sys.objects.size();
    return ix;
}

size_t Model::position(const System& sys, std::string_view t, std::string_view id) const {
    const ObjectIndex& ix = index(sys);
    auto it = ix.by_id.find(id);
    if (it == ix.by_id.end() || !(t.empty() || sys.objects[it->second].type == t)) return no_position;
    return it->second;
}

Object* Model::find(System& sys, std::string_view t, std::string_view id) {
    size_t at = position(sys, t, id);
    return at == no_position ? nullptr : &sys.objects[at];
}

const Object* Model::find(const System& sys, std::string_view t, std::string_view id) const {
    size_t at = position(sys, t, id);
    return at == no_position ? nullptr : &sys.objects[at];
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

std::vector<const Object*> Model::luns_of(const System& sys, std::string_view vdisk_id) const {
    std::vector<const Object*> out;
    const ObjectIndex& ix = index(sys);
    if (auto it = ix.luns_by_vdisk.find(vdisk_id); it != ix.luns_by_vdisk.end())
        for (size_t i : it->second) out.push_back(&sys.objects[i]);
    return out;
}

Object& Model::add(System& sys, std::string_view t, std::string name) {
    sys.objects.push_back({std::string(t), new_id(), std::move(name), {}, {}});
    touch();
    return sys.objects.back();
}

bool Model::remove(System& sys, std::string_view id) {
    auto it = std::find_if(sys.objects.begin(), sys.objects.end(), [&](const Object& o) { return o.id == id; });
    if (it == sys.objects.end()) return false;
    sys.objects.erase(it);
    touch();
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
