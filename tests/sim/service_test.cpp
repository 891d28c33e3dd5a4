#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <string>
#include <vector>

#include "reply_checker.h"
#include "requests.h"
#include "sim_codec.h"
#include "sim_http.h"
#include "sim_scenario.h"
#include "sim_service.h"

namespace {

using talosim::HttpRequest;

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}
using talosim::Take;

HttpRequest take_one(std::string bytes, bool eof = false) {
    HttpRequest req;
    std::string error;
    EXPECT_EQ(talosim::take_request(bytes, eof, req, error), Take::complete) << error;
    return req;
}

TEST(HttpTake, ToleratesWhatTheClientSends) {
    // Bridge request: line feeds alone, no blank after the colons.
    HttpRequest bridge = take_one("POST /qxbridge HTTP/1.1\nHost:h:12301\nContent-Length:5\nSOAPAction:\"x\"\n\nhello");
    EXPECT_EQ(bridge.body, "hello");
    EXPECT_EQ(*bridge.header("content-length"), "5");

    // Legacy send: CR LF or LF, "Content-Length: " with a blank, a NUL at the end.
    HttpRequest legacy = take_one(std::string("POST /ResEltTslPyrite/Fenn HTTP/1.1\r\nContent-Length: 3\r\n\r\nabc") + '\0');
    EXPECT_EQ(legacy.body, "abc");
    EXPECT_EQ(legacy.raw.back(), '\0');

    // A body length that overshoots ends at the sender's NUL.
    HttpRequest shorter = take_one(std::string("POST /x HTTP/1.1\nContent-Length: 500\n\nab") + '\0');
    EXPECT_EQ(shorter.body, "ab");

    // The login request stops after its last header: no empty line.
    HttpRequest login = take_one(std::string("Post /Proxy/LoginResponse HTTP/1.0\nAccept:*/*\nCookie: Tessel-KLMD=abc\n"
                                             "Tessel-WBEM-UserName:admin\n") + '\0');
    EXPECT_TRUE(login.method_is("POST"));
    EXPECT_EQ(*login.header("Tessel-WBEM-UserName"), "admin");
    // ... and without the NUL, once the stream is over.
    EXPECT_EQ(*take_one("Post /Proxy/LoginResponse HTTP/1.0\nTessel-WBEM-UserName:admin\n", true).header("tessel-wbem-username"),
              "admin");

    // A Basic code longer than 76 characters carries "\r\n" inside the header.
    HttpRequest folded = take_one("POST /qxbridge HTTP/1.1\nAuthorization: Basic AAAA\r\nBBBB\nContent-Length:0\n\n");
    EXPECT_EQ(*folded.header("Authorization"), "Basic AAAABBBB");
}

TEST(HttpTake, WaitsForTheWholeRequestAndKeepsWhatFollows) {
    std::string buffer = "POST /qxbridge HTTP/1.1\nContent-Length: 10\n\n12345";
    HttpRequest req;
    std::string error;
    EXPECT_EQ(talosim::take_request(buffer, false, req, error), Take::incomplete);
    buffer += std::string("67890") + "GET /next HTTP/1.1\n\n";
    ASSERT_EQ(talosim::take_request(buffer, false, req, error), Take::complete);
    EXPECT_EQ(req.body, "1234567890");
    ASSERT_EQ(talosim::take_request(buffer, false, req, error), Take::complete);
    EXPECT_EQ(req.path, "/next");
    EXPECT_TRUE(buffer.empty());

    for (std::string bad : {"NONSENSE\n\n", "POST /x HTTP/1.1\nContent-Length: x\n\n", "POST /x HTTP/1.1\nno colon\n\n"}) {
        EXPECT_EQ(talosim::take_request(bad, false, req, error), Take::bad) << bad;
    }
    std::string cut = "POST /x HTTP/1.1\nContent-Length: 10\n\nabc";
    EXPECT_EQ(talosim::take_request(cut, true, req, error), Take::bad);
    std::string huge = "POST /x HTTP/1.1\nX: " + std::string(talosim::max_header_bytes, 'a');
    EXPECT_EQ(talosim::take_request(huge, false, req, error), Take::bad);
}

