// A scripted management server behind the command side's client seam: each
// request gets the next canned reply (or error code); every request text is
// kept for inspection.
#pragma once

#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "corvane_seams.h"

struct FakeReply {
    int code = 0;             // client code of the call
    std::string text = {};    // reply document
    bool null_reply = false;  // success with no reply text at all
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

    std::vector<std::string> requests;
    std::vector<int> debug_levels;

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

    inline static FakeManager* current_ = nullptr;
    const ss_manager_client client_{command_ex, retries_required, error_description, set_debug_mode,
                                    nullptr, nullptr, nullptr, nullptr, nullptr};
    std::deque<FakeReply> replies_;
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
