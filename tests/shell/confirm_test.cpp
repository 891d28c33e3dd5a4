#include <gtest/gtest.h>

#include "corvane_confirm.h"
#include "session_fixture.h"

namespace {

class ConfirmTest : public SessionTest {};

const char prompt[] = "\n\nAre you sure you wish to execute this command?\nIf so, type \"Yes\" (Note: case sensititve) ";

TEST_F(ConfirmTest, OnlyYesConfirms) {
    struct Case {
        const char* answer;
        int result;
    };
    const Case cases[] = {
        {"Yes\n", 0},   {"  Yes  \n", 0}, {"Y e s\n", 0}, {"Yes\t\n", 0}, {"\tY\te s", 0},
        {"yes\n", 1},   {"YES\n", 1},     {"\n", 1},      {"", 1},        {"Yess\n", 1},
        {"No\nYes\n", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        set_input(c.answer);
        EXPECT_EQ(ss_are_you_sure("\nWarning!"), c.result);
        EXPECT_EQ(output(), std::string("\nWarning!") + prompt + (c.result ? "\nCommand aborted\n" : ""));
    }
}

}  // namespace

namespace {

// An answer longer than a line is refused whole: its rest must not be left
// behind to run as the next command.
TEST_F(ConfirmTest, OverLongAnswerIsDroppedWhole) {
    set_input(std::string(3000, ' ') + "Yes\nNEXT\n");
    EXPECT_EQ(ss_are_you_sure("\nWarning!"), 1);
    char rest[16] = {};
    ASSERT_NE(std::fgets(rest, sizeof rest, ss_input_stream()), nullptr);
    EXPECT_STREQ(rest, "NEXT\n");
}

}  // namespace
