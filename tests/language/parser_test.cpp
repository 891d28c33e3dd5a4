#include <gtest/gtest.h>

#include <string>

#include "corvane_parse.h"
#include "session_fixture.h"

namespace {

// A small grammar with every kind of entry the parser knows.
int count_actions = 0;
int counting_action(_parseblk*) { return ++count_actions, 0; }
int failing_action(_parseblk*) { return 1; }

extern const _kw_desc t_add[];
extern const _kw_desc t_name[];
extern const _kw_desc t_show[];
extern const _kw_desc t_lun[];

const _kw_desc t_root[] = {
    {0, 0, nullptr, t_add, "ADD"},
    {kw_assign | kw_string, 0, counting_action, nullptr, "COMMENT"},
    {kw_hidden | kw_full_word, 0, nullptr, nullptr, "DEBUG"},
    {0, 0, nullptr, nullptr, "DELETE"},
    {kw_disabled, 0, nullptr, nullptr, "DISABLED"},
    {kw_assign | kw_hex, 0, nullptr, nullptr, "HEX"},
    {kw_assign | kw_decimal | kw_list, 0, nullptr, nullptr, "LIST"},
    {0, 0, nullptr, t_lun, "LUN"},
    {kw_assign | kw_octal, 0, nullptr, nullptr, "OCT"},
    {kw_unmatchable, 0, nullptr, nullptr, "ONLY_LISTED"},
    {kw_assign | kw_decimal, 0, nullptr, nullptr, "SIZE"},
    {0, 0, nullptr, t_show, "SHOW"},
    {kw_last, 0, failing_action, nullptr, "ZAP"},
};
const _kw_desc t_add[] = {
    {0, 0, nullptr, t_name, "SNAPSHOT"},
    {kw_hidden, 0, nullptr, t_name, "STORAGE"},
    {kw_last, 0, nullptr, t_name, "SYSTEM"},
};
const _kw_desc t_name[] = {
    {kw_free_text | kw_last, 0, nullptr, t_name, "Name of object"},
};
const _kw_desc t_lun[] = {
    {kw_free_text | kw_decimal | kw_last, 0, nullptr, nullptr, "LUN number"},
};
const _kw_desc t_show[] = {
    {0, 0, nullptr, nullptr, "FULL"},
    {0, 0, nullptr, nullptr, "NOFULL"},
    {kw_free_text | kw_last, 0, nullptr, nullptr, "Name of object to show"},
};

class ParserTest : public SessionTest {
protected:
    int parse(const std::string& line) {
        text_ = line;
        pb->cursor = text_.data();
        pb->remaining = static_cast<uint32_t>(text_.size());
        pb->string_value = nullptr;
        pb->string_length = 0;
        return ss_parse(t_root, pb);
    }
    std::string value() const { return std::string(pb->string_value, pb->string_length); }
    long offset() const { return pb->cursor - pb->command_start; }

private:
    std::string text_;
};

struct Case {
    const char* line;
    int status;
    long offset;          // cursor offset after the parse, -1: not checked
    const char* value;    // string value, null: not checked
};

TEST_F(ParserTest, Statuses) {
    const Case cases[] = {
        // Case, abbreviation, hidden entries, ambiguity.
        {"add snapshot x", parse_ok, -1, "x"},
        {"Add SnapShot", parse_ok, -1, nullptr},
        {"ADD S x", parse_ambiguous, 5, nullptr},
        {"ADD SN x", parse_ok, -1, "x"},
        {"ADD ST x", parse_ok, -1, "x"},  // the hidden STORAGE still matches
        {"ADD SY  name  more", parse_ok, -1, "more"},
        {"D", parse_ok, 1, nullptr},  // DELETE: the full-word DEBUG is no candidate
        {"DEB", parse_syntax_error, 0, nullptr},  // full word only
        {"DEBUG", parse_ok, 5, nullptr},
        {"DIS", parse_syntax_error, 0, nullptr},  // disabled
        {"ONLY_LISTED", parse_syntax_error, 0, nullptr},
        {"ADD VDSK X", parse_syntax_error, 4, nullptr},
        // Illegal characters are reported at the start of the command.
        {"DELETE\tx", parse_syntax_error, 0, nullptr},
        {"DELETE \x80", parse_syntax_error, 0, nullptr},
        {"", parse_syntax_error, 0, nullptr},
        {"   ", parse_incomplete, 0, nullptr},
        // Surplus text after a complete command.
        {"DELETE now", parse_syntax_error, 7, nullptr},
        {"DELETE   ", parse_ok, -1, nullptr},
        // Strings.
        {"COMMENT=\"a b\"", parse_ok, 13, "a b"},
        {"COMMENT = \"x\"", parse_ok, -1, "x"},
        {"COMMENT=\"\"", parse_syntax_error, 8, nullptr},
        {"COMMENT=\"abc", parse_syntax_error, 8, nullptr},
        {"COMMENT=abc", parse_syntax_error, 8, nullptr},
        {"COMMENT=", parse_syntax_error, 8, nullptr},
        {"COMMENT", parse_incomplete, -1, nullptr},
        {"COMMENT x", parse_syntax_error, 8, nullptr},
        // Numbers and their overflow rules.
        {"SIZE=4294967295", parse_ok, -1, nullptr},
        {"SIZE=4294967296", parse_syntax_error, 5, nullptr},
        {"SIZE=12a", parse_syntax_error, 5, nullptr},
        {"SIZE=", parse_incomplete, -1, nullptr},
        {"HEX=FFFFFFFF", parse_ok, -1, nullptr},
        {"HEX=ffff0000", parse_ok, -1, nullptr},
        {"HEX=100000000", parse_syntax_error, 4, nullptr},
        {"HEX=0x10", parse_syntax_error, 4, nullptr},
        {"OCT=37777777777", parse_ok, -1, nullptr},
        {"OCT=40000000000", parse_syntax_error, 4, nullptr},
        {"OCT=8", parse_syntax_error, 4, nullptr},
        // A bad token is reported at its first character, wherever the
        // cursor had got to behind it.
        {"LUN 12", parse_ok, -1, "12"},
        {"LUN 12x   ", parse_syntax_error, 4, nullptr},
        {"LIST=(1,x)", parse_syntax_error, 6, nullptr},
        {"ADD \"VDSK\" X", parse_syntax_error, 5, nullptr},
        // Bracketed and quoted tokens.
        {"SHOW (a (b) c)", parse_ok, 14, "a (b) c"},
        {"SHOW \"my disk\"", parse_ok, -1, "my disk"},
        {"SHOW ( spaced)", parse_ok, -1, "spaced"},
        {"SHOW ()", parse_ok, 5, nullptr},  // an empty pair is no token
        // An unclosed quote or bracket, or "=" where a word belongs, is refused
        // at that character instead of ending the command early.
        {"SHOW (open", parse_syntax_error, 5, nullptr},
        {"SHOW \"my disk", parse_syntax_error, 5, nullptr},
        {"=", parse_syntax_error, 0, nullptr},
        {"ADD =", parse_syntax_error, 4, nullptr},
        {"SIZE==5", parse_syntax_error, 5, nullptr},
        {"LIST=(1,2", parse_syntax_error, 5, nullptr},
        // Keywords are tried before the free-text entry that follows them.
        {"SHOW FU", parse_ok, -1, nullptr},
        {"SHOW FULLER", parse_ok, -1, "FULLER"},
        {"SHOW NO", parse_ok, -1, nullptr},
        // Action routines.
        {"ZAP", parse_action_failed, -1, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(parse(c.line), c.status);
        if (c.offset >= 0) {
            EXPECT_EQ(offset(), c.offset);
        }
        if (c.value) {
            EXPECT_EQ(value(), c.value);
        }
    }
}

TEST_F(ParserTest, ValuesLandInTheParseBlock) {
    ASSERT_EQ(parse("SIZE = 4294967295"), parse_ok);
    EXPECT_EQ(pb->number, 4294967295u);
    ASSERT_EQ(parse("HEX=ffff0000"), parse_ok);
    EXPECT_EQ(pb->number, 0xFFFF0000u);
    ASSERT_EQ(parse("OCT=777"), parse_ok);
    EXPECT_EQ(pb->number, 0777u);
    ASSERT_EQ(parse("LIST=(1, 2,,3  4)"), parse_ok);
    ASSERT_EQ(pb->number_count, 4u);
    EXPECT_EQ(pb->number_list[0], 1u);
    EXPECT_EQ(pb->number_list[3], 4u);

    std::string twenty = "LIST=(", twenty_one;
    for (int i = 0; i < 20; ++i) twenty += std::to_string(i) + ",";
    twenty_one = twenty + "20)";
    twenty += ")";
    EXPECT_EQ(parse(twenty), parse_ok);
    EXPECT_EQ(pb->number_count, 20u);
    EXPECT_EQ(parse(twenty_one), parse_syntax_error);
    EXPECT_EQ(parse("LIST=(1,x)"), parse_syntax_error);
    EXPECT_EQ(parse("LIST=(,)"), parse_syntax_error);
    EXPECT_EQ(parse("LIST=()"), parse_incomplete);

    count_actions = 0;
    EXPECT_EQ(parse("COMMENT=\"a\""), parse_ok);
    EXPECT_EQ(count_actions, 1);
}

TEST_F(ParserTest, HelpAtEveryPoint) {
    struct HelpCase {
        const char* line;
        const char* printed;
    };
    const HelpCase cases[] = {
        {"?",
         "\n  The options are:\n    ADD\n    COMMENT\n    DELETE\n    HEX\n    LIST\n    LUN\n    OCT\n"
         "    ONLY_LISTED\n    SIZE\n    SHOW\n    ZAP"},
        {"ADD ?", "\n  The options are:\n    SNAPSHOT\n    SYSTEM"},
        {"ADD SYSTEM ?", "\n  The only option is:\n    Name of object"},
        {"ADD SYSTEM x?", ""},  // "?" inside a name is part of the name: nothing printed
        {"SIZE ?", "\n  The only option is: = (decimal value)"},
        {"SIZE=?", "\n  The only option is: (decimal value)"},
        {"SIZE = ?", "\n  The only option is: (decimal value)"},
        {"HEX ?", "\n  The only option is: = (hexadecimal value)"},
        {"HEX=?", "\n  The only option is: (hexadecimal value)"},
        {"OCT=?", "\n  The only option is: (octal value)"},
        {"LIST ?", "\n  The only option is: = (decimal value, decimal value,...)"},
        {"LIST=?", "\n  The only option is: (decimal value, decimal value,...)"},
        {"COMMENT ?", "\n  The only option is: = (string enclosed in quotes)"},
        {"COMMENT=?", "\n  The only option is: (string enclosed in quotes)"},
        {"DELETE ?", "\n  This command has no additional keywords or parameters"},
        {"SHOW ?", "\n  The options are:\n    FULL\n    NOFULL\n    Name of object to show"},
    };
    for (const HelpCase& c : cases) {
        SCOPED_TRACE(c.line);
        int status = parse(c.line);
        EXPECT_EQ(output(), c.printed);
        if (*c.printed) {
            EXPECT_EQ(status, parse_help_shown);
        }
    }
}

TEST_F(ParserTest, KeywordConflictCheck) {
    EXPECT_STREQ(cci_scan_for_noconflict(4, "full", t_root), "FULL");
    EXPECT_STREQ(cci_scan_for_noconflict(6, "SYSTEM", t_root), "SYSTEM");
    EXPECT_STREQ(cci_scan_for_noconflict(3, "add", t_root), "ADD");
    EXPECT_EQ(cci_scan_for_noconflict(7, "STORAGE", t_root), nullptr);   // hidden
    EXPECT_EQ(cci_scan_for_noconflict(5, "DEBUG", t_root), nullptr);     // hidden
    EXPECT_EQ(cci_scan_for_noconflict(8, "DISABLED", t_root), nullptr);  // disabled
    EXPECT_EQ(cci_scan_for_noconflict(3, "FUL", t_root), nullptr);       // whole words only
    EXPECT_EQ(output(), "");
}

}  // namespace
