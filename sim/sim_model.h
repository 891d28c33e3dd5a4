// The simulated manager's state: storage systems (cells) and, below each,
// the objects of every element type the management server reports, kept as
// ordered name/value properties so replies list them in a stable order.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace talosim {

struct Field {
    std::string name;
    std::string value;
};

// A labelled group of properties: a `Category` section of a reply.
struct Section {
    std::string label;
    std::vector<Field> fields;
};

// Element type names, as the requests' `Type` sentence carries them.
namespace type {
inline constexpr std::string_view system = "Element";
inline constexpr std::string_view disk = "Disk";
inline constexpr std::string_view folder = "Folder";
inline constexpr std::string_view host = "StorageClient";
inline constexpr std::string_view monitor = "Monitor";
inline constexpr std::string_view vdisk = "Storage";
inline constexpr std::string_view lun = "PresentedUnit";
inline constexpr std::string_view disk_group = "DiskGroup";
inline constexpr std::string_view disk_events = "DiskEvents";
inline constexpr std::string_view management_events = "ManagementEvents";
inline constexpr std::string_view system_events = "SystemEvents";
inline constexpr std::string_view termination_events = "TerminationEvents";
inline constexpr std::string_view wwns = "WorldWideNames";
inline constexpr std::string_view power = "Power";
inline constexpr std::string_view dr_group = "drmgroup";
}  // namespace type

// True for the element types that live below a storage system.
bool is_system_level_type(std::string_view element_type);

struct Object {
    std::string type;
    std::string id;
    std::string name;
    std::vector<Field> props;       // flat properties, in reply order (names may repeat)
    std::vector<Section> sections;  // stored sections; some kinds add derived ones when read

    // The first property of that name, or "" when there is none.
    const std::string& prop(std::string_view key) const;
    bool has_prop(std::string_view key) const;
    // Replaces the first property of that name, or appends one.
    void set_prop(std::string_view key, std::string_view value);
    // Replaces the first property of that name, or puts one just before the
    // first property named `before` (appended when there is none).
    void set_prop_before(std::string_view key, std::string_view value, std::string_view before);
    // Removes every property of that name.
    void erase_prop(std::string_view key);
    Section* section(std::string_view label);
};

// Hashing that takes a string_view, so lookups build no string.
struct TextHash {
    using is_transparent = void;
    size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

// Positions in a system's object list, so that a read by identifier costs
// the same however many objects the system holds. Built on first use for
// one revision of the model and one length of the list, built again when
// either has moved.
struct ObjectIndex {
    std::uint64_t revision = ~std::uint64_t{0};
    size_t size = 0;
    std::unordered_map<std::string, size_t, TextHash, std::equal_to<>> by_id;
    // The LUNs that present each virtual disk (by its identifier), in list order.
    std::unordered_map<std::string, std::vector<size_t>, TextHash, std::equal_to<>> luns_by_vdisk;
};

struct System {
    Object self;                  // type "Element"
    bool initialized = false;
    std::vector<Object> objects;  // everything below the system, in creation order
    mutable ObjectIndex index;    // kept by Model; see Model::touch
};

// Names of the folder roots and of the default disk group.
inline constexpr std::string_view root_vdisks = "\\Virtual Disks\\";
inline constexpr std::string_view root_hosts = "\\Hosts\\";
inline constexpr std::string_view root_groups = "\\Disk Groups\\";
inline constexpr std::string_view default_group = "\\Disk Groups\\Default Disk Group";
inline constexpr std::string_view ungrouped = "\\Disk Groups\\Ungrouped Disks";

class Model {
public:
    std::vector<System> systems;
    std::string manager_version = "SIM-4.0.0";
    std::string manager_build = "Dec 09 2026";
    // The controllers' clock, in seconds (see sim_clock.h). It stands still
    // between changes and moves one second with every change the model
    // takes, so time stamps come in order and every run reads the same ones.
    std::int64_t clock = 1796806800;  // 09-Dec-2026 09:00:00

    // A fresh 40-digit hexadecimal identifier, unique in this model.
    std::string new_id();

    System* find_system(std::string_view id);
    const System* find_system(std::string_view id) const;
    System* find_system_by_name(std::string_view name);
    Object* find(System& sys, std::string_view type, std::string_view id);
    const Object* find(const System& sys, std::string_view type, std::string_view id) const;
    Object* find_by_name(System& sys, std::string_view type, std::string_view name);
    std::vector<const Object*> list(const System& sys, std::string_view type) const;
    // The LUNs presenting that virtual disk, in list order.
    std::vector<const Object*> luns_of(const System& sys, std::string_view vdisk_id) const;
    // Appends a new object with a fresh identifier. The reference is valid
    // until the system's object list next grows.
    Object& add(System& sys, std::string_view type, std::string name);
    // Removes the object with that identifier; false when there is none.
    bool remove(System& sys, std::string_view id);
    // Marks every index stale, for edits that add and remove do not see:
    // objects put into or taken out of `objects` directly, or a LUN's
    // StorageID set after its add. The engine calls it after every change
    // request; a list that only grew or shrank is noticed without it.
    void touch() { ++revision_; }

    // Puts the folder roots into an initialized system that lacks them, and
    // the two controllers "\Controller A" and "\Controller B" into one that
    // has no controllers.
    void add_standard_objects(System& sys);

private:
    std::uint64_t next_id_ = 1;
    std::uint64_t revision_ = 0;

    // The index of `sys`, built afresh when it is stale.
    const ObjectIndex& index(const System& sys) const;
    // Where the object of that identifier (and type, unless empty) stands.
    static constexpr size_t no_position = ~size_t{0};
    size_t position(const System& sys, std::string_view type, std::string_view id) const;
};

}  // namespace talosim
