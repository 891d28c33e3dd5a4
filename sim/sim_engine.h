// Executing request documents against the model: reads of every object kind
// in both envelope forms, the manager's diagnostic operations, and a table
// of change handlers (operation and element type) that commands extend.
#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>
#include <string_view>

#include "sim_model.h"
#include "sim_request.h"

namespace talosim {

struct Outcome {
    bool ok = true;
    std::string message;  // SuccessMsg or NotSuccessMsg text
    int number = 0;       // MessageNum / statuscode of a failure
    std::string content;  // elements placed before the message
    std::string document; // when set, the whole reply document, sent as it is

    static Outcome fail(std::string text, int num) { return {false, std::move(text), num, {}, {}}; }
    static Outcome done(std::string text = "Operation completed successfully") { return {true, std::move(text), 0, {}, {}}; }
};

class Engine {
public:
    // A change handler gets the model and the request; the system named by
    // `ElementID` (legacy) or `scellid` (version 3) is looked up for it when
    // the request names one, else it is null.
    using Handler = std::function<Outcome(Model&, const Request&, System*)>;

    explicit Engine(Model& model, std::string v3_namespace = {});

    // Runs one request document and returns the reply document.
    std::string execute(std::string_view document);
    // The reply that says the server is busy (status 18034), in the form of
    // the request.
    std::string busy_reply(std::string_view document) const;

    // Registers the handler of `operation` ("Create", "Set", "Delete", "Copy",
    // "createobject", ...) for one element type (legacy `Type`, version-3
    // `objecttype`). A later registration replaces an earlier one.
    void on(std::string_view operation, std::string_view element_type, Handler handler);

    Model& model() { return model_; }

    // What the retrievals serve. A file named here is `bytes` bytes of
    // generated_text; any other name gets a one-line text. Controller data
    // set here is `bytes` bytes of generated_bytes, else a short text. Each
    // returns the upper-case MD5 digest of the content.
    std::string serve_file(const std::string& name, size_t bytes);
    void serve_default_file(const std::string& name);
    std::string serve_controller_data(size_t bytes);
    void serve_default_controller_data();
    // Repeatable content: lines of 63 letters and digits, each shifted by
    // one from the last (no character that XML would escape, and never a
    // line break first); and bytes running through every value.
    static std::string generated_text(size_t bytes);
    static std::string generated_bytes(size_t bytes);

    // The object content of a single-object read, shared by both forms.
    std::string render_object(const System& sys, const Object& obj) const;

private:
    Model& model_;
    std::string v3_namespace_;
    std::map<std::string, Handler, std::less<>> handlers_;
    std::map<std::string, std::set<std::string>> exercised_disks_;  // system id -> disks under test
    std::map<std::string, size_t, std::less<>> served_files_;        // name -> size
    size_t controller_data_bytes_ = 0;                                // 0: the short default

    std::string reply(Form form, const Outcome& outcome) const;
    Outcome legacy_get(const Request& req);
    Outcome retrieval(const Request& req, System* sys);
    Outcome v3_getproperties(const Request& req);
    Outcome v3_getobjectlist(const Request& req);
    Outcome v3_disk_exercise(const Request& req);
    Outcome change(const Request& req);
    std::string render_dr_group(const System& sys, const Object& group) const;
};

// Validates a new object name as the manager does: 1 to `limit` printable
// characters, none of ? " / \ < > * | : & + , %. Returns the complaint or "".
std::string check_object_name(std::string_view name, size_t limit = 32);

// Registers the system (cell) handlers: Create, Set and Delete of "Element".
// Each object class gets its own register_..._handlers in its own file,
// called from the Engine constructor.
void register_system_handlers(Engine& engine);
// Create, Copy (of type "Snapshot" and "Clone"), Set and Delete of "Storage".
void register_storage_handlers(Engine& engine);
// Create, Set and Delete of "StorageClient".
void register_host_handlers(Engine& engine);
// Create and Delete of "PresentedUnit".
void register_lun_handlers(Engine& engine);
// Create, Set and Delete of "Folder".
void register_folder_handlers(Engine& engine);
// Create, Set and Delete of "DiskGroup".
void register_disk_group_handlers(Engine& engine);
// Set of "Disk".
void register_disk_handlers(Engine& engine);
// Version-3 createobject, setproperties and deleteobject of "drmgroup".
void register_dr_group_handlers(Engine& engine);
// Set of "Power": restart, shutdown and renaming of controllers.
void register_power_handlers(Engine& engine);
// Set of "Monitor": name, comment and temperature thresholds.
void register_monitor_handlers(Engine& engine);

}  // namespace talosim
