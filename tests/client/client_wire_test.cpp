// The client library against the simulated management server: what goes on
// the wire, the port fallbacks, the legacy login, the retries and their
// waits, and replies that arrive in pieces, stop half-way or never come.
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "fake_server.h"
#include "wire_fixture.h"

namespace {

using clienttest::bridge_reply;
using clienttest::FakeServer;

using wiretest::agent_script;
using wiretest::bridge_request;

std::string v3_status_reply(int status) {
    return bridge_reply("<SOAP:Envelope>\n<Header>\n<version>3.2</version>\n</Header>\n<Body>\n<statuscode>" +
                        std::to_string(status) + "</statuscode>\n</Body>\n</SOAP:Envelope>\n");
}

TEST_F(WireTest, BridgeRequestsTravelExactlyAsRewritten) {
    ASSERT_TRUE(start_sim()) << sim_.output();
    std::string reply;
    ASSERT_EQ(command(admin_legacy(host()), reply), 0);
    EXPECT_NE(reply.find("<SOAP:Envelope"), std::string::npos) << reply;
    ASSERT_EQ(command(admin_v3(host()), reply), 0);

    std::vector<Entry> sent = requests_logged(12301);
    ASSERT_EQ(sent.size(), 2u);
    // Credentials leave the payload (with what stood between them); the
    // version-3 host address is filled in.
    EXPECT_EQ(sent[0].bytes, bridge_request(host(),
                                            "<SOAP:Envelope xmlns:SOAP=\"urn:schemas-xmlsoap-org:soap.v1\">\n"
                                            "<SOAP:Body=tessel-brindle:qxapi.v1>\n"
                                            "<m:Get xmlns:m=\"FENN-URI\">\n"
                                            "\n"
                                            "<Type xsd:type=\"string\">Storage</Type>\n"
                                            "<ID xsd:type=\"string\">\t</ID>\n"
                                            "</m:Get>\n</SOAP:Body>\n</SOAP:Envelope>\n"));
    EXPECT_EQ(sent[1].bytes,
              bridge_request(host(),
                             "<Envelope xmlns='http://vendor.example/qxapiv32'>\n"
                             "<Header>\n<version>3.2</version>\n<application>\n<hostip>127.0.0.1</hostip>\n"
                             "<hostname>notspecified</hostname>\n</application>\n</Header>\n"
                             "<Body>\n\n"
                             "<NsaServerOperation>\n<getproperties>\n<objectid>42</objectid>\n</getproperties>\n"
                             "</NsaServerOperation>\n</Body>\n</Envelope>\n"));
    EXPECT_EQ(sent[0].connection, sent[1].connection);
}

TEST_F(WireTest, HundredRequestsShareOneConnection) {
    ASSERT_TRUE(start_sim()) << sim_.output();
    std::string reply;
    for (int i = 0; i < 100; ++i) ASSERT_EQ(command(admin_legacy(host()), reply), 0) << i;
    EXPECT_NE(control("status").find("bridge_connections=1 legacy_connections=0"), std::string::npos)
        << control("status");
}

TEST_F(WireTest, FinalLegacyRequestCarriesCookieAndNoCredentials) {
    ASSERT_TRUE(start_sim()) << sim_.output();
    std::string reply;
    ASSERT_EQ(command(admin_legacy(host(2301)), reply), 0);
    EXPECT_NE(reply.find("HTTP/1.1 200 OK"), std::string::npos) << reply;

    std::vector<Entry> sent = requests_logged(2301);
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0].bytes.rfind("Get /tsllogin.htm HTTP/1.1\nHost:" + host(2301) +
                                      "\nContent-Type:text/xml\nContent-Length:0\n\n",
                                  0),
              0u)
        << sent[0].bytes;
    EXPECT_EQ(sent[1].bytes.rfind("Post /Proxy/LoginResponse HTTP/1.0\nAccept:*/*\nCookie: Tessel-KLMD=", 0), 0u);
    EXPECT_NE(sent[1].bytes.find("\nTessel-WBEM-UserName:administrator\n"), std::string::npos);

    ASSERT_NE(sent[2].bytes.find('\0'), std::string::npos) << "the legacy form ends in its terminator";
    std::string final_request = sent[2].bytes.substr(0, sent[2].bytes.find('\0'));
    EXPECT_EQ(final_request.find("UserName"), std::string::npos);
    EXPECT_EQ(final_request.find("UserPassword"), std::string::npos);
    size_t cookie = final_request.find("Cookie: Tessel-KLMD=");
    ASSERT_NE(cookie, std::string::npos);
    EXPECT_EQ(final_request.find("Content-Type"), cookie + 20 + 56 + 1);
    size_t envelope = final_request.find("<SOAP:Envelope");
    size_t length = final_request.find("Content-Length: ");
    ASSERT_NE(length, std::string::npos);
    EXPECT_EQ(std::stoul(final_request.substr(length + 16)), final_request.size() - envelope);
    EXPECT_EQ(final_request.find('\n', envelope), std::string::npos) << "validation joins the envelope's lines";
}