TEST(HttpTake, FedByteByByteTakesTheSameRequests) {
    const std::string stream = "\r\nPOST /a HTTP/1.1\nContent-Length: 3\n\nabc" + std::string("Get /b HTTP/1.1\nX: 1\n") +
                               '\0' + "POST /c HTTP/1.1\r\nContent-Length: 2\r\n\r\nxyPOST /d HTTP/1.1\nContent-Length: 9\n\nno" +
                               '\0';
    std::string buffer;
    size_t scanned = 0;
    std::vector<std::string> taken;
    for (char c : stream) {
        buffer += c;
        HttpRequest req;
        std::string error;
        while (talosim::take_request(buffer, false, req, error, &scanned) == Take::complete) taken.push_back(req.path + "=" + req.body);
    }
    EXPECT_EQ(taken, (std::vector<std::string>{"/a=abc", "/b=", "/c=xy", "/d=no"}));
}

class ServiceTest : public ::testing::Test {
protected:
    ServiceTest() : service(demo(), {"admin", "secret"}, faults) {}

    static talosim::Model demo() {
        talosim::Model m;
        std::string error;
        talosim::load_scenario(talosim::demo_scenario(), m, error);
        return m;
    }

    static std::string basic(const std::string& text) { return "Basic " + talosim::base64_encode(text); }
    static std::string hashed(const std::string& user, const std::string& password) {
        return user + ":" + talosim::md5_upper_hex(user + ":" + password);
    }

    HttpRequest bridge_request(const std::string& authorization, const std::string& document = list_systems()) {
        return take_one(simtest::bridge_http(authorization, document));
    }

    static std::string list_systems() { return simtest::legacy_doc("Get", {{"ID", ""}, {"Type", "Element"}}); }

    // The unwrapped document of a bridge reply, checking the framing.
    static std::string payload(const std::string& reply) {
        size_t xml = reply.find("<?xml version");
        EXPECT_NE(xml, std::string::npos) << reply;
        size_t cl = reply.find("Content-Length: ");
        EXPECT_NE(cl, std::string::npos);
        EXPECT_EQ(std::stoul(reply.substr(cl + 16)), reply.size() - xml);
        size_t open = reply.find("<xmlPayload>"), close = reply.find("</xmlPayload>");
        EXPECT_NE(close, std::string::npos);
        return talosim::xml_unescape(reply.substr(open + 12, close - open - 12));
    }

    talosim::Faults faults;
    talosim::Service service;
};

TEST_F(ServiceTest, BridgeAcceptsOnlyTheHashedCodeOfItsAccount) {
    talosim::Delivery ok = service.bridge(bridge_request(basic(hashed("admin", "secret"))));
    simtest::Reading r = simtest::read_reply(payload(ok.bytes));
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.rows.size(), 3u);
    EXPECT_FALSE(ok.close_after);  // kept alive

    const std::string refused[] = {
        basic(hashed("admin", "wrong")),
        basic(hashed("other", "secret")),
        basic("admin:secret"),                                                 // the password itself
        basic("admin:" + lower(talosim::md5_upper_hex("admin:secret"))),          // lower-case hex
        "Basic ",                                                              // empty code
        "Basic !!!!",
        "Digest abc",
    };
    for (const std::string& auth : refused) {
        talosim::Delivery d = service.bridge(bridge_request(auth));
        EXPECT_NE(d.bytes.find("Unauthorized"), std::string::npos) << auth;
        EXPECT_EQ(d.bytes.find("<?xml"), std::string::npos) << auth;
    }
}

