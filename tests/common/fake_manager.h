// A scripted management server behind the command side's client seam: each
// request gets the next canned reply (or error code); every request text is
// kept for inspection.
#pragma once

#include <cstdio>
#include <cstring>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "corvane_seams.h"

struct FakeReply {
    int code = 0;             // client code of the call
    std::string text = {};    // reply document
    bool null_reply = false;  // success with no reply text at all
};

// The answer to one ready-made diagnostic request.
struct FakeDiagAnswer {
    int code = 0;
    std::optional<std::string> text = {};  // the message or summary handed back; none: null
    std::string version = "5.0";           // EMVERSION's two fields
    std::string build = "5000";
    bool refusal = false;  // a summary's text is the server's status message
};

// One ready-made diagnostic request as the fake received it.
struct FakeDiagCall {
    std::string operation;  // "version", "rediscover", "start", "stop", "summary"
    std::string server, user, password, disks, cell;
};

class FakeManager {
public:
    FakeManager() {
        current_ = this;
        ss_set_client(&client_);
    }
    ~FakeManager() {
        ss_set_client(nullptr);
        current_ = nullptr;
    }
    FakeManager(const FakeManager&) = delete;
    FakeManager& operator=(const FakeManager&) = delete;

    void reply(std::string text) { replies_.push_back({0, std::move(text)}); }
    void fail(int code) { replies_.push_back({code}); }
    void push(FakeReply r) { replies_.push_back(std::move(r)); }
    void diag(FakeDiagAnswer a) { diag_answers_.push_back(std::move(a)); }

    std::vector<std::string> requests;
    std::vector<int> debug_levels;
    std::vector<FakeDiagCall> diag_calls;
    int version_information_code = 0;  // of the library's local version call

private:
    static int command_ex(const char* request, char** response, int* length, int) {
        FakeManager& self = *current_;
        self.requests.emplace_back(request);
        *response = nullptr;
        *length = 0;
        if (self.replies_.empty()) return 105;
        FakeReply r = std::move(self.replies_.front());
        self.replies_.pop_front();
        if (r.code != 0 || r.null_reply) return r.code;
        *response = new char[r.text.size() + 1];
        std::memcpy(*response, r.text.c_str(), r.text.size() + 1);
        *length = static_cast<int>(r.text.size());
        return 0;
    }
    static int retries_required(const char* response) {
        return std::strstr(response, "<statuscode>18034</statuscode>") ? 18034 : 0;
    }
    static int error_description(int code, char* text, int size) {
        std::snprintf(text, static_cast<size_t>(size), "client code %d\n", code);
        return 0;
    }
    static void set_debug_mode(int level, const char*) { current_->debug_levels.push_back(level); }

    // Records the call and takes the next answer (an unscripted call cannot connect).
    static FakeDiagAnswer next_diag(FakeDiagCall call) {
        FakeManager& self = *current_;
        self.diag_calls.push_back(std::move(call));
        if (self.diag_answers_.empty()) return {105};
        FakeDiagAnswer a = std::move(self.diag_answers_.front());
        self.diag_answers_.pop_front();
        return a;
    }
    // Texts go out as the library's do, in array-new storage, so a missed
    // array delete shows as a leak under the sanitizers.
    static char* new_text(const std::optional<std::string>& text) {
        if (!text) return nullptr;
        char* copy = new char[text->size() + 1];
        std::memcpy(copy, text->c_str(), text->size() + 1);
        return copy;
    }
    static std::string str(const char* text) { return text ? text : "(null)"; }
    static int get_em_version(const char* server, const char* user, const char* password, char* version,
                              char* build) {
        FakeDiagAnswer a = next_diag({"version", str(server), str(user), str(password), "", ""});
        std::snprintf(version, ss_version_field_size, "%s", a.version.c_str());
        std::snprintf(build, ss_version_field_size, "%s", a.build.c_str());
        return a.code;
    }
    static int discover(const char* server, const char* user, const char* password) {
        return next_diag({"rediscover", str(server), str(user), str(password), "", ""}).code;
    }
    static int start_dkex(const char* server, const char* user, const char* password, const char* disks,
                          const char* cell, char** message) {
        FakeDiagAnswer a = next_diag({"start", str(server), str(user), str(password), str(disks), str(cell)});
        *message = new_text(a.text);
        return a.code;
    }
    static int stop_dkex(const char* server, const char* user, const char* password, const char* cell,
                         char** message) {
        FakeDiagAnswer a = next_diag({"stop", str(server), str(user), str(password), "", str(cell)});
        *message = new_text(a.text);
        return a.code;
    }
    static int dkex_summary(const char* server, const char* user, const char* password, const char* cell,
                            char** summary, int* is_summary) {
        FakeDiagAnswer a = next_diag({"summary", str(server), str(user), str(password), "", str(cell)});
        *summary = new_text(a.text);
        *is_summary = a.text && !a.refusal && !a.text->starts_with("Error:");
        return a.code;
    }
    static int version_information(char* version, char* build_date) {
        if (current_->version_information_code != 0) return current_->version_information_code;
        std::snprintf(version, ss_version_field_size, "%s", "EMClientAPITNG Version 9.9.1");
        std::snprintf(build_date, ss_version_field_size, "%s", "Jan  1 2030");
        return 0;
    }

    inline static FakeManager* current_ = nullptr;
    const ss_manager_client client_{command_ex,     retries_required, error_description, set_debug_mode,
                                    get_em_version, discover,         start_dkex,        stop_dkex,
                                    dkex_summary,   version_information};
    std::deque<FakeReply> replies_;
    std::deque<FakeDiagAnswer> diag_answers_;
};

// Reply documents in the server's legacy form.
inline std::string legacy_reply(const std::string& body) {
    return "<SOAP:Envelope xmlns:SOAP=\"urn:schemas-xmlsoap-org:soap.v1\">\n<SOAP:Body>\n"
           "<m:getResponse xmlns:m=\"FENN-URI\">\n" +
           body + "</m:getResponse>\n</SOAP:Body>\n</SOAP:Envelope>\n";
}

// A list reply of (name, id) rows under a label, with its success message.
inline std::string list_reply(const std::string& label, const std::vector<std::pair<std::string, std::string>>& rows) {
    std::string body = "<LabelName xsd:type=\"u:string\">" + label + "</LabelName>\n";
    if (!rows.empty()) {
        body += "<ArrayOfString xsd:type=\"u:string[2," + std::to_string(rows.size()) + "]\">\n";
        for (const auto& [name, id] : rows) body += "<Name>" + name + "</Name>\n<ID>" + id + "</ID>\n";
        body += "</ArrayOfString>\n";
    }
    return legacy_reply(body + "<SuccessMsg>Success</SuccessMsg>\n");
}

inline std::string success_reply() { return legacy_reply("<SuccessMsg>Success</SuccessMsg>\n<MessageNum>0</MessageNum>\n"); }
inline std::string failure_reply(const std::string& text) {
    return legacy_reply("<NotSuccessMsg>" + text + "</NotSuccessMsg>\n<MessageNum>41</MessageNum>\n");
}
