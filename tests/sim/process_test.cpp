#include <expat.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>

#include "reply_checker.h"
#include "requests.h"
#include "sim_codec.h"
#include "sim_process.h"
#include "sim_scenario.h"

namespace {

using simtest::SimProcess;

const std::string good_code =
    "Basic " + talosim::base64_encode("administrator:" + talosim::md5_upper_hex("administrator:password"));

std::string list_systems() { return simtest::legacy_doc("Get", {{"ID", ""}, {"Type", "Element"}}); }

std::string run_command(const std::string& command) {
    std::string out;
    FILE* p = popen(command.c_str(), "r");
    if (p == nullptr) return out;
    char buf[4096];
    for (size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
    pclose(p);
    return out;
}

bool well_formed_xml(const std::string& text) {
    XML_Parser parser = XML_ParserCreate(nullptr);
    bool ok = XML_Parse(parser, text.data(), static_cast<int>(text.size()), 1) == XML_STATUS_OK;
    XML_ParserFree(parser);
    return ok;
}

std::string payload_of(const std::string& reply) {
    size_t open = reply.find("<xmlPayload>"), close = reply.find("</xmlPayload>");
    if (open == std::string::npos || close == std::string::npos) return {};
    return talosim::xml_unescape(reply.substr(open + 12, close - open - 12));
}

TEST(SimProcess, RunsStandaloneWithTheDemoArrayAndStopsOnSigterm) {
    SimProcess sim;
    ASSERT_TRUE(sim.start()) << sim.output();
    EXPECT_NE(sim.output().find("bridge listening on " + sim.address() + ":12301"), std::string::npos);
    EXPECT_NE(sim.output().find("element manager listening on " + sim.address() + ":2301"), std::string::npos);
    int status = sim.stop();
    ASSERT_NE(status, -1) << "did not stop on SIGTERM";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST(SimProcess, HelpExplainsEveryOptionAndBadOptionsFail) {
    std::string help = run_command(std::string(TALO_SIM_BINARY) + " --help");
    for (const char* option : {"--address", "--bridge-port", "--legacy-port", "--control-port", "--user", "--password",
                               "--scenario", "--log", "--v3-namespace", "MessageNum", "busy", "split", "refuse", "nokey", "deny",
                               "nocookie", "status", "SIGTERM"})
        EXPECT_NE(help.find(option), std::string::npos) << option;
    // The demo array, printed, is a scenario file to start one's own from.
    talosim::Model model;
    std::string error;
    EXPECT_TRUE(talosim::load_scenario(run_command(std::string(TALO_SIM_BINARY) + " --dump-demo"), model, error)) << error;
    EXPECT_EQ(model.systems.size(), 3u);
    EXPECT_NE(system((std::string(TALO_SIM_BINARY) + " --bogus 2>/dev/null").c_str()), 0);
    EXPECT_NE(system((std::string(TALO_SIM_BINARY) + " --address 10.1.2.3 2>/dev/null").c_str()), 0);
}

TEST(SimProcess, CurlGetsAWellFormedFramedReplyOrUnauthorized) {
    SimProcess sim;
    ASSERT_TRUE(sim.start()) << sim.output();
    char body_path[] = "/tmp/talo-sim-bodyXXXXXX";
    int fd = mkstemp(body_path);
    ASSERT_GE(fd, 0);
    std::string body = simtest::soap_call(list_systems());
    ASSERT_EQ(write(fd, body.data(), body.size()), static_cast<ssize_t>(body.size()));
    close(fd);
    auto curl = [&](const std::string& auth) {
        return run_command("curl -s -i --max-time 10 -H 'Authorization: " + auth +
                           "' -H 'Content-Type: text/xml; charset=utf-8' -H 'SOAPAction: \"x\"' --data-binary @" +
                           body_path + " http://" + sim.address() + ":12301/qxbridge");
    };
    std::string ok = curl(good_code);
    ASSERT_EQ(ok.rfind("HTTP/1.1 200 OK\r\n", 0), 0u) << ok;
    size_t head_end = ok.find("\r\n\r\n");
    ASSERT_NE(head_end, std::string::npos);
    std::string reply_body = ok.substr(head_end + 4);
    size_t cl = ok.find("Content-Length: ");
    ASSERT_LT(cl, head_end);
    EXPECT_EQ(std::stoul(ok.substr(cl + 16)), reply_body.size());
    EXPECT_EQ(reply_body.rfind("<?xml version", 0), 0u);
    EXPECT_TRUE(well_formed_xml(reply_body)) << reply_body;
    simtest::Reading r = simtest::read_reply(payload_of(reply_body));
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.rows.size(), 3u);

    std::string refused = curl("Basic " + talosim::base64_encode("administrator:" + talosim::md5_upper_hex("administrator:nope")));
    EXPECT_NE(refused.find("Unauthorized"), std::string::npos);
    EXPECT_EQ(refused.find("<?xml"), std::string::npos);
    unlink(body_path);
}

TEST(SimProcess, BridgeKeepsConnectionsAliveServesThemAtOnceAndCountsThem) {
    SimProcess sim;
    ASSERT_TRUE(sim.start()) << sim.output();
    // A half-sent request on one connection holds nothing up on another.
    int idle = simtest::connect_to(sim.address(), 12301);
    ASSERT_GE(idle, 0);
    std::string request = simtest::bridge_http(good_code, list_systems());
    ASSERT_TRUE(simtest::send_text(idle, request.substr(0, 100)));
    int fd = simtest::connect_to(sim.address(), 12301);
    ASSERT_GE(fd, 0);
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(simtest::send_text(fd, request));
        std::string reply = simtest::read_http_response(fd);
        EXPECT_NE(payload_of(reply).find("SuccessMsg"), std::string::npos) << reply;
    }
    close(fd);
    ASSERT_TRUE(simtest::send_text(idle, request.substr(100)));
    EXPECT_NE(payload_of(simtest::read_http_response(idle)).find("SuccessMsg"), std::string::npos);
    close(idle);
    std::string status = simtest::control(sim.address(), "status");
    EXPECT_NE(status.find("bridge_connections=2 legacy_connections=0"), std::string::npos) << status;
    EXPECT_NE(status.find("bridge_requests=3"), std::string::npos) << status;
}

TEST(SimProcess, LegacyPathLogsInAndAnswersLikeTheWebAgent) {
    SimProcess sim;
    char log_path[] = "/tmp/talo-sim-logXXXXXX";
    close(mkstemp(log_path));
    ASSERT_TRUE(sim.start({"--log", log_path})) << sim.output();
    auto exchange = [&](const std::string& text) {
        int fd = simtest::connect_to(sim.address(), 2301);
        EXPECT_GE(fd, 0);
        simtest::send_text(fd, text + std::string(1, '\0'));  // the legacy sends end in a NUL
        std::string answer = simtest::read_until_close(fd);   // the agent closes after its answer
        close(fd);
        return answer;
    };
    // The login request, computed from a fresh login page; it has no empty
    // line after its last header.
    auto login_request = [&] {
        std::string page = exchange("Get /tsllogin.htm HTTP/1.1\nHost:" + sim.address() +
                                    ":2301\nContent-Type:text/xml\nContent-Length:0\n\n");
        const std::string marker = "<PARAM NAME=SessionKey VALUE=\"Tessel-KLMD=";
        size_t at = page.find(marker);
        EXPECT_NE(at, std::string::npos) << page;
        std::string answer_key = page.substr(at + marker.size(), 56);
        answer_key.replace(20, 4, "0002");
        std::string proof = talosim::md5_upper_hex("Tessel-KLMD=" + answer_key + "administrator" +
                                                   talosim::md5_upper_hex("administrator:password"));
        return "Post /Proxy/LoginResponse HTTP/1.0\nAccept:*/*\nCookie: Tessel-KLMD=" + answer_key + proof +
               "\nTessel-WBEM-UserName:administrator\n";
    };
    std::string login = exchange(login_request());
    ASSERT_NE(login.find("HTTP/1.0 200 Ok"), std::string::npos) << login;
    // Typed by hand, without the NUL, it is answered once it stops arriving.
    int typed = simtest::connect_to(sim.address(), 2301);
    simtest::send_text(typed, login_request());
    EXPECT_NE(simtest::read_until_close(typed).find("HTTP/1.0 200 Ok"), std::string::npos);
    close(typed);
    size_t c = login.find("Set-Cookie: Tessel-KLMD=");
    ASSERT_NE(c, std::string::npos);
    std::string cookie = login.substr(c + 24, 56);

    std::string body = simtest::legacy_doc("Get", {{"ID", ""}, {"Type", "Element"}});
    std::string request = "POST /ResEltTslPyrite/Fenn HTTP/1.1\nHost:" + sim.address() + ":2301\nCookie: Tessel-KLMD=" +
                          cookie + "\nContent-Type: text/SOAP\nContent-Length: " + std::to_string(body.size()) +
                          "\nSOAP Action:\"Get\"\n\n" + body;
    std::string reply = exchange(request);
    simtest::Reading r = simtest::read_reply(reply);
    ASSERT_TRUE(r.ok) << r.error << reply;
    EXPECT_EQ(r.rows.size(), 3u);

    // The log holds the request byte for byte, NUL included, and is private.
    std::ifstream in(log_path, std::ios::binary);
    std::string log((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(log.find(request + std::string(1, '\0')), std::string::npos);
    EXPECT_NE(log.find("<<< legacy #"), std::string::npos);
    struct stat st {};
    ASSERT_EQ(stat(log_path, &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    std::string status = simtest::control(sim.address(), "status");
    EXPECT_NE(status.find("legacy_connections=5 "), std::string::npos) << status;  // two pages, two logins, one request
    unlink(log_path);
}

TEST(SimProcess, RefusesALogPathThatIsASymbolicLink) {
    char dir[] = "/tmp/talo-sim-dirXXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    std::string target = std::string(dir) + "/target", link = std::string(dir) + "/link";
    ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
    SimProcess sim;
    EXPECT_FALSE(sim.start({"--log", link}));
    EXPECT_NE(access(target.c_str(), F_OK), 0);
    unlink(link.c_str());
    rmdir(dir);
}

TEST(SimProcess, FaultsOverTheWire) {
    SimProcess sim;
    ASSERT_TRUE(sim.start()) << sim.output();
    const std::string request = simtest::bridge_http(good_code, list_systems());

    // Pieces with pauses: several reads, the first already holding the XML declaration.
    ASSERT_EQ(simtest::control(sim.address(), "split 64 30"), "OK\n");
    int fd = simtest::connect_to(sim.address(), 12301);
    ASSERT_GE(fd, 0);
    simtest::send_text(fd, request);
    int reads = 0;
    std::string split = simtest::read_http_response(fd, 5000, &reads);
    EXPECT_GT(reads, 3);
    EXPECT_NE(payload_of(split).find("SuccessMsg"), std::string::npos);
    // The same connection answers whole again.
    simtest::send_text(fd, request);
    EXPECT_NE(payload_of(simtest::read_http_response(fd)).find("SuccessMsg"), std::string::npos);
    close(fd);

    // Cut off half-way: the connection ends before the Content-Length is reached.
    ASSERT_EQ(simtest::control(sim.address(), "close"), "OK\n");
    fd = simtest::connect_to(sim.address(), 12301);
    simtest::send_text(fd, request);
    std::string cut = simtest::read_until_close(fd);
    close(fd);
    size_t xml = cut.find("<?xml");
    ASSERT_NE(xml, std::string::npos);
    EXPECT_LT(cut.size() - xml, std::stoul(cut.substr(cut.find("Content-Length: ") + 16)));

    // Refused and reopened.
    ASSERT_EQ(simtest::control(sim.address(), "refuse on"), "OK\n");
    auto refused = [&] {
        for (int i = 0; i < 50; ++i) {
            int probe = simtest::connect_to(sim.address(), 12301);
            if (probe < 0) return true;
            close(probe);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    };
    EXPECT_TRUE(refused());
    ASSERT_EQ(simtest::control(sim.address(), "refuse off"), "OK\n");
    bool back = false;
    for (int i = 0; i < 50 && !back; ++i) {
        int probe = simtest::connect_to(sim.address(), 12301);
        back = probe >= 0;
        if (back) close(probe);
        else std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_TRUE(back);
}

TEST(SimProcess, StartsFromAScenarioFileAndRejectsABadOne) {
    char path[] = "/tmp/talo-sim-scenarioXXXXXX";
    int fd = mkstemp(path);
    std::string scenario = R"({"systems": [{"name": "Solo", "disks": [{"count": 8}],
        "objects": [{"type": "StorageClient", "name": "\\Hosts\\h1", "props": {"Operating_system": "QANTO"}}]}]})";
    ASSERT_EQ(write(fd, scenario.data(), scenario.size()), static_cast<ssize_t>(scenario.size()));
    close(fd);
    SimProcess sim;
    ASSERT_TRUE(sim.start({"--scenario", path, "--user", "ops", "--password", "pw"})) << sim.output();
    int conn = simtest::connect_to(sim.address(), 12301);
    simtest::send_text(conn, simtest::bridge_http("Basic " + talosim::base64_encode("ops:" + talosim::md5_upper_hex("ops:pw")),
                                                  list_systems()));
    simtest::Reading r = simtest::read_reply(payload_of(simtest::read_http_response(conn)));
    close(conn);
    ASSERT_TRUE(r.ok) << r.error;
    ASSERT_EQ(r.rows.size(), 1u);
    EXPECT_EQ(r.rows[0][0].second, "Solo");
    sim.stop();

    std::ofstream(path) << R"({"systems": [{"name": "Solo", "objects": [{"type": "PresentedUnit", "name": "1",
        "props": {"@vdisk": "\\Virtual Disks\\missing\\ACTIVE"}}]}]})";
    SimProcess bad;
    EXPECT_FALSE(bad.start({"--scenario", path}));
    EXPECT_NE(bad.output().find("not found"), std::string::npos) << bad.output();
    unlink(path);
}

}  // namespace