TEST_F(ServiceTest, ThePlainPairIsAcceptedOnlyForAnAccountWithoutPassword) {
    // What a client sends for its own host when it has no password.
    EXPECT_NE(service.bridge(bridge_request(basic("admin:"))).bytes.find("Unauthorized"), std::string::npos);
    talosim::Faults f;
    talosim::Service open(demo(), {"administrator", ""}, f);
    EXPECT_NE(payload(open.bridge(bridge_request(basic("administrator:"))).bytes).find("SuccessMsg"), std::string::npos);
    EXPECT_NE(payload(open.bridge(bridge_request(basic(hashed("administrator", "")))).bytes).find("SuccessMsg"),
              std::string::npos);
}

TEST_F(ServiceTest, LongUserNamesAreCheckedAcrossTheEncodersLineBreaks) {
    const std::string user(40, 'u');  // code text of 73 bytes: Base64 of more than 76 characters
    talosim::Faults f;
    talosim::Service s(demo(), {user, "pw"}, f);
    std::string code = talosim::base64_encode(hashed(user, "pw"));
    ASSERT_GT(code.size(), 76u);
    code.insert(76, "\r\n");
    EXPECT_NE(payload(s.bridge(bridge_request("Basic " + code)).bytes).find("SuccessMsg"), std::string::npos);
}

TEST_F(ServiceTest, BridgeRefusesOtherMethodsPathsAndCalls) {
    EXPECT_NE(service.bridge(take_one("GET /qxbridge HTTP/1.1\n\n")).bytes.find(" 405 "), std::string::npos);
    EXPECT_NE(service.bridge(take_one("POST /other HTTP/1.1\nContent-Length:0\n\n")).bytes.find(" 404 "), std::string::npos);
    HttpRequest no_payload = take_one("POST /qxbridge HTTP/1.1\nAuthorization: " + basic(hashed("admin", "secret")) +
                                      "\nContent-Length:4\n\nnope");
    EXPECT_NE(service.bridge(no_payload).bytes.find("soap:Fault"), std::string::npos);
}

