// Typed numbers: plain conversion and long hexadecimal words.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "corvane_convert.h"
#include "session_fixture.h"

namespace {

using ConvertTest = SessionTest;

TEST_F(ConvertTest, PlainNumbers) {
    uint32_t value = 7;
    EXPECT_EQ(ss_convert(&value, "123abc", 10), 0);
    EXPECT_EQ(value, 123u);
    EXPECT_EQ(ss_convert(&value, "ff", 16), 0);
    EXPECT_EQ(value, 255u);
    EXPECT_EQ(ss_convert(&value, "4294967295", 10), 0);
    EXPECT_EQ(value, 4294967295u);
    EXPECT_EQ(output(), "");

    for (const char* bad : {"abc", "", "4294967296", "-1", "99999999999999999999999"}) {
        value = 7;
        EXPECT_EQ(ss_convert(&value, bad, 10), 1) << bad;
        EXPECT_EQ(output(), std::string("\nError: Cannot convert ") + bad + " to a number");
        EXPECT_EQ(value, 7u);
    }
}

TEST(HexWords, Conversions) {
    struct hex_case {
        const char* text;
        int count;
        int result;
        uint32_t low, high;
    };
    const hex_case cases[] = {
        {"0000-1234-ABCD", 2, 0, 0x1234ABCDu, 0},
        {"  ab-cd  ", 2, 0, 0xABCDu, 0},
        {"123456789abcdef0", 2, 0, 0x9ABCDEF0u, 0x12345678u},
        {"0123456789abcdef0", 2, 0, 0x9ABCDEF0u, 0x12345678u},  // leading zero: 17 digits fit
        {"1123456789abcdef0", 2, 1, 0, 0},
        {"12 34", 2, 1, 0, 0},   // text after the first blank
        {"12g", 2, 1, 0, 0},
        {"", 2, 1, 0, 0},
        {"   ", 2, 1, 0, 0},
        {"--", 2, 1, 0, 0},      // separators alone are no number
        {"1", 0, 1, 0, 0},
        {"FFFFFFFF", 1, 0, 0xFFFFFFFFu, 0},
        {"1FFFFFFFF", 1, 1, 0, 0},
    };
    for (const hex_case& c : cases) {
        SCOPED_TRACE(c.text);
        uint32_t words[2] = {99, 99};
        EXPECT_EQ(cvt_atox(c.text, words, c.count), c.result);
        if (c.result == 0) {
            EXPECT_EQ(words[0], c.low);
            if (c.count == 2) {
                EXPECT_EQ(words[1], c.high);
            }
        }
    }
    EXPECT_EQ(check_end("   "), 0);
    EXPECT_EQ(check_end(" x "), 1);
}

}  // namespace
