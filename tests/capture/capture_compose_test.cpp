// Composing capture command lines: case, quoting, the length limit, comment
// splitting and the cleaning of comments.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "corvane_capture_compose.h"
#include "corvane_capture_script.h"
#include "corvane_state.h"

namespace {

// Script and messages both into memory for one test.
class ComposeTest : public ::testing::Test {
protected:
    void SetUp() override {
        script_ = open_memstream(&script_text_, &script_size_);
        messages_ = open_memstream(&message_text_, &message_size_);
        saved_ = OutFile;
        OutFile = messages_;
        config_script = {};
        config_script.config_file = script_;
    }
    void TearDown() override {
        OutFile = saved_;
        config_script = {};
        std::fclose(script_);
        std::fclose(messages_);
        std::free(script_text_);
        std::free(message_text_);
    }
    std::string script() {
        std::fflush(script_);
        return std::string(script_text_, script_size_);
    }
    std::string messages() {
        std::fflush(messages_);
        return std::string(message_text_, message_size_);
    }

    FILE *script_ = nullptr, *messages_ = nullptr, *saved_ = nullptr;
    char *script_text_ = nullptr, *message_text_ = nullptr;
    size_t script_size_ = 0, message_size_ = 0;
};

TEST_F(ComposeTest, UnquotedPartsInUpperCaseQuotedAsRead) {
    ASSERT_EQ(start_command("add host"), 0);
    ASSERT_EQ(quote_only("\\Hosts\\web01"), 0);
    ASSERT_EQ(keyword_eq_string("operating_system", "windows"), 0);
    ASSERT_EQ(keyword_eq_quote_string("COMMENT", "Mixed Case"), 0);
    ASSERT_EQ(keyword_only("wait_for_completion"), 0);
    ASSERT_EQ(write_command(), 0);
    EXPECT_EQ(script(), "ADD HOST \"\\Hosts\\web01\" OPERATING_SYSTEM=WINDOWS COMMENT=\"Mixed Case\" WAIT_FOR_COMPLETION\n");
}

TEST_F(ComposeTest, CommandStopsAt2047Characters) {
    ASSERT_EQ(start_command(std::string(2040, 'A').c_str()), 0);
    EXPECT_EQ(keyword_only("BCDEF"), 0);  // 2046
    EXPECT_EQ(keyword_only("X"), 1);      // 2048: refused, the command as it was
    EXPECT_EQ(messages(), "\nError: Command becomes too long when adding  X.  Command so far:\n       " +
                              std::string(2040, 'A') + " BCDEF");
    EXPECT_EQ(add_to_command("G"), 0);  // exactly 2047
    EXPECT_EQ(std::string(ss_capture_command()).size(), 2047u);
}

TEST_F(ComposeTest, LongCommentsSplitAtTheLastSpace) {
    const std::string words = std::string(2000, 'a') + " " + std::string(100, 'b');
    ASSERT_EQ(write_comments(words.c_str()), 0);
    const std::string solid(3000, 'c');
    ASSERT_EQ(write_comments(solid.c_str()), 0);
    ASSERT_EQ(write_comments(""), 0);
    EXPECT_EQ(script(), "! " + std::string(2000, 'a') + "\n! " + std::string(100, 'b') + "\n! " +
                            std::string(2048, 'c') + "\n! " + std::string(952, 'c') + "\n! \n");
}

TEST(CaptureText, RemoveSpecialCharacters) {
    struct {
        std::string in, out;
    } cases[] = {
        {"Finance volumes", "Finance volumes"},
        {"%%%", ""},
        {"50% off: A&B, C+D", "50 off AB CD"},
        {"?\"/\\<>*|:&+,%", ""},
        {"tab\there\x7f\x80\xff", "tabhere"},
    };
    for (auto& c : cases) {
        std::string text = c.in;
        size_t n = remove_special_characters(text.data());
        EXPECT_EQ(std::string(text.c_str()), c.out) << c.in;
        EXPECT_EQ(n, c.out.size()) << c.in;
    }
}

TEST_F(ComposeTest, TranslationListsTheChoices) {
    const char* value = "mirrored WRITE-BACK";
    ASSERT_EQ(xlate_token_value(&value, xlate_write_cache, sizeof xlate_write_cache), 0);
    EXPECT_STREQ(value, "MIRRORED_WRITEBACK");
    value = "Write-through";
    EXPECT_EQ(xlate_token_value(&value, xlate_write_cache, sizeof xlate_write_cache), 1);
    EXPECT_EQ(messages(),
              "\nError: Cannot translate token \"Write-through\".  Choices are the following:\n       Mirrored "
              "write-back\n       Unmirrored write-back");
    value = "On ";  // same letters, other length
    EXPECT_EQ(xlate_token_value(&value, xlate_read_cache, sizeof xlate_read_cache), 1);
}

}  // namespace