TEST_F(ServiceTest, LegacyLoginHandshakeIssuesACookieForTheHashedProof) {
    auto login_page = [&] {
        talosim::Delivery d = service.legacy(take_one(std::string("Get /tsllogin.htm HTTP/1.1\nHost:h:2301\nContent-Type:text/xml\nContent-Length:0\n\n") + '\0'));
        EXPECT_TRUE(d.close_after);
        const std::string marker = "<PARAM NAME=SessionKey VALUE=\"Tessel-KLMD=";
        size_t at = d.bytes.find(marker);
        EXPECT_NE(at, std::string::npos);
        return d.bytes.substr(at + marker.size(), 56);
    };
    auto answer = [&](const std::string& key, const std::string& user, const std::string& password) {
        std::string answer_key = key;
        answer_key.replace(20, 4, "0002");
        std::string proof = talosim::md5_upper_hex("Tessel-KLMD=" + answer_key + user + talosim::md5_upper_hex(user + ":" + password));
        return service.legacy(take_one("Post /Proxy/LoginResponse HTTP/1.0\nAccept:*/*\nCookie: Tessel-KLMD=" + answer_key +
                                       proof + "\nTessel-WBEM-UserName:" + user + "\n" + std::string(1, '\0')));
    };
    auto element_post = [&](const std::string& cookie) {
        // The legacy path sends the envelope with its line breaks taken out.
        std::string body;
        for (char c : simtest::legacy_doc("Get", {{"ID", ""}, {"Type", "Element"}}))
            if (c != '\n') body += c;
        return service.legacy(take_one("POST /ResEltTslPyrite/Fenn HTTP/1.1\nHost:h:2301\nCookie: Tessel-KLMD=" + cookie +
                                       "\nContent-Type: text/SOAP\nContent-Length: " + std::to_string(body.size()) +
                                       "\nSOAP Action:\"Get\"\n\n" + body + std::string(1, '\0')));
    };

    std::string key = login_page();
    ASSERT_EQ(key.size(), 56u);
    EXPECT_NE(login_page(), key);  // every page has a fresh key

    EXPECT_EQ(answer(key, "admin", "wrong").bytes.find("HTTP/1.0 200 Ok"), std::string::npos);
    key = login_page();
    EXPECT_EQ(answer(key, "intruder", "secret").bytes.find("HTTP/1.0 200 Ok"), std::string::npos);
    key = login_page();
    talosim::Delivery ok = answer(key, "admin", "secret");
    ASSERT_EQ(ok.bytes.rfind("HTTP/1.0 200 Ok", 0), 0u) << ok.bytes;
    const std::string set_cookie = "Set-Cookie: Tessel-KLMD=";
    size_t at = ok.bytes.find(set_cookie);
    ASSERT_NE(at, std::string::npos);
    std::string cookie = ok.bytes.substr(at + set_cookie.size(), 56);
    EXPECT_EQ(cookie.find_first_of("; \r\n"), std::string::npos);
    // A key answers one login only.
    EXPECT_EQ(answer(key, "admin", "secret").bytes.find("HTTP/1.0 200 Ok"), std::string::npos);

    talosim::Delivery reply = element_post(cookie);
    EXPECT_TRUE(reply.close_after);
    simtest::Reading r = simtest::read_reply(reply.bytes);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.rows.size(), 3u);

    // A version-3 request keeps the two empty lines of its header; its length
    // counts from the envelope on.
    std::string v3 = simtest::v3_doc("getsysteminfo", {});
    talosim::Delivery info = service.legacy(take_one(
        "POST /ResEltTslPyrite/XMLIntr HTTP/1.1\nHost:h:2301\nCookie: Tessel-KLMD=" + cookie +
        "\nContent-Type: text/SOAP\nSOAPAction:'urn:VELTRA-Kestrel:BridgeXMLInterface.v3'\nContent-Length: " +
        std::to_string(v3.size()) + "\n\n\n" + v3 + std::string(1, '\0')));
    EXPECT_NE(info.bytes.find("<statuscode>0</statuscode>"), std::string::npos) << info.bytes;
    EXPECT_NE(info.bytes.find("<emversion>"), std::string::npos);

    talosim::Delivery refused = element_post(std::string(56, 'A'));
    EXPECT_NE(refused.bytes.find("<!DOCTYPE"), std::string::npos);
    EXPECT_EQ(refused.bytes.find("SuccessMsg"), std::string::npos);
}

