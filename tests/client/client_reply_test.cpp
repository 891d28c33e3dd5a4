// How the bridge path reads a reply off a kept-alive connection: where a
// reply ends, how long the whole of it may take, and how large it may be.
#include <atomic>
#include <string>
#include <vector>

#include "fake_server.h"
#include "wire_fixture.h"

namespace {

using clienttest::bridge_reply;
using clienttest::FakeServer;

std::string document(const std::string& text) {
    return "<SOAP:Envelope>\n<Body>\n<text>" + text + "</text>\n</Body>\n</SOAP:Envelope>\n";
}

// A reply of exactly size bytes, so a read of that size ends right at its end.
std::string reply_of_size(const std::string& text, size_t size) {
    std::string pad;
    for (std::string r = bridge_reply(document(text)); r.size() != size; r = bridge_reply(document(text + pad)))
        pad.resize(pad.size() + size - r.size(), '.');  // the length's digits may grow by one
    return bridge_reply(document(text + pad));
}

using ReplyTest = WireTest;

TEST_F(ReplyTest, BytesAfterTheAnnouncedBodyNeverAnswerTheNextCommand) {
    struct Case {
        const char* name;
        std::string first;
    } cases[] = {
        // The surplus comes in the same read as the reply's end...
        {"same read", bridge_reply(document("first"))},
        // ...or the reply fills a whole read and the surplus waits behind it.
        {"next read", reply_of_size("first", 5120)},
    };
    for (const Case& c : cases) {
        EMClientAPIResetPool();
        std::string address = simtest::unique_loopback_address();
        std::string stray = bridge_reply(document("stray"));
        FakeServer bridge(address, 12301, {c.first + stray, bridge_reply(document("second"))});
        ASSERT_TRUE(bridge.listening());
        std::string reply;
        ASSERT_EQ(command(admin_v3(address + ":12301"), reply), 0) << c.name;
        EXPECT_EQ(reply.rfind(document("first").substr(0, 34), 0), 0u) << c.name;
        ASSERT_EQ(command(admin_v3(address + ":12301"), reply), 0) << c.name;
        EXPECT_EQ(reply, document("second")) << c.name;
        EXPECT_EQ(bridge.requests(), 2) << c.name;
    }
}

// A reply is held whole in memory, so one past the bound is refused before
// its memory is taken, and its connection is not used again.
TEST_F(ReplyTest, ReplyAboveTheAcceptedSizeIsRefused) {
    std::string address = simtest::unique_loopback_address();
    std::string huge = "HTTP/1.1 200 OK\r\nContent-Length: ";
    huge += std::to_string(EMClientAPITNGMaxReplyBytes + 1L) + "\r\n\r\n<?xml version=\"1.0\"?>\n<soap:Envelope>";
    FakeServer bridge(address, 12301, {huge, bridge_reply(document("next"))});
    ASSERT_TRUE(bridge.listening());
    std::string reply;
    EXPECT_EQ(command(admin_v3(address + ":12301"), reply), EMCLIENTAPITNG_REPLYTOOLARGE_ERROR);
    EXPECT_EQ(reply, "");
    char text[256];
    ASSERT_EQ(EMClientAPITNGGetErrorDescription(EMCLIENTAPITNG_REPLYTOOLARGE_ERROR, text, sizeof text), 0);
    EXPECT_NE(std::string(text).find("larger than the accepted maximum of 256 MB"), std::string::npos) << text;
    ASSERT_EQ(command(admin_v3(address + ":12301"), reply), 0);
    EXPECT_EQ(reply, document("next"));
}

// A clock that moves a quarter second each time it is read, so a deadline
// of one second passes after a few reads whatever the real time taken.
std::atomic<int64_t> g_now{0};
int64_t quarter_seconds() { return g_now += 250; }

TEST_F(ReplyTest, TricklingServerEndsInTheTimeoutOfTheWholeReply) {
    EMClientAPISetMonotonicClock(quarter_seconds);
    // Each byte alone comes well inside the time-out; the whole reply
    // would take seconds.
    std::string slow = bridge_reply(document(std::string(400, 'x')));
    std::string address = simtest::unique_loopback_address();
    {
        FakeServer bridge(address, 12301, {slow});
        ASSERT_TRUE(bridge.listening());
        bridge.trickle(5);
        EMClientAPITNGSetTimeout(1);
        std::string reply;
        EXPECT_EQ(command(admin_v3(address + ":12301"), reply), EMCLIENTAPISOCKET_RECEIVETIMEOUT_ERROR);
        EXPECT_EQ(reply, "");
    }
    // The legacy path reads to the connection's close through the same
    // socket, under the same bound.
    FakeServer agent(address, 2301, {std::string("HTTP/1.1 200 OK\r\n\r\n") + std::string(600, 'y')}, true);
    ASSERT_TRUE(agent.listening());
    agent.trickle(5);
    EMClientAPISocket socket(0, 1);
    ASSERT_EQ(socket.OpenConnection(address.c_str(), "2301"), 0);
    ASSERT_EQ(socket.Send("GET / HTTP/1.0\n\n"), 0);
    SString text;
    EXPECT_EQ(socket.Receive(text), EMCLIENTAPISOCKET_RECEIVETIMEOUT_ERROR);
}

}  // namespace
