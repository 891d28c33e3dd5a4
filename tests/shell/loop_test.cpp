#include <gtest/gtest.h>

#include <string>

#include "corvane_line.h"
#include "session_fixture.h"

namespace {

class LoopTest : public SessionTest {
protected:
    bool stopped() const { return pb->state->session_flags & stopped_on_error; }
};

TEST_F(LoopTest, BlankAndCommentLinesDoNothingAtAll) {
    const uint32_t delay = 5;
    pb->state->session_flags |= stop_on_error;
    for (const char* line : {"", "    ", "! a comment", "   !HELP"}) {
        run(line, &delay);
        EXPECT_EQ(output(), "") << line;
        EXPECT_FALSE(stopped());
    }
    EXPECT_EQ(slept_seconds, 0u);
}

TEST_F(LoopTest, ErrorMarkingCopiesThePolicyBit) {
    run("ADD");  // incomplete
    EXPECT_FALSE(stopped());
    pb->state->session_flags |= stop_on_error;
    run("NOSUCH");
    EXPECT_TRUE(stopped());
    pb->state->session_flags &= ~stop_on_error;
    run("FILE");  // incomplete: a failure under CONTINUE clears the mark
    EXPECT_FALSE(stopped());
}

TEST_F(LoopTest, StatusMessagesAndCarets) {
    struct Case {
        const char* line;
        const char* expected;
    };
    // Prompt "NoSystemSelected" is 16 characters; the command starts at column 18.
    const Case cases[] = {
        {"FILE", "\nError: Incomplete command"},
        {"HELP now", "                       ^\nError: Syntax error at or near here"},
        {"EXIT\tX", "                  ^\nError: Syntax error at or near here"},
    };
    for (const Case& c : cases) {
        run(c.line);
        EXPECT_EQ(output(), c.expected) << c.line;
    }
}

TEST_F(LoopTest, DelayFollowsOnlyParsedCommands) {
    const uint32_t delay = 7;
    run("HELP", &delay);
    EXPECT_EQ(slept_seconds, 7u);
    run("HELP ?", &delay);  // help shown, nothing executed
    run("BOGUS", &delay);
    EXPECT_EQ(slept_seconds, 7u);
}

TEST_F(LoopTest, ExitSetsTheExitRequest) {
    run("exit");
    EXPECT_TRUE(pb->state->session_flags & exit_requested);
}

TEST(LineReading, LongestLineAndStrippedEnd) {
    char buffer[ss_max_line + 1];
    std::string ok(2046, 'x'), too_long(2050, 'y');
    std::string text = ok + "\n" + too_long + "\nEXIT \t\r\x85\n";
    FILE* in = fmemopen(text.data(), text.size(), "r");
    EXPECT_EQ(ss_read_line(in, buffer), 2047);
    EXPECT_EQ(ss_read_line(in, buffer), ss_max_line);  // refused by the callers
    EXPECT_EQ(ss_read_line(in, buffer), 3);            // the rest of that line
    EXPECT_EQ(ss_read_line(in, buffer), 9);
    ss_strip_line_end(buffer);
    EXPECT_STREQ(buffer, "EXIT");
    EXPECT_EQ(ss_read_line(in, buffer), -1);
    std::fclose(in);
}

}  // namespace