TEST_F(WireTest, PersistedCookieIsReusedWithoutLoginTraffic) {
    ASSERT_TRUE(start_sim()) << sim_.output();
    std::string first, second;
    ASSERT_EQ(command(admin_legacy(host(2301)), first), 0);
    ASSERT_EQ(command(admin_legacy(host(2301)), second), 0);
    std::vector<Entry> sent = requests_logged(2301);
    ASSERT_EQ(sent.size(), 4u);  // one login (two exchanges), two requests
    auto cookie_line = [](const std::string& r) { return r.substr(r.find("Cookie: "), 20 + 56); };
    EXPECT_EQ(cookie_line(sent[2].bytes), cookie_line(sent[3].bytes));

    struct stat st {};
    ASSERT_EQ(::lstat(persist_.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    // The session is kept with the manager and user it belongs to.
    EXPECT_EQ(read_file(persist_), host(2301) + "\nadministrator\n" + cookie_line(sent[2].bytes).substr(20) + "\n");
}

TEST_F(WireTest, ChangedCredentialsEmptyTheCookieFileFirst) {
    ASSERT_TRUE(start_sim()) << sim_.output();
    std::string reply;
    ASSERT_EQ(command(admin_legacy(host(2301)), reply), 0);
    ASSERT_EQ(read_file(persist_).size(), (host(2301) + "\nadministrator\n").size() + 56 + 1);
    // The simulator knows only the administrator: the login is refused.
    EXPECT_EQ(command(legacy_request(host(2301), "operator", "password"), reply), EMCLIENTAPI_PERMISSIONDENIED_ERROR);
    EXPECT_EQ(read_file(persist_), "");
    EXPECT_EQ(requests_logged(2301).size(), 3u + 4u);  // two refused logins of two exchanges each
}

TEST_F(WireTest, CookieFileIsNeverWrittenThroughASymbolicLink) {
    ASSERT_TRUE(start_sim()) << sim_.output();
    std::string victim = dir_ + "/victim.txt";
    { std::ofstream(victim) << "keep me"; }
    ASSERT_EQ(::symlink(victim.c_str(), persist_.c_str()), 0);
    std::string reply;
    ASSERT_EQ(command(admin_legacy(host(2301)), reply), 0);  // no cookie kept, the request still goes
    EXPECT_EQ(read_file(victim), "keep me");
}

TEST_F(WireTest, LegacyLoginOutcomes) {
    ASSERT_TRUE(start_sim()) << sim_.output();
    struct Case {
        const char* fault;
        int code;
        int login_pages;
    } cases[] = {
        {"nokey 1", 0, 2},
        {"nokey 2", EMCLIENTAPI_SESSIONKEYNOTFOUND_ERROR, 2},
        {"shortkey", EMCLIENTAPI_SESSIONKEYNOTFOUND_ERROR, 1},
        {"deny 2", EMCLIENTAPI_PERMISSIONDENIED_ERROR, 2},
        {"nocookie", EMCLIENTAPI_INVALIDSERVERRESPONSE_ERROR, 1},
        {"shortcookie", EMCLIENTAPI_INVALIDSERVERRESPONSE_ERROR, 1},
    };
    size_t seen = 0;
    for (const Case& c : cases) {
        ASSERT_EQ(control(c.fault).substr(0, 2), "OK") << c.fault;
        ::truncate(persist_.c_str(), 0);
        char* reply = nullptr;
        int length = 0;
        EXPECT_EQ(EMClientAPICommandEx(admin_legacy(host(2301)).c_str(), &reply, &length, 0), c.code) << c.fault;
        delete[] reply;
        std::vector<Entry> sent = requests_logged(2301);
        int pages = 0;
        for (size_t i = seen; i < sent.size(); ++i) pages += sent[i].bytes.rfind("Get /tsllogin.htm", 0) == 0;
        EXPECT_EQ(pages, c.login_pages) << c.fault;
        seen = sent.size();
        control("reset");
    }
}

TEST_F(WireTest, PortFallbacksAndRedirects) {
    ASSERT_TRUE(start_sim()) << sim_.output();
    std::string reply;

    // No session key on 2301: the request goes to the bridge instead.
    control("nokey 2");
    ASSERT_EQ(command(admin_legacy(host(2301)), reply), 0);
    EXPECT_EQ(requests_logged(12301).size(), 1u);
    EXPECT_EQ(requests_logged(12301)[0].bytes.find("Host:" + host(12301) + "\n"), 24u);

    // Neither port: 105 and the log says so.
    EMClientAPIResetPool();
    EMClientAPITNGSetDebugMode(2, nullptr);
    control("nokey 2");
    control("refuse on");
    EXPECT_EQ(command(admin_legacy(host(2301)), reply), EMCLIENTAPISOCKET_CONNECT_ERROR);
    EXPECT_NE(read_file(log_).find(" ** 2301 and 12301 failed."), std::string::npos);
    EMClientAPITNGSetDebugMode(0, nullptr);

    // The bridge refuses a first request: the legacy path answers it on 2301.
    size_t legacy_before = requests_logged(2301).size();
    ASSERT_EQ(command(admin_legacy(host(12301)), reply), 0);
    std::vector<Entry> legacy = requests_logged(2301);
    ASSERT_EQ(legacy.size(), legacy_before + 3);
    EXPECT_NE(legacy.back().bytes.find("Host:" + host(2301) + "\n"), std::string::npos);
    EXPECT_NE(reply.find("HTTP/1.1 200 OK"), std::string::npos);
}

TEST_F(WireTest, NoFallbackOnceThePoolStands) {
    std::string address = simtest::unique_loopback_address();
    FakeServer legacy(address, 2301, {"HTTP/1.1 200 OK\r\n\r\nnever wanted"}, true);
    auto bridge = std::make_unique<FakeServer>(address, 12301, std::vector<std::string>{v3_status_reply(0)});
    std::string reply;
    ASSERT_EQ(command(admin_v3(address + ":12301"), reply), 0);
    bridge.reset();  // the bridge goes away after its one answer
    EXPECT_EQ(command(admin_v3(address + ":12301"), reply), EMCLIENTAPISOCKET_CONNECT_ERROR);
    EXPECT_EQ(legacy.requests(), 0);
}

TEST_F(WireTest, BusyBridgeIsRetriedWithOneSecondWaits) {
    ASSERT_TRUE(start_sim()) << sim_.output();
    std::string reply;
    control("busy 3");
    ASSERT_EQ(command(admin_v3(host()), reply), 0);
    EXPECT_EQ(sleeps(), std::vector<unsigned>({1, 1, 1}));
    EXPECT_EQ(EMClientAPITNGRetriesRequired(reply.c_str()), 0);

    // Still busy after six retries: success, with the server's last answer.
    sleeps().clear();
    control("busy 10");
    ASSERT_EQ(command(admin_v3(host()), reply), 0);
    EXPECT_EQ(sleeps(), std::vector<unsigned>(6, 1));
    EXPECT_EQ(EMClientAPITNGRetriesRequired(reply.c_str()), 18034);
    EXPECT_EQ(requests_logged(12301).size(), 4u + 7u);
    control("reset");
}

TEST_F(WireTest, HtmlPageWaitsThirtySecondsUnderFullAnalysis) {
    ASSERT_TRUE(start_sim()) << sim_.output();
    std::string reply;
    control("html 1");
    ASSERT_EQ(command(admin_v3(host()), reply), 0);  // reduced analysis: no retry
    EXPECT_TRUE(sleeps().empty());
    EXPECT_EQ(EMClientAPITNGRetriesRequired(reply.c_str()), 666666);

    control("html 2");
    ASSERT_EQ(command(admin_v3(host()), reply, -1), 0);
    EXPECT_EQ(sleeps(), std::vector<unsigned>({30, 30}));
    EXPECT_EQ(EMClientAPITNGRetriesRequired(reply.c_str()), 0);
}

TEST_F(WireTest, Condition18018WaitsFiveSeconds) {
    std::string address = simtest::unique_loopback_address();
    FakeServer bridge(address, 12301, {v3_status_reply(18018), v3_status_reply(18018), v3_status_reply(0)});
    ASSERT_TRUE(bridge.listening());
    std::string reply;
    ASSERT_EQ(command(admin_v3(address + ":12301"), reply, 3), 0);
    EXPECT_EQ(sleeps(), std::vector<unsigned>({5, 5}));
    EXPECT_EQ(bridge.requests(), 3);
}

TEST_F(WireTest, LegacyRetriesLogInAfreshBeforeEachRetry) {
    ASSERT_TRUE(start_sim()) << sim_.output();
    control("busy 2");
    char* reply = nullptr;
    int length = 0;
    ASSERT_EQ(EMClientAPICommandEx(admin_legacy(host(2301)).c_str(), &reply, &length, 0), 0);
    EXPECT_EQ(EMClientAPIRetriesRequired(reply), 0);
    delete[] reply;
    EXPECT_EQ(sleeps(), std::vector<unsigned>({1, 1}));
    int pages = 0;
    for (const Entry& e : requests_logged(2301)) pages += e.bytes.rfind("Get /tsllogin.htm", 0) == 0;
    EXPECT_EQ(pages, 3);

    sleeps().clear();
    control("html 1");
    ASSERT_EQ(EMClientAPICommandEx(admin_legacy(host(2301)).c_str(), &reply, &length, 1), 0);
    delete[] reply;
    EXPECT_EQ(sleeps(), std::vector<unsigned>({30}));
}

TEST_F(WireTest, LegacyCondition18018WaitsFiveSecondsUnderFullAnalysis) {
    const std::string key = std::string(20, 'K') + "0001" + std::string(32, 'k');
    const std::string page = "HTTP/1.1 200 OK\r\n\r\n<PARAM NAME=SessionKey VALUE=\"Tessel-KLMD=" + key + "\">\n";
    const std::string login = "HTTP/1.0 200 Ok\r\nSet-Cookie: Tessel-KLMD=" + std::string(56, 'S') + "\r\n\r\n";
    const std::string busy = "HTTP/1.1 200 OK\r\n\r\n<NotSuccessMsg><MessageNum>18018</MessageNum></NotSuccessMsg>";
    const std::string done = "HTTP/1.1 200 OK\r\n\r\n<SuccessMsg></SuccessMsg>";
    std::string address = simtest::unique_loopback_address();
    FakeServer agent(address, 2301, {page, login, busy, page, login, busy, page, login, done}, true);
    ASSERT_TRUE(agent.listening());
    char* reply = nullptr;
    int length = 0;
    ASSERT_EQ(EMClientAPICommandEx(admin_legacy(address + ":2301").c_str(), &reply, &length, 2), 0);
    EXPECT_NE(std::string(reply).find("<SuccessMsg>"), std::string::npos);
    delete[] reply;
    EXPECT_EQ(sleeps(), std::vector<unsigned>({5, 5}));
    EXPECT_EQ(agent.requests(), 9);  // a fresh login before each retry
}

TEST_F(WireTest, LegacyRetrievals) {
    std::string address = simtest::unique_loopback_address();
    const std::string answer = "<m:GetResponse xmlns:m=\"FENN-URI\">\r\nline one\nline two\n</m:GetResponse>";
    FakeServer agent(address, 2301,
                     agent_script({answer, "<m:GetResponse xmlns:m=\"FENN-URI\">SGVsbG8=</m:GetResponse>",
                                   "<m:GetResponse xmlns:m=\"FENN-URI\">SGVsbG8=</m:GetResponse>", "no data"}),
                     true);
    ASSERT_TRUE(agent.listening());
    // Each call has new credentials, so each logs in.
    std::string local = dir_ + "/fetched.txt";
    ASSERT_EQ(EMClientAPIRetrieveFile(local.c_str(), "E1", address.c_str(), "2301", "u1", "p", 0), 0);
    EXPECT_EQ(read_file(local), "line one\nline two\n");
    std::vector<std::string> sent = agent.received();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_NE(sent[2].find("<Filename xsd:type=\"string\">fetched.txt</Filename>"), std::string::npos);
    EXPECT_NE(sent[2].find("<ElementID xsd:type=\"string\">E1</ElementID>"), std::string::npos);

    unsigned char out[16];
    std::memset(out, 0xff, sizeof out);
    ASSERT_EQ(EMClientAPIRetrieveControllerData(address.c_str(), "2301", "u2", "p", "E1", out, sizeof out, 1, 0), 0);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(out), 8), std::string("Hello\0\0\0", 8));
    EXPECT_NE(agent.received()[5].find("PerformanceData"), std::string::npos);
    EXPECT_EQ(EMClientAPIRetrieveControllerData(address.c_str(), "2301", "u3", "p", "E1", out, 8, 0, 0),
              EMCLIENTAPI_BUFFERTOOSMALL_ERROR);
    EXPECT_EQ(EMClientAPIRetrieveControllerData(address.c_str(), "2301", "u4", "p", "E1", out, sizeof out, 0, 0),
              EMCLIENTAPI_NOCONTROLLERDATA_ERROR);
    EXPECT_EQ(EMClientAPIRetrieveControllerData(address.c_str(), "2301", "u5", "p", "E1", nullptr, 4, 0, 0),
              EMCLIENTAPI_BUFFERTOOSMALL_ERROR);
}

