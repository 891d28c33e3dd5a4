// The ready-made diagnostic and retrieval requests against the simulated
// management server (and scripted servers for the answers it never gives):
// the bytes on the wire, what each answer is turned into, and the result
// codes.
#include <dirent.h>
#include <openssl/evp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "EMClientAPITNGDiag.h"
#include "fake_server.h"
#include "md5c.h"
#include "wire_fixture.h"

namespace {

using clienttest::bridge_reply;
using clienttest::FakeServer;
using wiretest::agent_script;
using wiretest::bridge_request;

constexpr const char* kUser = "administrator";
constexpr const char* kPassword = "password";

// One system with disks of known identifiers and names, and one without.
constexpr const char* kScenario = R"json({
  "manager": {"version": "TEST-7.1", "build": "Jan 02 2027"},
  "systems": [
    {"name": "Lynx", "id": "CELL1", "objects": [
      {"type": "Disk", "name": "\\Disk Groups\\Default\\Disk 001", "id": "D1"},
      {"type": "Disk", "name": "\\Disk Groups\\Default\\Disk 002", "id": "D2"},
      {"type": "Disk", "name": "\\Disk Groups\\Archive\\Disk 010", "id": "D3"}]},
    {"name": "Ocelot", "id": "CELL2"}
  ]
})json";

// The version-3 payload as it reaches the bridge: credentials out, the
// local address in.
std::string v3_payload(const std::string& version, const std::string& trace, const std::string& operation) {
    return "<Envelope xmlns='http://www.veltra.com/" + std::string(version == "3.2" ? "qxapiv32" : "qxapiv3") +
           "'><Header><version>" + version +
           "</version><application><hostip>127.0.0.1</hostip><hostname>unknown</hostname>"
           "<applicationname>EMClientAPITNG</applicationname><applicationtype>00</applicationtype></application>"
           "<tracerequest>" + trace + "</tracerequest><disablevalidation/></Header><Body><NsaServerOperation>" +
           operation + "</NsaServerOperation></Body></Envelope>\n";
}

std::string text_of(char* owned) {
    std::string out = owned ? owned : "";
    delete[] owned;
    return out;
}

std::string md5_of_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    char digest[33] = {};
    TslKlmoMD5Buffer(content.c_str(), digest);
    return digest;
}

std::string md5_of_bytes(const unsigned char* data, size_t n) {
    unsigned char md[EVP_MAX_MD_SIZE];
    unsigned len = 0;
    EVP_Digest(data, n, md, &len, EVP_md5(), nullptr);
    std::string out;
    char hex[3];
    for (unsigned i = 0; i < len; ++i) {
        std::snprintf(hex, sizeof hex, "%02X", md[i]);
        out += hex;
    }
    return out;
}

std::vector<std::string> entries_of(const std::string& dir) {
    std::vector<std::string> names;
    if (DIR* d = ::opendir(dir.c_str())) {
        while (dirent* e = ::readdir(d))
            if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0) names.push_back(e->d_name);
        ::closedir(d);
    }
    return names;
}

class DiagTest : public WireTest {
protected:
    void SetUp() override {
        WireTest::SetUp();
        scenario_ = dir_ + "/scenario.json";
        { std::ofstream(scenario_) << kScenario; }
        files_ = dir_ + "/files";
        ::mkdir(files_.c_str(), 0700);
    }

    bool start() { return start_sim({"--scenario", scenario_}); }
    const char* server() const { return sim_.address().c_str(); }

    // The digest the simulator reports for what a control command set up.
    std::string serve(const std::string& command) {
        std::string answer = control(command);
        EXPECT_EQ(answer.rfind("OK md5=", 0), 0u) << answer;
        return answer.size() > 7 ? answer.substr(7, 32) : "";
    }

    std::string last_bridge_request() const {
        std::vector<Entry> sent = requests_logged(12301);
        return sent.empty() ? std::string() : sent.back().bytes;
    }

