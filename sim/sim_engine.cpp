#include "sim_engine.h"

#include <algorithm>
#include <cstdlib>

#include "sim_clock.h"
#include "sim_codec.h"
#include "sim_reply.h"

namespace talosim {

std::string check_object_name(std::string_view name, size_t limit) {
    if (name.empty()) return "Name must not be empty";
    if (name.size() > limit) return "Name too long, limit " + std::to_string(limit) + " characters";
    for (char c : name) {
        auto u = static_cast<unsigned char>(c);
        if (u < 32 || u > 126) return "Invalid non-printable character in name";
        if (std::string_view("?\"/\\<>*|:&+,%").find(c) != std::string_view::npos)
            return std::string("Invalid character \"") + c + "\" in name";
    }
    return {};
}

namespace {

// Version-3 object types and the element types they stand for.
std::string_view element_type_of(std::string_view v3_type) {
    static constexpr std::pair<std::string_view, std::string_view> table[] = {
        {"virtualdisk", type::vdisk},  {"drmgroup", type::dr_group},  {"host", type::host},
        {"disk", type::disk},          {"diskgroup", type::disk_group}, {"folder", type::folder},
        {"presentedunit", type::lun},  {"storagecell", type::system}, {"monitor", type::monitor},
        {"controller", type::power}};
    for (const auto& [v3, element] : table)
        if (v3 == v3_type) return element;
    return is_system_level_type(v3_type) || v3_type == type::system ? v3_type : std::string_view{};
}

std::string plural_label(std::string_view t) {
    static constexpr std::pair<std::string_view, std::string_view> table[] = {
        {type::system, "Storage Systems"}, {type::disk, "Disks"},   {type::folder, "Folders"},
        {type::host, "Hosts"},             {type::monitor, "Monitors"}, {type::vdisk, "Virtual Disks"},
        {type::lun, "Presented Units"},    {type::disk_group, "Disk Groups"}, {type::disk_events, "Disk Events"},
        {type::management_events, "Management Events"}, {type::system_events, "System Events"},
        {type::termination_events, "Termination Events"}, {type::wwns, "World Wide Names"},
        {type::power, "Controllers"},      {type::dr_group, "DR Groups"}};
    for (const auto& [element, label] : table)
        if (element == t) return std::string(label);
    return std::string(t);
}

}  // namespace

Engine::Engine(Model& model, std::string v3_namespace) : model_(model), v3_namespace_(std::move(v3_namespace)) {
    register_system_handlers(*this);
    register_storage_handlers(*this);
    register_host_handlers(*this);
    register_lun_handlers(*this);
    register_folder_handlers(*this);
    register_disk_group_handlers(*this);
    register_disk_handlers(*this);
    register_dr_group_handlers(*this);
    register_power_handlers(*this);
    register_monitor_handlers(*this);
}

void Engine::on(std::string_view operation, std::string_view element_type, Handler handler) {
    handlers_[std::string(operation) + "/" + std::string(element_type)] = std::move(handler);
}

std::string Engine::reply(Form form, const Outcome& outcome) const {
    if (!outcome.document.empty()) return outcome.document;
    std::string body;
    body.reserve(outcome.content.size() + outcome.message.size() + 64);
    body += outcome.content;
    body += outcome.ok ? success_message(outcome.message) : failure_message(outcome.message, outcome.number);
    if (form == Form::legacy) return legacy_envelope(body);
    return v3_envelope(outcome.ok ? 0 : outcome.number, outcome.ok ? "Success" : outcome.message, body, v3_namespace_);
}

std::string Engine::busy_reply(std::string_view document) const {
    Form form = document.find("<NsaServerOperation>") != std::string_view::npos ? Form::v3 : Form::legacy;
    return reply(form, Outcome::fail("The storage system is busy; try again later", msgnum::busy));
}

std::string Engine::execute(std::string_view document) {
    Request req;
    std::string error;
    if (!parse_request_document(document, req, error)) {
        Form form = document.find("<NsaServerOperation>") != std::string_view::npos ? Form::v3 : Form::legacy;
        return reply(form, Outcome::fail("Request not understood: " + error, msgnum::invalid_parameter));
    }
    Outcome outcome;
    if (req.form == Form::legacy) {
        outcome = req.operation == "Get" ? legacy_get(req) : change(req);
    } else if (req.operation == "getproperties") {
        outcome = v3_getproperties(req);
    } else if (req.operation == "getsysteminfo") {
        outcome = Outcome::done();
        outcome.content = element("emversion", model_.manager_version) + element("embuild", model_.manager_build);
    } else if (req.operation == "discoverstoragecell") {
        outcome = Outcome::done("Storage system discovery started");
    } else if (req.operation == "getobjectlist") {
        outcome = v3_getobjectlist(req);
    } else if (req.operation == "startdiskexercise" || req.operation == "stopdiskexercise" ||
               req.operation == "diskexercisesummary") {
        outcome = v3_disk_exercise(req);
    } else {
        outcome = change(req);
    }
    return reply(req.form, outcome);
}

std::string Engine::render_object(const System& sys, const Object& obj) const {
    std::string out = element("Name", obj.name);
    out += element("ID", obj.id);
    for (const Field& f : obj.props) out += element(f.name, f.value);
    if (obj.type == type::lun) {
        const Object* vdisk = model_.find(sys, type::vdisk, obj.prop("StorageID"));
        const Object* host = model_.find(sys, type::host, obj.prop("StorageClientID"));
        out += element("Vdisk_Name", vdisk ? vdisk->name : "");
        out += element("Host_Name", host ? host->name : "");
    }
    // The controllers read out the one clock of the model.
    if (obj.type == type::power) out += element("Controller_time", format_time(model_.clock));
    for (const Section& s : obj.sections) out += category(s.label, s.fields);
    if (obj.type == type::vdisk) {
        // Presentations are LUN objects of their own; a disk shows them in
        // LUN order (hosts that share a number in the order they got it).
        std::vector<const Object*> presented = model_.luns_of(sys, obj.id);
        std::stable_sort(presented.begin(), presented.end(), [](const Object* a, const Object* b) {
            return std::strtoul(a->prop("LUN").c_str(), nullptr, 10) < std::strtoul(b->prop("LUN").c_str(), nullptr, 10);
        });
        std::vector<Field> luns;
        for (const Object* lun : presented) {
            const Object* host = model_.find(sys, type::host, lun->prop("StorageClientID"));
            luns.push_back({"Lun", lun->prop("LUN")});
            luns.push_back({"StorageClientName", host ? host->name : ""});
        }
        if (!luns.empty()) out += category("Presentations", luns);
    }
    return out;
}

std::string Engine::render_dr_group(const System& sys, const Object& group) const {
    std::string out = "<object>\n";
    out += element("objectname", group.name);
    out += element("objectid", group.id);
    out += element("objecttype", "drmgroup");
    if (const System* dest = model_.find_system(group.prop("destscellid"))) {
        out += "<linkscells>\n<link>\n";
        out += element("scellid", dest->self.id);
        out += element("scellname", dest->self.name);
        out += "</link>\n</linkscells>\n";
    }
    for (const Field& f : group.props)
        if (f.name != "destscellid" && f.name != "memberid") out += element(f.name, f.value);
    out += "<membervirtualdisks>\n";
    for (const Field& f : group.props) {
        if (f.name != "memberid") continue;
        const Object* vdisk = model_.find(sys, type::vdisk, f.value);
        out += "<member>\n";
        out += element("objectname", vdisk ? vdisk->name : "");
        out += element("objectid", f.value);
        out += "</member>\n";
    }
    out += "</membervirtualdisks>\n</object>\n";
    return out;
}

Outcome Engine::legacy_get(const Request& req) {
    const std::string& t = req.get("Type");
    const std::string& id = req.get("ID");
    if (t == type::system) {
        if (id.empty()) {
            std::vector<std::pair<std::string, std::string>> rows;
            for (const System& s : model_.systems) rows.emplace_back(s.self.name, s.self.id);
            Outcome out = Outcome::done("Get successful");
            out.content = name_id_array(plural_label(t), rows);
            return out;
        }
        System* sys = model_.find_system(id);
        if (sys == nullptr) return Outcome::fail("Storage system " + id + " does not exist", msgnum::not_found);
        Outcome out = Outcome::done("Get successful");
        out.content = render_object(*sys, sys->self);
        out.content += element("Initialized", sys->initialized ? "Yes" : "No");
        return out;
    }
    System* sys = model_.find_system(req.get("ElementID"));
    if (t == "file" || t == "ControllerData") return retrieval(req, sys);
    if (!is_system_level_type(t)) return Outcome::fail("Unknown object type \"" + t + "\"", msgnum::invalid_parameter);
    if (sys == nullptr)
        return Outcome::fail("Storage system " + req.get("ElementID") + " does not exist", msgnum::not_found);
    if (id.empty()) {
        std::vector<std::pair<std::string, std::string>> rows;
        for (const Object* o : model_.list(*sys, t)) rows.emplace_back(o->name, o->id);
        Outcome out = Outcome::done("Get successful");
        out.content = name_id_array(plural_label(t), rows);
        return out;
    }
    const Object* obj = model_.find(*sys, t, id);
    if (obj == nullptr) return Outcome::fail("Object " + id + " does not exist", msgnum::not_found);
    Outcome out = Outcome::done("Get successful");
    out.content = render_object(*sys, *obj);
    return out;
}

std::string Engine::generated_text(size_t bytes) {
    static constexpr char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::string out(bytes, '\n');
    for (size_t i = 0; i < bytes; ++i)
        if (i % 64 != 63) out[i] = alphabet[(i / 64 + i % 64) % 62];
    return out;
}

std::string Engine::generated_bytes(size_t bytes) {
    std::string out(bytes, '\0');
    for (size_t i = 0; i < bytes; ++i) out[i] = static_cast<char>((i * 7 + i / 256) & 0xff);
    return out;
}

std::string Engine::serve_file(const std::string& name, size_t bytes) {
    served_files_[name] = bytes;
    return md5_upper_hex(generated_text(bytes));
}

void Engine::serve_default_file(const std::string& name) { served_files_.erase(name); }

std::string Engine::serve_controller_data(size_t bytes) {
    controller_data_bytes_ = bytes;
    return md5_upper_hex(generated_bytes(bytes));
}

void Engine::serve_default_controller_data() { controller_data_bytes_ = 0; }

Outcome Engine::retrieval(const Request& req, System* sys) {
    if (sys == nullptr)
        return Outcome::fail("Storage system " + req.get("ElementID") + " does not exist", msgnum::not_found);
    std::string payload;
    if (req.get("Type") == "file") {
        std::string name = req.get("Filename");
        if (name.empty()) return Outcome::fail("No file name given", msgnum::invalid_parameter);
        auto served = served_files_.find(name);
        payload = served != served_files_.end() ? generated_text(served->second)
                                                : "Simulated file " + name + " of " + sys->self.name + "\n";
    } else {
        payload = base64_encode(controller_data_bytes_ > 0 ? generated_bytes(controller_data_bytes_)
                                                           : req.get("DataType") + " of " + sys->self.name);
    }
    Outcome out;
    out.document =
        "<SOAP:Envelope xmlns:SOAP=\"urn:schemas-xmlsoap-org:soap.v1\">\n<SOAP:Body=tessel-brindle:qxapi.v1>\n"
        "<m:GetResponse xmlns:m=\"FENN-URI\">\n" +
        payload + "</m:GetResponse>\n</SOAP:Body>\n</SOAP:Envelope>\n";
    return out;
}

Outcome Engine::v3_getproperties(const Request& req) {
    std::string_view t = element_type_of(req.get("objecttype"));
    if (t.empty()) return Outcome::fail("Unknown object type \"" + req.get("objecttype") + "\"", msgnum::invalid_parameter);
    System* sys = model_.find_system(req.get("scellid"));
    if (sys == nullptr) return Outcome::fail("Storage system " + req.get("scellid") + " does not exist", msgnum::not_found);
    const std::string& id = req.get("objectid");
    Outcome out = Outcome::done("Get successful");
    if (t == type::system) {
        out.content = "<object>\n" + render_object(*sys, sys->self) + "</object>\n";
        return out;
    }
    const Object* obj = model_.find(*sys, t, id);
    if (obj == nullptr) return Outcome::fail("Object " + id + " does not exist", msgnum::not_found);
    out.content = t == type::dr_group ? render_dr_group(*sys, *obj) : "<object>\n" + render_object(*sys, *obj) + "</object>\n";
    return out;
}

Outcome Engine::v3_getobjectlist(const Request& req) {
    std::string_view t = element_type_of(req.get("objecttype"));
    System* sys = model_.find_system(req.get("scellid"));
    if (sys == nullptr) return Outcome::fail("Storage system " + req.get("scellid") + " does not exist", msgnum::not_found);
    if (t.empty() || t == type::system)
        return Outcome::fail("Unknown object type \"" + req.get("objecttype") + "\"", msgnum::invalid_parameter);
    Outcome out = Outcome::done("Get successful");
    for (const Object* o : model_.list(*sys, t)) {
        out.content += "<object>\n" + element("objectid", o->id) + element("objectname", o->name) +
                       element("objecthexuid", o->id) + "</object>\n";
    }
    return out;
}

Outcome Engine::v3_disk_exercise(const Request& req) {
    System* sys = model_.find_system(req.get("scellid"));
    if (sys == nullptr) return Outcome::fail("Storage system " + req.get("scellid") + " does not exist", msgnum::not_found);
    std::set<std::string>& running = exercised_disks_[sys->self.id];
    if (req.operation == "startdiskexercise") {
        std::vector<std::string> disks = req.all("diskid");
        if (disks.empty()) return Outcome::fail("No disk given to exercise", msgnum::invalid_parameter);
        for (const std::string& d : disks)
            if (model_.find(*sys, type::disk, d) == nullptr) return Outcome::fail("Disk " + d + " does not exist", msgnum::not_found);
        if (!running.empty())
            return Outcome::fail("The disk exerciser is already running on " + std::to_string(running.size()) + " disks",
                                 msgnum::not_allowed);
        running.insert(disks.begin(), disks.end());
        return Outcome::done("Disk exerciser started on " + std::to_string(running.size()) + " disks");
    }
    if (req.operation == "stopdiskexercise") {
        if (running.empty()) return Outcome::fail("The disk exerciser is not running", msgnum::not_allowed);
        running.clear();
        return Outcome::done("Disk exerciser stopped");
    }
    std::string text = "Disks under test: " + std::to_string(running.size()) + "; errors found: 0";
    if (running.empty()) {
        text += "; exerciser stopped";
    } else {
        const char* sep = "; disks: ";
        for (const std::string& id : running) {
            const Object* disk = model_.find(*sys, type::disk, id);
            text += sep;
            text += disk ? disk->name : id;
            sep = ", ";
        }
    }
    Outcome out = Outcome::done();
    out.content = element("diskexercisesummary", text);
    return out;
}

Outcome Engine::change(const Request& req) {
    const std::string& t = req.form == Form::legacy ? req.get("Type") : req.get("objecttype");
    auto it = handlers_.find(req.operation + "/" + t);
    if (it == handlers_.end())
        return Outcome::fail("Operation " + req.operation + " of " + (t.empty() ? "(no type)" : t) +
                                 " is not supported by this manager",
                             msgnum::not_supported);
    System* sys = model_.find_system(req.form == Form::legacy ? req.get("ElementID") : req.get("scellid"));
    Outcome outcome = it->second(model_, req, sys);
    // Handlers edit objects in place (a new LUN gets its links after it is
    // added): the model's lookups must not trust what they saw before.
    model_.touch();
    if (outcome.ok) ++model_.clock;
    return outcome;
}

}  // namespace talosim