TEST_F(WireTest, ReplySplitOverManyReadsIsJoined) {
    ASSERT_TRUE(start_sim()) << sim_.output();
    std::string whole, pieces;
    ASSERT_EQ(command(admin_legacy(host()), whole), 0);
    // 40-byte pieces: even the header block comes in several reads.
    control("split 40 1");
    ASSERT_EQ(command(admin_legacy(host()), pieces), 0);
    EXPECT_EQ(pieces, whole);
    control("split 40 1");
    ASSERT_EQ(command(admin_legacy(host(2301)), pieces), 0);
    EXPECT_NE(pieces.find("</SOAP:Envelope>"), std::string::npos);
}

TEST_F(WireTest, ServerClosingMidReplyFailsAfterOneReconnection) {
    ASSERT_TRUE(start_sim()) << sim_.output();
    std::string reply;
    control("close 1");
    EXPECT_EQ(command(admin_legacy(host()), reply), 0);  // the one reconnection carries it
    control("close 2");
    EXPECT_EQ(command(admin_legacy(host()), reply), EMCLIENTAPISOCKET_RECEIVE_ERROR);
    EXPECT_EQ(reply, "");
    // The failed connection is dropped; the next request opens a fresh one.
    EXPECT_EQ(command(admin_legacy(host()), reply), 0);
}