    // The disk ids of the last start request the bridge received.
    std::vector<std::string> last_started_disks() const {
        std::vector<std::string> ids;
        for (const Entry& e : requests_logged(12301)) {
            if (e.bytes.find("&lt;startdiskexercise&gt;") == std::string::npos) continue;
            ids.clear();
            const std::string open = "&lt;diskid&gt;", close = "&lt;/diskid&gt;";
            for (size_t p = e.bytes.find(open); p != std::string::npos; p = e.bytes.find(open, p)) {
                p += open.size();
                ids.push_back(e.bytes.substr(p, e.bytes.find(close, p) - p));
            }
        }
        return ids;
    }

    size_t start_requests() const {
        size_t n = 0;
        for (const Entry& e : requests_logged(12301)) n += e.bytes.find("&lt;startdiskexercise&gt;") != std::string::npos;
        return n;
    }

    int start_dkex(const char* names, std::string& message, const char* cell = "CELL1") {
        char* text = nullptr;
        int rc = EMClientAPITNGStartDKEXDiskName(server(), kUser, kPassword, names, cell, &text);
        message = text_of(text);
        return rc;
    }
    int stop_dkex(std::string& message, const char* cell = "CELL1") {
        char* text = reinterpret_cast<char*>(1);  // the operation clears it first
        int rc = EMClientAPITNGStopDKEX(server(), kUser, kPassword, cell, &text);
        message = text_of(text);
        return rc;
    }
    int summary(std::string& text, const char* cell = "CELL1", const char* address = nullptr) {
        char* out = nullptr;
        int rc = EMClientAPITNGGetDKEXSummary(address ? address : server(), kUser, kPassword, cell, &out);
        EXPECT_NE(out, nullptr);
        text = text_of(out);
        return rc;
    }

    std::string scenario_;
    std::string files_;
};

