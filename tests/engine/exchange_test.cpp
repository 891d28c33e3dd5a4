#include <gtest/gtest.h>

#include <string>

#include "corvane_exchange.h"
#include "corvane_memory.h"
#include "fake_manager.h"
#include "session_fixture.h"

namespace {

const std::string busy = "<Envelope><version>3.2</version><statuscode>18034</statuscode></Envelope>";

class ExchangeTest : public SessionTest {
protected:
    int exchange() { return ss_soap_exchange(pb); }
    // The time an attempt takes: here each one costs the library six
    // seconds of its own retries, as a busy reply does.
    static time_t busy_clock() {
        return 1000000 + static_cast<time_t>(slept_seconds + 6 * timed_server->requests.size());
    }
    FakeManager server;
    inline static const FakeManager* timed_server = nullptr;
};

TEST_F(ExchangeTest, BusyServerIsRetriedEveryTenSeconds) {
    server.reply(busy);
    server.reply(busy);
    server.reply(success_reply());
    EXPECT_EQ(exchange(), 0);
    EXPECT_EQ(output(), "\nRetrying command.");
    EXPECT_EQ(slept_seconds, 20u);
    EXPECT_EQ(server.requests.size(), 3u);
}

TEST_F(ExchangeTest, RetryWindowBoundsTheAttempts) {
    minutes_to_retry = 0;
    server.reply(busy);
    EXPECT_EQ(exchange(), 0);  // the last busy reply goes on to be judged
    EXPECT_EQ(output(), "");
    EXPECT_EQ(server.requests.size(), 1u);

    minutes_to_retry = 1;  // six retries, seven attempts
    for (int i = 0; i < 10; ++i) server.reply(busy);
    slept_seconds = 0;
    EXPECT_EQ(exchange(), 0);
    EXPECT_EQ(server.requests.size(), 1u + 7u);
    EXPECT_EQ(slept_seconds, 60u);
    EXPECT_EQ(output(), "\nRetrying command.....");
}

TEST_F(ExchangeTest, BusyWaitStaysWithinTheRetryMinutes) {
    timed_server = &server;
    ss_set_time(busy_clock);
    for (int i = 0; i < 40; ++i) server.reply(busy);
    slept_seconds = 0;
    time_t start = busy_clock();
    EXPECT_EQ(exchange(), 0);
    ss_set_time(nullptr);
    long waited = static_cast<long>(busy_clock() - start);
    EXPECT_LE(waited, 4 * 60 + 10);
    EXPECT_GE(waited, 4 * 60 - 10);
}

TEST_F(ExchangeTest, ErrorsAndWebPages) {
    server.reply(busy);
    server.fail(105);  // an error on a retry ends the loop at once
    EXPECT_EQ(exchange(), 1);
    EXPECT_EQ(output(), "\nRetrying command\nError: client code 105\n");

    server.reply("<html><!DOCTYPE html>down</html>");
    EXPECT_EQ(exchange(), 1);
    EXPECT_EQ(output(), "\nError: Server currently down, stopped or restarting");

    server.push({0, "", true});  // success without a reply: an empty reply
    EXPECT_EQ(exchange(), 0);
    ASSERT_NE(pb->state->response, nullptr);
    EXPECT_STREQ(pb->state->response, "");
}

TEST_F(ExchangeTest, DebugDumpAndLevel) {
    pb->state->session_flags |= debug_dump;
    std::strcpy(pb->state->soap_buffer, "REQ");
    ss_deallocate_mem(pb->state->fenn_flags, "t", 1);
    pb->state->fenn_flags = ss_copy_string("111");
    server.fail(111);
    EXPECT_EQ(exchange(), 1);  // the request is shown even when the exchange fails
    EXPECT_EQ(output(), "\nSend SOAP command:++++++++++++++++++++\n\n*****REQ*****\n\n\nError: client code 111\n");
    ss_deallocate_mem(pb->state->fenn_flags, "t", 1);
    pb->state->fenn_flags = ss_copy_string("1");
    server.reply("<x/>");
    EXPECT_EQ(exchange(), 0);
    EXPECT_EQ(output(), "\nSend SOAP command:++++++++++++++++++++\n\n*****REQ*****\n\n"
                        "\nSOAP response:--------------------\nLength of buffer = 4\n\n*****<x/>*****\n\n");
    EXPECT_EQ(server.debug_levels, (std::vector<int>{2, 1}));
}

TEST_F(ExchangeTest, SuccessTestOfChanges) {
    struct Case {
        std::string body;
        int result;
        uint8_t flags;
        std::string printed;
    };
    const Case cases[] = {
        {"<SuccessMsg>ok</SuccessMsg>", 0, request_succeeded, ""},
        {"<NotSuccessMsg>Name in use</NotSuccessMsg>", 0, request_failed, "\nError: Name in use"},
        {"<SuccessMsg>ok</SuccessMsg><NotSuccessMsg>no</NotSuccessMsg>", 1, 0,
         "\nError: Both SUCCESS and FAILURE were returned by this command"},
        {"<Other>x</Other>", 1, 0, "\nError: Neither SUCCESS nor FAILURE were returned by this command"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        server.reply(legacy_reply(c.body));
        pb->state->command_flags = 0;
        ASSERT_EQ(ss_exchange_and_tokenize(pb), 0);
        EXPECT_EQ(ss_check_success_fail(pb), c.result);
        EXPECT_EQ(pb->state->command_flags, c.flags);
        EXPECT_EQ(output(), c.printed);
    }
}

// An empty document, or one with no element in it, must not pass for a read
// that found nothing.
TEST_F(ExchangeTest, FailureTestOfReads) {
    struct Case {
        std::string reply;
        int result;
        std::string printed;
    };
    const Case cases[] = {
        {failure_reply("No such object"), 1, "\nError: No such object"},
        {success_reply(), 0, ""},
        {list_reply("Hosts", {}), 0, ""},
        {"<SOAP:Envelope>\n<SOAP:Body>\n<version>3.2</version>\n<statuscode>0</statuscode>\n</SOAP:Body>\n</SOAP:Envelope>\n", 0, ""},
        {"", 1, "\nError: The server sent an empty reply"},
        {" \r\n", 1, "\nError: The server sent an empty reply"},
        {legacy_reply(""), 1, "\nError: The server's reply holds none of the elements this command reads"},
        {legacy_reply("<Name>h1</Name>"), 0, ""},
    };
    minutes_to_retry = 0;  // an empty reply is retried like a busy one
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reply);
        server.reply(c.reply);
        ASSERT_EQ(ss_exchange_and_tokenize(pb), 0);
        EXPECT_EQ(ss_test_for_soap_failure(pb), c.result);
        EXPECT_EQ(output(), c.printed);
    }
}

}  // namespace