TEST_F(WireTest, SilentServerEndsInTimeoutNotAHang) {
    std::string address = simtest::unique_loopback_address();
    FakeServer silent(address, 12301);  // accepts through its backlog, never reads or answers
    ASSERT_TRUE(silent.listening());
    EMClientAPITNGSetTimeout(1);
    std::string reply;
    EXPECT_EQ(command(admin_legacy(address + ":12301"), reply), EMCLIENTAPISOCKET_RECEIVETIMEOUT_ERROR);
}

TEST_F(WireTest, NonXmlAnswers) {
    ASSERT_TRUE(start_sim()) << sim_.output();
    std::string reply;
    control("unauthorized");
    EXPECT_EQ(command(admin_legacy(host()), reply), EMCLIENTAPI_PERMISSIONDENIED_ERROR);
    EXPECT_EQ(command(legacy_request(host(), "administrator", "wrong"), reply), EMCLIENTAPI_PERMISSIONDENIED_ERROR);
    control("garbage");
    EXPECT_EQ(command(admin_legacy(host()), reply), EMCLIENTAPITNG_SOAPSERVER_RESPONSE_INVALID_ERROR);
    EXPECT_EQ(command(admin_legacy(host()), reply), 0);
}

TEST_F(WireTest, CallerBufferMustHoldTheTerminator) {
    ASSERT_TRUE(start_sim()) << sim_.output();
    std::string reply;
    ASSERT_EQ(command(admin_legacy(host()), reply), 0);
    std::vector<char> buffer(reply.size() + 1, 'x');
    EXPECT_EQ(EMClientAPITNGCommand(admin_legacy(host()).c_str(), buffer.data(), static_cast<int>(reply.size()), 0),
              EMCLIENTAPI_BUFFERTOOSMALL_ERROR);
    EXPECT_EQ(EMClientAPITNGCommand(admin_legacy(host()).c_str(), buffer.data(), static_cast<int>(buffer.size()), 0),
              0);
    EXPECT_EQ(std::string(buffer.data()), reply);
    EXPECT_EQ(EMClientAPITNGCommand(admin_legacy(host()).c_str(), buffer.data(), 0, 0),
              EMCLIENTAPI_INVALIDPARAMETER_ERROR);
}

