#include "corvane_capture_steps.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "corvane_capture_compose.h"
#include "corvane_catalogue.h"
#include "corvane_exchange.h"
#include "corvane_kinds.h"
#include "corvane_memory.h"
#include "corvane_object.h"
#include "corvane_token.h"
#include "corvane_token_scan.h"

uint32_t dot_count = 0;

namespace {

constexpr char default_group_name[] = "\\Disk Groups\\Default Disk Group";
constexpr char active_suffix[] = "\\ACTIVE";
constexpr size_t active_length = sizeof active_suffix - 1;
const char allow_sub_folders[2][20] = {"\\Virtual Disks\\", "\\Hosts\\"};

struct default_group_record {
    uint32_t device_count = 0;
    std::string name, spare_policy, occupancy_alarm, disk_type;
};
struct add_group_entry {
    std::string name, command;
};

default_group_record default_group;
std::vector<add_group_entry> add_group;  // in the order read: written newest first
std::string cnames[2];
bool names_changed = false;
std::string object_name;  // the object whose commands are being composed

_token_info* tokens(_parseblk* pb) { return pb->state->tokens; }

bool ends_with_active(const char* name) {
    size_t n = std::strlen(name);
    return n >= active_length && std::strcmp(name + n - active_length, active_suffix) == 0;
}

// Keeps a name in the object name buffer, which holds 128 characters.
int remember_name(const char* token_name, const char* value) {
    if (ss_capture_check_length(token_name, value) != 0) return 1;
    object_name = value;
    return 0;
}

int required(_parseblk* pb, const char** value, const char* name) {
    return scan_required_token(value, tokens(pb), name, 1);
}

std::string leading_digits(const char* text) {
    size_t n = 0;
    while (text[n] >= '0' && text[n] <= '9') ++n;
    return std::string(text, n);
}

const char* disk_type_keyword(const std::string& disk_type) {
    if (disk_type == "Near-Online") return "NEARONLINE";
    if (disk_type == "Online") return "ONLINE";
    return nullptr;
}

int write_options_line() { return start_command("SET OPTIONS ON_ERROR=HALT_ON_ERROR") || write_command(); }

void print_dot() {
    if (!config_script.to_file) return;
    std::fputs(dot_count % 60 == 0 ? "\n." : ".", OutFile);
    ++dot_count;
}

int process(_parseblk* pb, int kind, _object_info* entry, ss_capture_generator generator, int index) {
    session_state* s = pb->state;
    int status = ss_get_object(pb, kind, entry->id);
    if (status == 0) status = generator(pb, index);
    ss_deallocate_tokens(s->tokens);
    s->tokens = nullptr;
    return status;
}

size_t folder_level(const char* name) {
    size_t level = 0;
    for (; *name; ++name) level += *name == '\\';
    return level;
}

// --- Step1A generators ---

int configure_group(_parseblk* pb, int) {
    const char *name, *total, *spare, *alarm;
    if (required(pb, &name, "Name") || required(pb, &total, "Total_Disks") ||
        required(pb, &spare, "Disk_Failure_Protection_Level") || remember_name("Name", name) ||
        ss_capture_check_length("Disk_Failure_Protection_Level", spare))
        return 1;
    if (start_command("ADD DISK_GROUP") || quote_only(name) || keyword_eq_string("DEVICE_COUNT", total) ||
        keyword_eq_string("SPARE_POLICY", spare))
        return 1;
    const char* type = scan_notrequired_token("DiskGroup_DiskType", tokens(pb), 1);
    std::string disk_type = type ? type : "";
    if (const char* keyword = disk_type_keyword(disk_type))
        if (keyword_eq_string("DISKGROUP_DISKTYPE", keyword)) return 1;
    if (required(pb, &alarm, "Occupancy_Alarm_Level") || ss_capture_check_length("Occupancy_Alarm_Level", alarm))
        return 1;
    std::string digits = leading_digits(alarm);
    if (digits.empty()) {
        std::fprintf(OutFile, "\nError: Token \"Occupancy_Alarm_Level\" holds no number:\n       %s", alarm);
        return 1;
    }
    if (keyword_eq_string("OCCUPANCY_ALARM", digits.c_str())) return 1;
    ss_capture_comment(tokens(pb), "Comments");
    add_group.push_back({name, ss_capture_command()});

    if (default_group.name == default_group_name) return 0;
    char* end = nullptr;
    errno = 0;
    unsigned long count = std::strtoul(total, &end, 10);
    if (end == total || *end || errno || count > UINT32_MAX || *total == '-') {
        std::fprintf(OutFile, "\nError: Token \"Total_Disks\" is not a number:\n       %s", total);
        return 1;
    }
    if (std::strcmp(name, default_group_name) == 0 || count > default_group.device_count) {
        // The default group's own disk type, not the last one read.
        default_group = {static_cast<uint32_t>(count), name, spare, digits, disk_type};
    }
    return 0;
}

int configure_cell(_parseblk* pb, int) {
    const char* name;
    if (required(pb, &name, "Name") || remember_name("Name", name)) return 1;
    if (default_group.name.empty()) {
        std::fputs("\nError: No disk group with disks was read; the system cannot be captured", OutFile);
        return 1;
    }
    if (start_command("ADD SYSTEM") || quote_only(name) ||
        keyword_eq_string("DEVICE_COUNT", std::to_string(default_group.device_count).c_str()) ||
        keyword_eq_string("SPARE_POLICY", default_group.spare_policy.c_str()))
        return 1;
    if (const char* keyword = disk_type_keyword(default_group.disk_type))
        if (keyword_eq_string("DISKGROUP_DISKTYPE", keyword)) return 1;
    const char* console = scan_notrequired_token("Console_LUN_ID", tokens(pb), 1);
    if (console && *console && keyword_eq_string("CONSOLE_LUN_ID", console)) return 1;
    ss_capture_comment(tokens(pb), "Comments");
    if (write_command()) return 1;
    return start_command("SELECT SYSTEM") || quote_only(name) || write_command();
}

int write_disk_groups() {
    for (auto entry = add_group.rbegin(); entry != add_group.rend(); ++entry) {
        if (entry->name == default_group.name) continue;
        if (start_command(entry->command.c_str()) || write_command()) return 1;
    }
    if (default_group.name != default_group_name) {
        const std::string& name = default_group.name;
        std::string last = name.substr(name.rfind('\\') + 1);
        if (start_command("SET DISK_GROUP") || quote_only(default_group_name) ||
            keyword_eq_quote_string("NAME", last.c_str()) || write_command())
            return 1;
    }
    return start_command("SET DISK_GROUP") || quote_only(default_group.name.c_str()) ||
           keyword_eq_string("OCCUPANCY_ALARM", default_group.occupancy_alarm.c_str()) || write_command();
}

int configure_folder(_parseblk* pb, int) {
    const char* name;
    if (required(pb, &name, "Name") || remember_name("Name", name)) return 1;
    std::string path(name);
    size_t last = path.rfind('\\');
    if (last != std::string::npos) path.erase(last);
    bool allowed = false;
    for (const char* root : allow_sub_folders) allowed = allowed || path.starts_with(root);
    if (!allowed) return 0;
    if (start_command("ADD FOLDER") || quote_only(path.c_str())) return 1;
    ss_capture_comment(tokens(pb), "Comments");
    return write_command();
}

int configure_host(_parseblk* pb, int) {
    const char *name, *os;
    if (required(pb, &name, "Name") || remember_name("Name", name)) return 1;
    if (start_command("ADD HOST") || quote_only(name)) return 1;
    const char* ip = scan_notrequired_token("IPAddress", tokens(pb), 1);
    if (ip && *ip && !match(ip, "Dynamic IP Assignment") && keyword_eq_string("IP", ip)) return 1;
    if (required(pb, &os, "Operating_system") || keyword_eq_string("OPERATING_SYSTEM", os)) return 1;
    std::vector<const char*> ports = scan_for_token_values(tokens(pb), "Port");
    if (!ports.empty() && *ports[0] && keyword_eq_string("WORLD_WIDE_NAME", ports[0])) return 1;
    ss_capture_comment(tokens(pb), "Comments");
    if (write_command()) return 1;
    for (size_t i = 1; i < ports.size() && *ports[i]; ++i) {
        if (start_command("SET HOST") || quote_only(name) || keyword_eq_string("ADD_WORLD_WIDE_NAME", ports[i]) ||
            write_command())
            return 1;
    }
    return 0;
}

int configure_storage(_parseblk* pb, const char* name) {
    if (!ends_with_active(name)) return 0;
    if (remember_name("Name", name)) return 1;
    std::string short_name(name, std::strlen(name) - active_length);
    const char *group, *capacity, *redundancy, *write_cache, *read_cache, *protect, *preferred;
    if (required(pb, &group, "Disk_Group") || required(pb, &capacity, "Capacity_Req") ||
        required(pb, &redundancy, "Redundancy") || required(pb, &write_cache, "Write_cache_Policy") ||
        required(pb, &read_cache, "Read_cache_Policy") || required(pb, &protect, "Write_Protect") ||
        required(pb, &preferred, "Preferred_path"))
        return 1;
    std::string size(capacity, std::strcspn(capacity, " "));
    if (start_command("ADD VDISK") || quote_only(short_name.c_str()) || keyword_eq_quote_string("DISK_GROUP", group) ||
        keyword_eq_string("SIZE", size.c_str()) || keyword_eq_string("REDUNDANCY", redundancy))
        return 1;
    if (xlate_token_value(&write_cache, xlate_write_cache, sizeof xlate_write_cache) || keyword_only(write_cache) ||
        xlate_token_value(&read_cache, xlate_read_cache, sizeof xlate_read_cache) || keyword_only(read_cache) ||
        xlate_token_value(&protect, xlate_write_protect, sizeof xlate_write_protect) || keyword_only(protect))
        return 1;
    const char* unit = scan_notrequired_token("OS_Unit_ID", tokens(pb), 1);
    if (unit && *unit && keyword_eq_string("OS_UNIT_ID", unit)) return 1;
    if (std::strcmp(preferred, "No preference") == 0) {
        if (keyword_only("NOPREFERRED_PATH")) return 1;
    } else if (xlate_token_value(&preferred, xlate_preferred, sizeof xlate_preferred) ||
               keyword_eq_string("PREFERRED_PATH", preferred)) {
        return 1;
    }
    if (keyword_only("WAIT_FOR_COMPLETION")) return 1;
    ss_capture_comment(tokens(pb), "Comments");
    if (write_command()) return 1;
    config_script.file_needed = 1;
    return 0;
}

int configure_luns(_parseblk* pb, const char* name) {
    if (!ends_with_active(name)) return 0;
    std::vector<const char*> luns = scan_for_token_values(tokens(pb), "Lun");
    std::vector<const char*> hosts = scan_for_token_values(tokens(pb), "StorageClientName");
    for (size_t n = 0; n < luns.size() && *luns[n]; ++n) {
        const char* host = n < hosts.size() ? hosts[n] : nullptr;
        if ((!host || !*host) && scan_required_token(&host, tokens(pb), "StorageClientName", static_cast<int>(n + 1)))
            return 1;
        if (start_command("ADD LUN") || keyword_only(luns[n]) || keyword_eq_quote_string("VDISK", name) ||
            keyword_eq_quote_string("HOST", host) || write_command())
            return 1;
        config_script.file_needed = 1;
    }
    return 0;
}

const char* vdisk_mode(_parseblk* pb) {
    const char* mode = scan_notrequired_token("drmmode", tokens(pb), 1);
    return mode ? mode : "";
}

int configure_non_dr_storage(_parseblk* pb, int) {
    const char* name;
    if (*vdisk_mode(pb)) return 0;
    if (required(pb, &name, "Name")) return 1;
    return configure_storage(pb, name) || configure_luns(pb, name);
}

int configure_power(_parseblk* pb, int index) {
    if (index > 1) {
        std::fputs("\nError: Number of expected controllers exceeded", OutFile);
        ss_abandon_config_file();
        // The reply in hand is the client library's, not tracked memory:
        // the program's end would leave it behind.
        ss_release_request_mem(pb);
        ss_fatal_exit();
    }
    const char* name;
    if (required(pb, &name, "Name")) return 1;
    cnames[index] = name;
    const char* last = std::strrchr(name, '\\');
    if (!last || (std::strcmp(last, "\\Controller A") != 0 && std::strcmp(last, "\\Controller B") != 0))
        names_changed = true;
    if (index != 1 || !names_changed) return 0;
    return comment_only("") ||
           write_comments(
               "One or more individual controllers have been renamed. A restore of the captured configuration will "
               "be unable to correctly rename them due to hardware configuration issues, so the user will have to "
               "rename them manually once the configuration has been restored.  Note that renaming controllers is "
               "merely an aesthetic issue and will not effect the functioning of your storage system.") ||
           comment_only("") || write_comments("Original controller names were:") || comment_only("") ||
           write_comments(cnames[0].c_str()) || write_comments(cnames[1].c_str()) || comment_only("");
}

// --- DR generators ---

int configure_dr_source_storage(_parseblk* pb, int) {
    const char* name;
    if (std::strcmp(vdisk_mode(pb), "source") != 0) return 0;
    return required(pb, &name, "Name") || configure_storage(pb, name);
}

int configure_dr_source_luns(_parseblk* pb, int) {
    const char* name;
    if (std::strcmp(vdisk_mode(pb), "source") != 0) return 0;
    return required(pb, &name, "Name") || configure_luns(pb, name);
}

int configure_dr_vdisk(_parseblk* pb, int) {
    const char* mode = vdisk_mode(pb);
    if (std::strcmp(mode, "slave") != 0 && std::strcmp(mode, "destination") != 0) return 0;
    const char* name;
    if (required(pb, &name, "Name")) return 1;
    return configure_luns(pb, name);
}

// A member's line: the group's creation with its first member, or the
// addition of a later one, naming the member's remote copy and its disk
// group. The member and its copy are read with the session pointing at
// their systems; the group's own reply and system come back afterwards.
int remote_vidsk_and_disk_group(_parseblk* pb, const char* group, int member, const char* member_name,
                                const char* member_id, const char* destination) {
    if (member == 2) {
        if (start_command("ADD DR_GROUP") || quote_only(group) ||
            keyword_eq_quote_string("DESTINATION_SYSTEM", destination) || keyword_eq_quote_string("VDISK", member_name))
            return 1;
    } else if (start_command("SET DR_GROUP") || quote_only(group) || keyword_eq_quote_string("ADD_VDISK", member_name)) {
        return 1;
    }
    session_state* s = pb->state;
    _token_info* group_tokens = s->tokens;
    char* group_cell = s->cell_id;
    s->tokens = nullptr;
    _token_info* member_tokens = nullptr;
    char* remote_cell = nullptr;

    int status = ss_get_object(pb, kind_vdisk, member_id);
    const char *remote_vdisk = nullptr, *remote_system = nullptr;
    if (status == 0)
        status = scan_required_token(&remote_vdisk, s->tokens, "remotevirtualdiskid", 1) ||
                 scan_required_token(&remote_system, s->tokens, "remotescellid", 1);
    if (status == 0) {
        member_tokens = s->tokens;
        s->tokens = nullptr;
        remote_cell = ss_copy_string(remote_system);
        s->cell_id = remote_cell;
        status = ss_get_object(pb, kind_vdisk, remote_vdisk);
    }
    if (status == 0) {
        const char *name, *disk_group;
        status = scan_required_token(&name, s->tokens, "Name", 1) ||
                 scan_required_token(&disk_group, s->tokens, "Disk_Group", 1) ||
                 keyword_eq_quote_string("DESTINATION_VDISK_NAME", name) ||
                 keyword_eq_quote_string("DESTINATION_DISK_GROUP", disk_group) || write_command();
    }
    if (status == 0) config_script.file_needed = 1;

    ss_deallocate_tokens(s->tokens);
    ss_deallocate_tokens(member_tokens);
    ss_deallocate_mem(remote_cell, "corvane_capture_steps", __LINE__);
    s->cell_id = group_cell;
    s->tokens = group_tokens;
    return status;
}

int write_dr_setting(const char* group, const char* keyword, const char* value) {
    if (start_command("SET DR_GROUP") || quote_only(group)) return 1;
    if (keyword ? keyword_eq_string(keyword, value) : keyword_only(value)) return 1;
    return write_command();
}

int configure_dr_group(_parseblk* pb, int) {
    const char* mode;
    if (required(pb, &mode, "drmmode")) return 1;
    if (std::strcmp(mode, "source") != 0) return 0;
    std::vector<const char*> names = scan_for_token_values(tokens(pb), "objectname");
    std::vector<const char*> ids = scan_for_token_values(tokens(pb), "objectid");
    const char* group;
    if (required(pb, &group, "objectname")) return 1;
    for (size_t m = 2; m <= names.size() && *names[m - 1]; ++m) {
        const char* id = m <= ids.size() ? ids[m - 1] : nullptr;
        if ((!id || !*id) && scan_required_token(&id, tokens(pb), "objectid", static_cast<int>(m))) return 1;
        const char* destination = nullptr;
        if (m == 2 && required(pb, &destination, "scellname")) return 1;
        if (remote_vidsk_and_disk_group(pb, group, static_cast<int>(m), names[m - 1], id, destination)) return 1;
    }
    const char *access, *writemode, *suspend, *failsafe;
    if (required(pb, &access, "accessmode") || xlate_token_value(&access, xlate_dr_access, sizeof xlate_dr_access) ||
        write_dr_setting(group, "ACCESSMODE", access))
        return 1;
    if (const char* comments = scan_notrequired_token("comments", tokens(pb), 1)) {
        std::string cleaned(comments);
        cleaned.resize(remove_special_characters(cleaned.data()));
        // A comment that does not fit leaves out the whole line: the line
        // without it would not be a command.
        if (!cleaned.empty() && start_command("SET DR_GROUP") == 0 && quote_only(group) == 0 &&
            keyword_eq_quote_string("COMMENT", cleaned.c_str()) == 0 && write_command() != 0)
            return 1;
    }
    if (required(pb, &writemode, "writemode") || write_dr_setting(group, "WRITEMODE", writemode)) return 1;
    if (required(pb, &suspend, "suspendstate") ||
        xlate_token_value(&suspend, xlate_dr_suspend, sizeof xlate_dr_suspend) ||
        write_dr_setting(group, nullptr, suspend))
        return 1;
    return required(pb, &failsafe, "failsafe") ||
           xlate_token_value(&failsafe, xlate_dr_failsafe, sizeof xlate_dr_failsafe) ||
           write_dr_setting(group, nullptr, failsafe);
}

// Opens the step's script, writes the options line and the body, closes it.
template <typename Body>
int run_step(_parseblk* pb, int step, Body body) {
    if (ss_open_config_file(pb, step) != 0) return ss_close_config_file(pb, 1, step);
    int status = write_options_line() || body();
    return ss_close_config_file(pb, status, step);
}

}  // namespace