TEST_F(DiagTest, VersionThreeRequestsTravelExactlyAsBuilt) {
    ASSERT_TRUE(start()) << sim_.output();
    UList objects;
    std::string message, text;
    struct Case {
        const char* what;
        std::function<int()> call;
        std::string version, trace, operation;
    } cases[] = {
        {"rediscovery", [&] { return EMClientAPITNGDiscoverStorageCell(server(), kUser, kPassword); }, "3.2", "never",
         "<discoverstoragecell/>"},
        {"object list", [&] { return EMClientAPITNGGetObjectList(server(), kUser, kPassword, "CELL1", "disk", &objects); },
         "3.00", "never",
         "<getobjectlist><scellid>CELL1</scellid><objecttype>disk</objecttype></getobjectlist>"},
        {"start, every disk", [&] { return start_dkex("", message); }, "3.2", "always",
         "<startdiskexercise><scellid>CELL1</scellid><diskid>D1</diskid><diskid>D2</diskid><diskid>D3</diskid>"
         "</startdiskexercise>"},
        {"summary", [&] { return summary(text); }, "3.2", "never",
         "<diskexercisesummary><scellid>CELL1</scellid></diskexercisesummary>"},
        {"stop", [&] { return stop_dkex(message); }, "3.2", "always",
         "<stopdiskexercise><scellid>CELL1</scellid></stopdiskexercise>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.call(), 0);
        EXPECT_EQ(last_bridge_request(), bridge_request(host(12301), v3_payload(c.version, c.trace, c.operation)));
    }
    EMClientAPITNGClearObjectList(&objects);
    EXPECT_TRUE(requests_logged(2301).empty());

    // The version query asks the element manager on 2301; without a session
    // key there it goes to the bridge.
    control("nokey 2");
    char version[80], build[80];
    ASSERT_EQ(EMClientAPITNGGetEMVersion(server(), kUser, kPassword, version, build), 0);
    EXPECT_EQ(last_bridge_request(), bridge_request(host(12301), v3_payload("3.00", "never", "<getsysteminfo/>")));
    EXPECT_STREQ(version, "TEST-7.1");
    EXPECT_STREQ(build, "Jan 02 2027");
}

TEST_F(DiagTest, VersionQueryLogsInAfreshOnTheElementManager) {
    ASSERT_TRUE(start()) << sim_.output();
    std::string reply;
    ASSERT_EQ(command(admin_legacy(host(2301)), reply), 0);  // leaves a session cookie behind
    ASSERT_EQ(read_file(persist_).size(), (host(2301) + "\nadministrator\n").size() + 56 + 1);
    char version[80], build[80];
    ASSERT_EQ(EMClientAPITNGGetEMVersion(server(), kUser, kPassword, version, build), 0);
    EXPECT_STREQ(version, "TEST-7.1");
    std::vector<Entry> sent = requests_logged(2301);
    ASSERT_EQ(sent.size(), 6u);  // two logins of two exchanges, two requests
    EXPECT_EQ(sent[3].bytes.rfind("Get /tsllogin.htm", 0), 0u);
    EXPECT_EQ(sent[5].bytes.rfind("POST /ResEltTslPyrite/XMLIntr HTTP/1.1\nHost:" + host(2301) + "\n", 0), 0u);
    EXPECT_NE(sent[5].bytes.find("<NsaServerOperation><getsysteminfo/></NsaServerOperation>"), std::string::npos);
    EXPECT_EQ(sent[5].bytes.find("<userpassword>"), std::string::npos);
    EXPECT_TRUE(requests_logged(12301).empty());

    // The older element manager knows no version-3 requests.
    ASSERT_EQ(control("older-manager on"), "OK\n");
    ASSERT_EQ(EMClientAPITNGGetEMVersion(server(), kUser, kPassword, version, build), 0);
    EXPECT_STREQ(version, "2");
    EXPECT_STREQ(build, "unknown");
}

TEST_F(DiagTest, VersionAnswersAndTheirCodes) {
    const std::string v79(79, 'v'), v80(80, 'v');
    struct Case {
        std::string answer;
        int code;
        const char* version;
        const char* build;
    } cases[] = {
        {"<HTML>Error: xmlintr - is not yet supported or known</HTML>", 0, "2", "unknown"},
        {"<emversion>" + v79 + "</emversion><embuild>b1</embuild>", 0, v79.c_str(), "b1"},
        {"<emversion>" + v80 + "</emversion><embuild>b1</embuild>", EMCLIENTAPI_BUFFERTOOSMALL_ERROR, "unknown", "unknown"},
        {"<emversion>4.1</emversion><embuild>" + v80 + "</embuild>", EMCLIENTAPI_BUFFERTOOSMALL_ERROR, "4.1", "unknown"},
        {"<embuild>b1</embuild>", EMCLIENTAPI_INVALIDSERVERRESPONSE_ERROR, "unknown", "unknown"},
        {"<emversion>4.1</emversion><embuild>b1", EMCLIENTAPI_INVALIDSERVERRESPONSE_ERROR, "4.1", "unknown"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer.substr(0, 40));
        std::string address = simtest::unique_loopback_address();
        FakeServer agent(address, 2301, agent_script({c.answer}), true);
        ASSERT_TRUE(agent.listening());
        char version[80], build[80];
        std::memset(version, 'x', sizeof version);
        std::memset(build, 'x', sizeof build);
        EXPECT_EQ(EMClientAPITNGGetEMVersion(address.c_str(), kUser, kPassword, version, build), c.code);
        EXPECT_STREQ(version, c.version);
        EXPECT_STREQ(build, c.build);
        EXPECT_EQ(agent.requests(), 3);
    }
    char field[80];
    EXPECT_EQ(EMClientAPITNGGetEMVersion("h", kUser, kPassword, field, nullptr), EMCLIENTAPI_INVALIDPARAMETER_ERROR);
}

TEST_F(DiagTest, StartByDiskNames) {
    ASSERT_TRUE(start()) << sim_.output();
    struct Case {
        const char* names;
        int code;
        std::vector<std::string> sent;  // empty: no start request
    } cases[] = {
        {"", 0, {"D1", "D2", "D3"}},
        {"  \\Disk Groups\\Archive , \\Disk Groups\\Default\\Disk 002", 0, {"D3", "D2"}},
        {"\\Disk Groups\\Default", 0, {"D1"}},  // the first disk whose name begins so
        {"\\Disk Groups\\Default\\Disk 002,", 0, {"D2"}},
        {"\\Disk Groups\\Archive, ", 0, {"D3"}},
        {"\\Disk Groups\\Default\\Disk 001,\\Disk Groups\\Nowhere", EMCLIENTAPI_OBJECTNOTFOUND_ERROR, {}},
        {"Disk 001", EMCLIENTAPI_OBJECTNOTFOUND_ERROR, {}},  // found inside the name, not at its start
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.names);
        size_t before = start_requests();
        std::string message;
        EXPECT_EQ(start_dkex(c.names, message), c.code);
        EXPECT_EQ(message, "");
        if (c.sent.empty()) {
            EXPECT_EQ(start_requests(), before);
            continue;
        }
        EXPECT_EQ(last_started_disks(), c.sent);
        EXPECT_EQ(stop_dkex(message), 0);
    }
    char* message = reinterpret_cast<char*>(1);
    EXPECT_EQ(EMClientAPITNGStartDKEXDiskName(server(), kUser, kPassword, nullptr, "CELL1", &message),
              EMCLIENTAPI_INVALIDPARAMETER_ERROR);
    EXPECT_EQ(message, nullptr);
    EXPECT_EQ(EMClientAPITNGStartDKEXDiskName(server(), kUser, kPassword, "", nullptr, &message),
              EMCLIENTAPI_INVALIDPARAMETER_ERROR);
}