TEST_F(ServiceTest, EachFaultSwitchAppliesToTheNextRequestsOnly) {
    const std::string good = basic(hashed("admin", "secret"));
    struct Case {
        std::string command;
        std::function<bool(const talosim::Delivery&)> shows;
    } cases[] = {
        {"busy 2", [](const talosim::Delivery& d) { return d.bytes.find("&lt;MessageNum&gt;18034&lt;") != std::string::npos; }},
        {"html", [](const talosim::Delivery& d) { return d.bytes.find("&lt;!DOCTYPE") != std::string::npos; }},
        {"unauthorized", [](const talosim::Delivery& d) {
             return d.bytes.find("Unauthorized") != std::string::npos && d.bytes.find("<?xml") == std::string::npos; }},
        {"garbage", [](const talosim::Delivery& d) {
             return d.bytes.find("<?xml") == std::string::npos && d.bytes.find("Unauthorized") == std::string::npos; }},
        {"close", [](const talosim::Delivery& d) { return d.cut_mid && d.close_after; }},
        {"split 7 20 2", [](const talosim::Delivery& d) { return d.piece == 7 && d.pause_ms == 20; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        ASSERT_EQ(faults.command(c.command), "OK\n");
        int expected = c.command == "busy 2" || c.command == "split 7 20 2" ? 2 : 1;
        for (int i = 0; i < expected; ++i) EXPECT_TRUE(c.shows(service.bridge(bridge_request(good))));
        talosim::Delivery after = service.bridge(bridge_request(good));
        EXPECT_FALSE(c.shows(after));
        EXPECT_NE(payload(after.bytes).find("SuccessMsg"), std::string::npos);
    }

    // Busy in the version-3 form carries the status code the client retries on.
    faults.command("busy");
    std::string v3 = payload(service.bridge(bridge_request(good, simtest::v3_doc("getsysteminfo", {}))).bytes);
    EXPECT_NE(v3.find("<version>3.2</version>"), std::string::npos);
    EXPECT_NE(v3.find("<statuscode>18034</statuscode>"), std::string::npos);
    EXPECT_NE(v3.find("NotSuccessMsg"), std::string::npos);

    EXPECT_EQ(faults.command("refuse on"), "OK\n");
    EXPECT_TRUE(faults.refuse_bridge());
    faults.command("busy 5");
    EXPECT_EQ(faults.command("reset"), "OK\n");
    EXPECT_FALSE(faults.refuse_bridge());
    EXPECT_EQ(faults.get(talosim::Faults::busy), 0);
    for (const char* bad : {"", "busy x", "split 0 10", "split 5", "refuse maybe", "explode"})
        EXPECT_EQ(faults.command(bad).rfind("ERR", 0), 0u) << bad;
}

TEST_F(ServiceTest, LoginFaultsProduceEachLegacyLoginFailure) {
    const std::string page_request = std::string("Get /tsllogin.htm HTTP/1.1\nHost:h:2301\nContent-Length:0\n\n") + '\0';
    faults.command("nokey");
    EXPECT_EQ(service.legacy(take_one(page_request)).bytes.find("SessionKey"), std::string::npos);
    std::string page = service.legacy(take_one(page_request)).bytes;
    size_t at = page.find("Tessel-KLMD=");
    ASSERT_NE(at, std::string::npos);
    std::string answer_key = page.substr(at + 12, 56);
    answer_key.replace(20, 4, "0002");
    auto answer = [&] {
        std::string proof = talosim::md5_upper_hex("Tessel-KLMD=" + answer_key + "admin" + talosim::md5_upper_hex("admin:secret"));
        return service.legacy(take_one("Post /Proxy/LoginResponse HTTP/1.0\nCookie: Tessel-KLMD=" + answer_key + proof +
                                       "\nTessel-WBEM-UserName:admin\n" + std::string(1, '\0'))).bytes;
    };
    faults.command("deny");
    EXPECT_EQ(answer().find("HTTP/1.0 200 Ok"), std::string::npos);
    faults.command("nocookie");
    // The denied answer did not use up the key; this one succeeds without a cookie.
    std::string no_cookie = answer();
    EXPECT_EQ(no_cookie.rfind("HTTP/1.0 200 Ok", 0), 0u);
    EXPECT_EQ(no_cookie.find("Set-Cookie"), std::string::npos);

    // Answers that end inside the 56 characters of a key or a cookie.
    faults.command("shortkey");
    std::string short_page = service.legacy(take_one(page_request)).bytes;
    size_t key_at = short_page.find("Tessel-KLMD=");
    ASSERT_NE(key_at, std::string::npos);
    EXPECT_EQ(short_page.size() - key_at - 12, 10u);
    page = service.legacy(take_one(page_request)).bytes;
    answer_key = page.substr(page.find("Tessel-KLMD=") + 12, 56);
    answer_key.replace(20, 4, "0002");
    faults.command("shortcookie");
    std::string short_cookie = answer();
    EXPECT_EQ(short_cookie.rfind("HTTP/1.0 200 Ok", 0), 0u);
    EXPECT_EQ(short_cookie.size() - short_cookie.find("Set-Cookie: Tessel-KLMD=") - 24, 10u);
}

}  // namespace