// The pool's bookkeeping, over connections a listener queues but never serves.
class PoolTest : public WireTest {
protected:
    void SetUp() override {
        WireTest::SetUp();
        address_ = simtest::unique_loopback_address();
        a_ = std::make_unique<FakeServer>(address_, 12301);
        b_ = std::make_unique<FakeServer>(address_, 12302);
        ASSERT_TRUE(a_->listening() && b_->listening());
    }
    EMClientAPISocket* acquire() {
        EMClientAPISocket* s = nullptr;
        EXPECT_EQ(GetFreeSocket(address_.c_str(), "12301", s), 0);
        return s;
    }
    std::string address_;
    std::unique_ptr<FakeServer> a_, b_;
};

TEST_F(PoolTest, InitializeFollowsTheServer) {
    EXPECT_EQ(Initialize(address_.c_str(), "12301"), 0);
    EXPECT_EQ(Initialize(address_.c_str(), "12301"), 1);
    acquire();
    acquire();
    EXPECT_EQ(gSocketConnList.GetSize(), 2);
    EXPECT_EQ(Initialize(address_.c_str(), "12302"), 0);
    EXPECT_EQ(gSocketConnList.GetSize(), 1);
    EXPECT_EQ(Initialize(address_.c_str(), "12303"), EMCLIENTAPISOCKET_CONNECT_ERROR);
    EXPECT_EQ(gSocketConnList.GetSize(), 0);
    EXPECT_EQ(gPrevServerPort, "12302");
}