TEST_F(DiagTest, ExerciserStateComesBackAsMessagesAndSummary) {
    ASSERT_TRUE(start()) << sim_.output();
    std::string message, text;
    ASSERT_EQ(start_dkex("\\Disk Groups\\Archive", message), 0);
    EXPECT_EQ(message, "");
    ASSERT_EQ(summary(text), 0);
    EXPECT_EQ(text, "Disks under test: 1; errors found: 0; disks: \\Disk Groups\\Archive\\Disk 010");
    ASSERT_EQ(summary(text, "CELL2"), 0);  // each system has its own
    EXPECT_EQ(text, "Disks under test: 0; errors found: 0; exerciser stopped");

    // A refusal is no failure of the exchange: its status message is the output.
    EXPECT_EQ(start_dkex("", message), 0);
    EXPECT_EQ(message, "The disk exerciser is already running on 1 disks ");
    EXPECT_EQ(stop_dkex(message), 0);
    EXPECT_EQ(message, "");
    EXPECT_EQ(stop_dkex(message), 0);
    EXPECT_EQ(message, "The disk exerciser is not running ");
    EXPECT_EQ(summary(text, "CELL9"), 0);
    EXPECT_EQ(text, "Storage system CELL9 does not exist ");
    EXPECT_EQ(start_dkex("", message, "CELL2"), 0);  // a system without disks: none to start
    EXPECT_EQ(message, "No disk given to exercise ");
}

