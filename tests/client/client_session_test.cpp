// The legacy session cookie: kept for the manager and user it came from, and
// given up, with one fresh login, when the element manager refuses it.
#include <fstream>
#include <string>
#include <vector>

#include "EMClientAPIErrors.h"
#include "EMClientAPISecurity.h"
#include "fake_server.h"
#include "wire_fixture.h"

namespace {

using clienttest::FakeServer;

// The session cookie a logged request carries, or "" without one.
std::string cookie_of(const std::string& request) {
    size_t at = request.find("Cookie: Tessel-KLMD=");
    return at == std::string::npos ? std::string() : request.substr(at + 20, 56);
}

bool is_login_page_request(const std::string& request) { return request.rfind("Get /tsllogin.htm", 0) == 0; }

class SessionTest : public WireTest {
protected:
    static int logins(const std::vector<Entry>& sent) {
        int n = 0;
        for (const auto& e : sent) n += is_login_page_request(e.bytes);
        return n;
    }

    // Reads the reply of a legacy command; it must be the element manager's.
    void expect_reply(const std::string& host) {
        std::string reply;
        ASSERT_EQ(command(admin_legacy(host), reply), 0);
        EXPECT_EQ(reply.rfind("HTTP/1.1 200 OK", 0), 0u) << reply;
        EXPECT_EQ(reply.find("<!DOCTYPE"), std::string::npos) << reply;
    }
};

TEST_F(SessionTest, EachManagerGetsItsOwnLogin) {
    ASSERT_TRUE(start_sim()) << sim_.output();
    simtest::SimProcess other;
    std::string other_log = dir_ + "/other.log";
    ASSERT_TRUE(other.start({"--log", other_log})) << other.output();
    std::string other_host = other.address() + ":2301";

    // A, then B, then A again: the file then holds B's session, as it would
    // when another process had used B in between.
    expect_reply(host(2301));
    expect_reply(other_host);
    expect_reply(host(2301));

    std::vector<Entry> at_a = requests_logged(2301);
    sim_log_ = other_log;
    std::vector<Entry> at_b = requests_logged(2301);
    ASSERT_EQ(at_a.size(), 6u);
    ASSERT_EQ(at_b.size(), 3u);
    EXPECT_TRUE(is_login_page_request(at_b[0].bytes)) << at_b[0].bytes;
    EXPECT_TRUE(is_login_page_request(at_a[3].bytes)) << at_a[3].bytes;
    EXPECT_NE(cookie_of(at_b[2].bytes), cookie_of(at_a[2].bytes));
    EXPECT_NE(cookie_of(at_a[5].bytes), cookie_of(at_b[2].bytes));
}

TEST_F(SessionTest, RefusedSessionMeansOneFreshLogin) {
    ASSERT_TRUE(start_sim()) << sim_.output();
    expect_reply(host(2301));
    // A restarted manager has forgotten its sessions.
    ASSERT_EQ(sim_.stop(), 0);
    sim_log_ = dir_ + "/restarted.log";
    ASSERT_TRUE(sim_.start({"--log", sim_log_}, sim_.address())) << sim_.output();
    expect_reply(host(2301));
    std::vector<Entry> sent = requests_logged(2301);
    ASSERT_EQ(sent.size(), 4u);  // the refused request, the login's two exchanges, the request again
    EXPECT_EQ(logins(sent), 1);
    EXPECT_TRUE(is_login_page_request(sent[1].bytes));
    EXPECT_TRUE(sleeps().empty());

    // A file of the older form (a bare cookie) holds no session at all.
    { std::ofstream(persist_, std::ios::trunc) << std::string(56, 'Z'); }
    expect_reply(host(2301));
    sent = requests_logged(2301);
    ASSERT_EQ(sent.size(), 7u);
    EXPECT_TRUE(is_login_page_request(sent[4].bytes)) << sent[4].bytes;
    EXPECT_EQ(read_file(persist_).rfind(host(2301) + "\nadministrator\n" + cookie_of(sent[6].bytes) + "\n", 0), 0u)
        << read_file(persist_);
}

TEST_F(SessionTest, SessionRefusedEveryTimeFailsAfterOneRelogin) {
    const std::string key = std::string(20, 'K') + "0001" + std::string(32, 'k');
    const std::vector<std::string> round = {
        "HTTP/1.1 200 OK\r\n\r\n<PARAM NAME=SessionKey VALUE=\"Tessel-KLMD=" + key + "\">\n",
        "HTTP/1.0 200 Ok\r\nSet-Cookie: Tessel-KLMD=" + std::string(56, 'S') + "\r\n\r\n",
        "HTTP/1.1 401 Unauthorized\r\n\r\n<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\">\n"
        "<HTML><BODY>Unauthorized: please log in.</BODY></HTML>\n",
    };
    // As many rounds as a client looping on refusals would take.
    std::vector<std::string> script;
    for (int i = 0; i < 4; ++i) script.insert(script.end(), round.begin(), round.end());
    std::string address = simtest::unique_loopback_address();
    FakeServer agent(address, 2301, script, true);
    ASSERT_TRUE(agent.listening());

    std::string reply;
    EXPECT_EQ(command(admin_legacy(address + ":2301"), reply, 0), EMCLIENTAPI_PERMISSIONDENIED_ERROR);
    EXPECT_EQ(agent.requests(), 6);  // two logins and two refused requests, nothing more
    EXPECT_TRUE(sleeps().empty());
}

}  // namespace

namespace {

// The key and the cookie are taken only as 56 visible characters: a CR or
// LF among them would let a server write header lines into later requests.
TEST(SessionTokens, OnlyVisibleCharactersMakeAKeyOrCookie) {
    const std::string good(56, 'A');
    struct Case {
        std::string value;
        bool taken;
    };
    const Case cases[] = {
        {good, true},
        {good.substr(0, 20) + "\r\nX-Evil: 1\r\n" + good.substr(0, 23), false},
        {good.substr(0, 55) + " ", false},
        {good.substr(0, 30) + "\x7f" + good.substr(0, 25), false},
        {good.substr(0, 40), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        SString answer(("HTTP/1.0 200 OK\r\nSet-Cookie: Tessel-KLMD=" + c.value + "\r\n\r\n").c_str());
        EXPECT_EQ(SizeOf(EMClientAPISessionCookieOf(answer)), c.taken ? 56 : 0);
    }
}

}  // namespace