int ss_capture(_parseblk* pb, int kind, ss_capture_generator generator) {
    if (ss_object_update(pb, kind) != 0) return 1;
    std::vector<_object_info*> entries;
    for (_object_info* entry = pb->state->object_list; entry; entry = entry->next)
        if (entry->kind == kind) entries.push_back(entry);

    if (kind != kind_folder) {
        int index = 0;
        const char* selected = pb->state->cell_name ? pb->state->cell_name : "";
        for (_object_info* entry : entries) {
            print_dot();
            if (kind == kind_system && std::strcmp(entry->name, selected) != 0) continue;
            if (process(pb, kind, entry, generator, index++) != 0) return 1;
        }
        return 0;
    }
    // Parents before children: level by level from three backslashes on,
    // until a level has no folder. Every level's pass walks all folders.
    std::map<size_t, std::vector<_object_info*>> levels;
    for (_object_info* entry : entries) levels[folder_level(entry->name)].push_back(entry);
    int index = 0;
    for (size_t level = 3;; ++level) {
        for (size_t i = 0; i < entries.size(); ++i) print_dot();
        auto found = levels.find(level);
        if (found == levels.end()) return 0;
        for (_object_info* entry : found->second)
            if (process(pb, kind, entry, generator, index++) != 0) return 1;
    }
}