TEST_F(DiagTest, StatusMessagesAndSummaryTexts) {
    auto v3 = [](const std::string& body) {
        return bridge_reply("<SOAP:Envelope>\n<SOAP:Body>\n<version>3.2</version>\n" + body + "</SOAP:Body>\n</SOAP:Envelope>\n");
    };
    const std::string placeholder = "Error: No disk exercise summary (unknown error).";
    struct Case {
        std::string reply;
        std::string stop_message;
        std::string summary;
    } cases[] = {
        {v3("<statuscode>0</statuscode><statusdescription>Fine</statusdescription>"), "", placeholder},
        {v3("<statuscode>7</statuscode><statusdescription>First</statusdescription><x/>"
            "<statusdescription>Second</statusdescription><statusdescription>Third</statusdescription>"),
         "First Second", "First Second"},
        {v3("<statuscode>7</statuscode>"), "", placeholder},
        {v3("<statuscode>0</statuscode><diskexercisesummary>All quiet</diskexercisesummary>"), "", "All quiet"},
        {v3("<statuscode>0</statuscode><diskexercisesummary>No end"), "", placeholder},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reply);
        std::string address = simtest::unique_loopback_address();
        FakeServer bridge(address, 12301, {c.reply, c.reply});
        ASSERT_TRUE(bridge.listening());
        char* message = nullptr;
        EXPECT_EQ(EMClientAPITNGStopDKEX(address.c_str(), kUser, kPassword, "C", &message), 0);
        EXPECT_EQ(text_of(message), c.stop_message);
        std::string text;
        EXPECT_EQ(summary(text, "C", address.c_str()), 0);
        EXPECT_EQ(text, c.summary);
        EMClientAPIResetPool();
    }

    // A failed exchange still sets the summary.
    std::string address = simtest::unique_loopback_address();
    FakeServer bridge(address, 12301, {"HTTP/1.1 502 Bad Gateway\r\nContent-Length: 0\r\n\r\n"});
    std::string text;
    EXPECT_EQ(summary(text, "C", address.c_str()), EMCLIENTAPITNG_SOAPSERVER_RESPONSE_INVALID_ERROR);
    EXPECT_EQ(text, placeholder);
}

TEST_F(DiagTest, ObjectListSkipsIncompleteEntriesAndAppends) {
    std::string address = simtest::unique_loopback_address();
    const std::string list =
        "<SOAP:Envelope>\n<version>3.2</version>\n<statuscode>0</statuscode>\n"
        "<object><objectid>1</objectid><objectname>\\A</objectname><objecthexuid>01</objecthexuid></object>\n"
        "<object><objectid>2</objectid><objecthexuid>02</objecthexuid></object>\n"  // no name: skipped
        "<object><objectid>3</objectid><objectname>\\C</objectname></object>\n"    // no UID: skipped
        "<object><objectid>4</objectid><objectname>\\D</objectname><objecthexuid>04</objecthexuid></object>\n"
        "</SOAP:Envelope>\n";
    FakeServer bridge(address, 12301, {bridge_reply(list), "HTTP/1.1 502 Bad Gateway\r\nContent-Length: 0\r\n\r\n"});
    ASSERT_TRUE(bridge.listening());
    UList objects;
    auto* kept = new EMClientAPITNGObject{"0", "\\Kept", "00"};
    objects.AddTail(kept);
    EMClientAPITNGSetDebugMode(1, nullptr);
    ASSERT_EQ(EMClientAPITNGGetObjectList(address.c_str(), kUser, kPassword, "C", "disk", &objects), 0);
    EMClientAPITNGSetDebugMode(0, nullptr);
    EXPECT_NE(read_file(log_).find("Extracted ITEMS -->"), std::string::npos);
    std::vector<std::string> seen;
    for (SListNode* pos = objects.GetHeadPtr(); pos;) {
        auto* o = static_cast<EMClientAPITNGObject*>(objects.GetAndNextPtr(pos));
        seen.push_back(std::string(TextOf(o->id)) + "|" + TextOf(o->name) + "|" + TextOf(o->hexuid));
    }
    EXPECT_EQ(seen, std::vector<std::string>({"0|\\Kept|00", "1|\\A|01", "4|\\D|04"}));

    EXPECT_EQ(EMClientAPITNGGetObjectList(address.c_str(), kUser, kPassword, "C", "disk", &objects),
              EMCLIENTAPITNG_SOAPSERVER_RESPONSE_INVALID_ERROR);
    EXPECT_EQ(objects.GetCount(), 3);
    EXPECT_EQ(EMClientAPITNGClearObjectList(&objects), 0);
    EXPECT_TRUE(objects.IsEmpty());
}