TEST_F(PoolTest, AcquisitionPurgeAndCleanup) {
    ASSERT_EQ(Initialize(address_.c_str(), "12301"), 0);
    EMClientAPISocket* first = acquire();
    EMClientAPISocket* second = acquire();
    EMClientAPISocket* third = acquire();
    EXPECT_EQ(gSocketConnList.GetSize(), 3);
    third->UnLockSocket();
    EXPECT_EQ(acquire(), third);  // the first idle one
    EXPECT_EQ(gSocketConnList.GetSize(), 3);
    acquire();  // all held: a fourth
    EXPECT_EQ(gSocketConnList.GetSize(), 4);

    // Two marked connections go one per acquisition.
    first->MarkForDelete();
    first->UnLockSocket();
    second->MarkForDelete();
    second->UnLockSocket();
    acquire();
    EXPECT_EQ(gSocketConnList.GetSize(), 4);  // one purged, one opened
    acquire();
    EXPECT_EQ(gSocketConnList.GetSize(), 4);

    // Cleanup spares the held connections and drops the idle ones.
    EMClientAPISocket* idle = gSocketConnList.at(0);
    idle->UnLockSocket();
    EMClientAPITNGCleanup();
    EXPECT_EQ(gSocketConnList.GetSize(), 3);
    for (int i = 0; i < gSocketConnList.GetSize(); ++i) EXPECT_TRUE(gSocketConnList.at(i)->IsSocketInUse());
}

TEST_F(PoolTest, OpeningFailuresAndSendForms) {
    EMClientAPISocket s(0, 1);
    EXPECT_EQ(s.OpenSoapConnection("no.such.host.invalid", "12301"), EMCLIENTAPISOCKET_RESOLVESERVERNAME_ERROR);
    EXPECT_EQ(s.IsSocketOpen(), 0);
    EMClientAPISetServiceLookup([](const char*, uint16_t*) { return -1; });
    EXPECT_EQ(s.OpenConnection(address_.c_str(), "wbem"), EMCLIENTAPISOCKET_FINDWBEMSERVICEPORT_ERROR);
    EMClientAPISetServiceLookup([](const char*, uint16_t* port) {
        *port = htons(12302);
        return 0;
    });
    EXPECT_EQ(s.OpenConnection(address_.c_str(), "wbem"), 0);
    EXPECT_EQ(s.CloseConnection(), 0);
    EXPECT_EQ(s.Send("abc"), EMCLIENTAPISOCKET_SOCKETNOTOPEN_ERROR);
    SString text;
    int n = -1;
    EXPECT_EQ(s.ReceiveSoapResponse(text, n), EMCLIENTAPISOCKET_SOCKETNOTOPEN_ERROR);
    EXPECT_EQ(n, 0);
}

}  // namespace
