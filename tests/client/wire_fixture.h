// Common ground for the tests that put the client library on the wire: the
// library's globals reset, waits recorded instead of slept, the cookie file
// and the debug log in a private directory, and a reader for the
// simulator's request log.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EMClientAPI.h"
#include "EMClientAPISecurity.h"
#include "EMClientAPISocketPool.h"
#include "EMClientAPITNG.h"
#include "client_fixture.h"
#include "client_requests.h"
#include "sim_process.h"

class WireTest : public ClientTest {
protected:
    void SetUp() override {
        ClientTest::SetUp();
        persist_ = dir_ + "/persist.txt";
        sim_log_ = dir_ + "/sim.log";
        EMClientAPISetPersistFileName(persist_.c_str());
        sleeps().clear();
        EMClientAPISetSleep([](unsigned seconds) { sleeps().push_back(seconds); });
        EMClientAPISetHostName([](char* name, size_t size) {
            std::snprintf(name, size, "localhost");
            return 0;
        });
        reset_library();
        // As the program runs the library: block mode on. A short time-out
        // bounds every wait on a silent server.
        EMClientAPITNGSetBlockMode(1);
        EMClientAPITNGSetTimeout(5);
    }

    void TearDown() override {
        reset_library();
        EMClientAPISetPersistFileName(nullptr);
        ClientTest::TearDown();
    }

    static void reset_library() {
        EMClientAPIResetPool();
        PersistedUsername.Clear();
        PersistedUserpassword.Clear();
        EMClientAPITNGSetBlockMode(0);
        EMClientAPITNGSetTimeout(60);
        EMClientAPITNGSetSocketDestroy(0);
    }

    static std::vector<unsigned>& sleeps() {
        static std::vector<unsigned> recorded;
        return recorded;
    }

    bool start_sim(std::vector<std::string> args = {}) {
        args.push_back("--log");
        args.push_back(sim_log_);
        return sim_.start(args);
    }

    std::string host(int port = 12301) const { return sim_.address() + ":" + std::to_string(port); }
    std::string control(const std::string& command) { return simtest::control(sim_.address(), command); }

    // One request through the current interface: its code, the reply in out.
    int command(const std::string& request, std::string& out, int retries = 0) {
        char* reply = nullptr;
        int length = -1;
        int rc = EMClientAPITNGCommandEx(request.c_str(), &reply, &length, retries);
        out = reply != nullptr ? std::string(reply, static_cast<size_t>(length)) : std::string();
        delete[] reply;
        return rc;
    }

    struct Entry {
        int port = 0;
        int connection = 0;
        std::string bytes;
    };

    // The requests of the simulator's log, in arrival order, by port number.
    std::vector<Entry> requests_logged() const {
        std::vector<Entry> out;
        std::string log = read_file(sim_log_);
        size_t pos = 0;
        while (pos < log.size()) {
            size_t eol = log.find('\n', pos);
            if (eol == std::string::npos) break;
            std::string head = log.substr(pos, eol - pos);
            int connection = 0;
            char name[16] = {}, kind[16] = {};
            size_t bytes = 0;
            if (std::sscanf(head.c_str(), "%*s %15s #%d %15s %zu", name, &connection, kind, &bytes) != 4) break;
            int port = std::string(name) == "bridge" ? 12301 : std::string(name) == "legacy" ? 2301 : 0;
            if (head.rfind(">>>", 0) == 0) out.push_back({port, connection, log.substr(eol + 1, bytes)});
            pos = eol + 1 + bytes + 1;
        }
        return out;
    }

    std::vector<Entry> requests_logged(int port) const {
        std::vector<Entry> out;
        for (Entry& e : requests_logged())
            if (e.port == port) out.push_back(e);
        return out;
    }

    std::string persist_;
    std::string sim_log_;
    simtest::SimProcess sim_;
};

inline std::string admin_legacy(const std::string& host) { return legacy_request(host, "administrator", "password"); }
inline std::string admin_v3(const std::string& host) { return v3_request(host, "administrator", "password"); }

namespace wiretest {

// The Basic code of administrator/password.
inline constexpr const char* kBasic = "YWRtaW5pc3RyYXRvcjoxNzRFNkJERTgyNjNENEI3MkNCRTY5REZGMDI5RTYyQQ==";

inline std::string escaped(const std::string& text) {
    std::string out;
    for (char c : text) out += c == '<' ? "&lt;" : c == '>' ? "&gt;" : std::string(1, c);
    return out;
}

// The bridge call the library makes of a payload document, for host.
inline std::string bridge_request(const std::string& host, const std::string& payload) {
    std::string body =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
        "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"\n"
        "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\"\n"
        "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n"
        "<soap:Body>\n"
        "<m:executeTextTransport xmlns:m=\"urn:VELTRA-Kestrel:BridgeXMLInterface.v3\">\n"
        "<xmlPayload>" +
        escaped(payload) + "</xmlPayload>\n</m:executeTextTransport>\n</soap:Body>\n</soap:Envelope>";
    return "POST /qxbridge HTTP/1.1\nHost:" + host +
           "\nUser-Agent: SoapClient 1.0\nAuthorization: Basic " + kBasic +
           "\nContent-Type:text/xml; charset=utf-8\nContent-Length:" + std::to_string(body.size()) +
           "\nSOAPAction:\"urn:VELTRA-Kestrel:BridgeXMLInterface.v3/executeTextTransport\"\n\n" + body;
}

// The login exchanges of a legacy web agent, then each of replies.
inline std::vector<std::string> agent_script(const std::vector<std::string>& replies) {
    const std::string key = std::string(20, 'K') + "0001" + std::string(32, 'k');
    std::vector<std::string> script;
    for (const std::string& r : replies) {
        script.push_back("HTTP/1.1 200 OK\r\n\r\n<PARAM NAME=SessionKey VALUE=\"Tessel-KLMD=" + key + "\">\n");
        script.push_back("HTTP/1.0 200 Ok\r\nSet-Cookie: Tessel-KLMD=" + std::string(56, 'S') + "\r\n\r\n");
        script.push_back("HTTP/1.1 200 OK\r\n\r\n" + r);
    }
    return script;
}

}  // namespace wiretest