TEST_F(DiagTest, LargeFileRetrievedWholeOnEitherPath) {
    ASSERT_TRUE(start()) << sim_.output();
    const std::string digest = serve("file big.log 10485760");
    for (const char* port : {"12301", "2301"}) {
        SCOPED_TRACE(port);
        std::string local = files_ + "/sub-" + port;
        ::mkdir(local.c_str(), 0700);
        local += "/big.log";
        ASSERT_EQ(EMClientAPITNGRetrieveFile(local.c_str(), "CELL1", server(), port, kUser, kPassword, 0), 0);
        struct stat st {};
        ASSERT_EQ(::lstat(local.c_str(), &st), 0);
        EXPECT_EQ(st.st_size, 10485760);
        EXPECT_EQ(st.st_mode & 0777, 0600u);
        EXPECT_EQ(md5_of_file(local), digest);
    }
    // Only the last path component is asked for, on both paths.
    std::vector<Entry> sent = requests_logged(12301);
    ASSERT_FALSE(sent.empty());
    EXPECT_NE(sent.back().bytes.find("&lt;ElementID xsd:type=\"string\"&gt;CELL1&lt;/ElementID&gt;\n\n"
                                     "&lt;Type xsd:type=\"string\"&gt;file&lt;/Type&gt;\n"
                                     "&lt;Filename xsd:type=\"string\"&gt;big.log&lt;/Filename&gt;"),
              std::string::npos)
        << sent.back().bytes.substr(0, 2000);
    EXPECT_EQ(sent.back().bytes.find("UserName"), std::string::npos);
    EXPECT_NE(requests_logged(2301).back().bytes.find("<Filename xsd:type=\"string\">big.log</Filename>"),
              std::string::npos);
}