int ss_capture_configuration_dispatch(_parseblk* pb, int step) {
    add_group.clear();
    default_group = {};
    int status = run_step(pb, step, [&] {
        int failed = ss_capture(pb, kind_disk_group, configure_group) || ss_capture(pb, kind_system, configure_cell) ||
                     write_disk_groups() || ss_capture(pb, kind_folder, configure_folder) ||
                     ss_capture(pb, kind_host, configure_host) || ss_capture(pb, kind_vdisk, configure_non_dr_storage);
        if (!failed) {
            names_changed = false;
            cnames[0].clear();
            cnames[1].clear();
            failed = ss_capture(pb, kind_power, configure_power);
            cnames[0].clear();
            cnames[1].clear();
        }
        add_group.clear();
        config_script.file_needed = 1;
        return failed;
    });
    add_group.clear();
    return status;
}

int ss_capture_dr_source_vdisks(_parseblk* pb, int step) {
    return run_step(pb, step, [&] { return ss_capture(pb, kind_vdisk, configure_dr_source_storage); });
}

int ss_capture_dr_source_vdisk_luns(_parseblk* pb, int step) {
    return run_step(pb, step, [&] { return ss_capture(pb, kind_vdisk, configure_dr_source_luns); });
}

int ss_capture_dr_configuration_dispatch_s1(_parseblk* pb, int step) {
    return run_step(pb, step, [&] { return ss_capture(pb, kind_dr_group, configure_dr_group); });
}

int ss_capture_dr_configuration_dispatch_s2(_parseblk* pb, int step) {
    return run_step(pb, step, [&] { return ss_capture(pb, kind_vdisk, configure_dr_vdisk); });
}

const ss_capture_step restore_steps[ss_capture_step_count] = {
    ss_capture_configuration_dispatch, ss_capture_dr_source_vdisks, ss_capture_dr_source_vdisk_luns,
    ss_capture_dr_configuration_dispatch_s1, ss_capture_dr_configuration_dispatch_s2};