TEST_F(DiagTest, FailedRetrievalLeavesTheLocalFileAsItWas) {
    ASSERT_TRUE(start()) << sim_.output();
    serve("file report.txt 200000");
    std::string local = files_ + "/report.txt";
    struct Case {
        const char* fault;
        const char* element;
        const char* port;
        int code;
    } cases[] = {
        {"cut-reply 5000 2", "CELL1", "12301", EMCLIENTAPISOCKET_RECEIVE_ERROR},  // the one reconnection cut too
        {"cut-reply 5000", "CELL1", "2301", EMCLIENTAPI_INVALIDSERVERRESPONSE_ERROR},  // no end tag
        {nullptr, "CELL9", "12301", EMCLIENTAPI_INVALIDSERVERRESPONSE_ERROR},          // no answer at all
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.port) + " " + (c.fault ? c.fault : c.element));
        { std::ofstream(local) << "keep me"; }
        if (c.fault) {
            ASSERT_EQ(control(c.fault), "OK\n");
        }
        EXPECT_EQ(EMClientAPITNGRetrieveFile(local.c_str(), c.element, server(), c.port, kUser, kPassword, 0), c.code);
        EXPECT_EQ(read_file(local), "keep me");
        EXPECT_EQ(entries_of(files_), std::vector<std::string>{"report.txt"});
        EMClientAPIResetPool();
    }

    // A link at the local path is refused, never followed or replaced.
    std::string victim = dir_ + "/victim.txt";
    { std::ofstream(victim) << "keep me"; }
    std::string link = files_ + "/linked.txt";
    ASSERT_EQ(::symlink(victim.c_str(), link.c_str()), 0);
    EXPECT_EQ(EMClientAPITNGRetrieveFile(link.c_str(), "CELL1", server(), "12301", kUser, kPassword, 0),
              EMCLIENTAPI_OPENCLIENTFILE_ERROR);
    EXPECT_EQ(read_file(victim), "keep me");
    struct stat st {};
    ASSERT_EQ(::lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(EMClientAPITNGRetrieveFile((dir_ + "/missing/report.txt").c_str(), "CELL1", server(), "12301", kUser,
                                         kPassword, 0),
              EMCLIENTAPI_OPENCLIENTFILE_ERROR);

    // A write that stops short (the file size limit here) removes its
    // temporary file.
    { std::ofstream(local) << "keep me"; }
    struct rlimit old {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    int rc = EMClientAPITNGRetrieveFile(local.c_str(), "CELL1", server(), "12301", kUser, kPassword, 0);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(rc, EMCLIENTAPI_WRITECLIENTFILE_ERROR);
    EXPECT_EQ(read_file(local), "keep me");
    EXPECT_EQ(entries_of(files_).size(), 2u);  // the file and the link
}

TEST_F(DiagTest, ControllerDataFillsTheBufferAndNeverPassesIt) {
    ASSERT_TRUE(start()) << sim_.output();
    constexpr int kBytes = 3000000;        // a multiple of three: no padding
    constexpr int kText = kBytes / 3 * 4;  // the Base64 characters
    const std::string digest = serve("controller-data " + std::to_string(kBytes));
    constexpr int kGuard = 64;
    struct Case {
        const char* port;
        int size;
        int code;
    } cases[] = {
        {"12301", kText + 1, 0},
        {"12301", kText, EMCLIENTAPI_BUFFERTOOSMALL_ERROR},
        {"2301", kText + 1, 0},  // handed to the legacy path
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.port) + " " + std::to_string(c.size));
        std::vector<unsigned char> memory(static_cast<size_t>(c.size) + kGuard, 0xA5);
        EXPECT_EQ(EMClientAPITNGRetrieveControllerData(server(), c.port, kUser, kPassword, "CELL1", memory.data(), c.size,
                                                       1, 0),
                  c.code);
        if (c.code == 0) {
            EXPECT_EQ(md5_of_bytes(memory.data(), kBytes), digest);
        }
        size_t zeros_from = c.code == 0 ? kBytes : 0;
        size_t nonzero = 0;
        for (size_t i = zeros_from; i < static_cast<size_t>(c.size); ++i) nonzero += memory[i] != 0;
        EXPECT_EQ(nonzero, 0u);
        size_t guards = 0;
        for (size_t i = static_cast<size_t>(c.size); i < memory.size(); ++i) guards += memory[i] == 0xA5;
        EXPECT_EQ(guards, static_cast<size_t>(kGuard));
        EMClientAPIResetPool();
    }
    EXPECT_NE(last_bridge_request().find("&lt;DataType xsd:type=\"string\"&gt;PerformanceData&lt;"), std::string::npos);

    unsigned char small[16];
    struct {
        const char* element;
        unsigned char* buffer;
        int size;
        int data_type;
        int code;
    } failures[] = {
        {"CELL9", small, sizeof small, 0, EMCLIENTAPI_NOCONTROLLERDATA_ERROR},
        {"CELL1", nullptr, 16, 0, EMCLIENTAPI_BUFFERTOOSMALL_ERROR},
        {"CELL1", small, 0, 0, EMCLIENTAPI_BUFFERTOOSMALL_ERROR},
    };
    size_t sent = requests_logged(12301).size();
    for (const auto& f : failures)
        EXPECT_EQ(EMClientAPITNGRetrieveControllerData(server(), "12301", kUser, kPassword, f.element, f.buffer, f.size,
                                                       f.data_type, 0),
                  f.code);
    EXPECT_EQ(requests_logged(12301).size(), sent + 1);  // the refused buffers sent nothing
    EXPECT_NE(last_bridge_request().find("GeometryData"), std::string::npos);
}

}  // namespace
