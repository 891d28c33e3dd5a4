// The reply display: exact layout at several widths, headings, wrapping and
// value clean-ups, and progress when there is no room left.
#include <gtest/gtest.h>

#include <string>

#include "corvane_display.h"
#include "corvane_memory.h"
#include "corvane_token.h"
#include "corvane_tokenizer.h"
#include "session_fixture.h"

namespace {

class DisplayTest : public SessionTest {
protected:
    void SetUp() override {
        SessionTest::SetUp();
        pb->state->label_path = ss_copy_string("");
    }
    void TearDown() override {
        ss_set_display_ignore(nullptr);
        SessionTest::TearDown();
    }

    // Tokenizes the reply and prints it at `width`.
    std::string shown(const std::string& reply, uint32_t width = 80) {
        ss_deallocate_tokens(pb->state->tokens);
        pb->state->tokens = ss_allocate_token();
        EXPECT_EQ(ss_parse_soap_buffer(pb, reply.c_str(), pb->state->tokens), 0) << output();
        max_line_width = width;
        ss_soap_print_tokens(pb, pb->state->tokens);
        return output();
    }
};

// One "name : value" line with the name right-aligned in `field`.
std::string item(size_t field, const std::string& name, const std::string& value) {
    return std::string("\n").append(field - name.size(), ' ') + name + " : " + value;
}

std::string heading(size_t indent, const std::string& text) {
    return std::string("\n").append(indent, ' ') + text + ":";
}

const std::string list_reply =
    "<SOAP:Envelope xmlns:SOAP=\"urn:schemas-xmlsoap-org:soap.v1\"><SOAP:Body>"
    "<LabelName xsd:type=\"u:string\">Hosts</LabelName>"
    "<ArrayOfString xsd:type=\"u:string[2,3]\">"
    "<Name>h1</Name><ID>1</ID><Name>h2</Name><ID>2</ID><Name>h3</Name><ID>3</ID>"
    "</ArrayOfString><SuccessMsg>done</SuccessMsg></SOAP:Body></SOAP:Envelope>";

std::string list_at(size_t name_field) {
    std::string out;
    for (int row = 0; row < 3; ++row) {
        std::string n = std::to_string(row + 1);
        out += heading(2, "Hosts [" + std::to_string(row) + "]") +
               item(name_field + 2, "Name", "h" + n) + item(name_field + 2, "ID", n);
    }
    return out + item(name_field, "SuccessMsg", "done");
}

TEST_F(DisplayTest, ListReplyAtThreeWidths) {
    EXPECT_EQ(shown(list_reply, 80), list_at(26));
    EXPECT_EQ(shown(list_reply, 30), list_at(10));
    EXPECT_EQ(shown(list_reply, 300), list_at(50));  // the name column stops at 50
}

TEST_F(DisplayTest, HeadingsForLabelsAndCategories) {
    std::string reply = "<ArrayOfString xsd:type=\"u:string[1,2]\"><P>a</P><P>b</P></ArrayOfString>"
                        "<LabelName xsd:type=\"u:string\">Ports</LabelName>"
                        "<Category><Q>1</Q></Category>"
                        "<LabelName xsd:type=\"u:string\"></LabelName>"
                        "<Category><R>2</R></Category><Z>9</Z>";
    EXPECT_EQ(shown(reply), heading(2, "Member [0]") + item(28, "P", "a") +
                                heading(2, "Member [1]") + item(28, "P", "b") +
                                heading(2, "Ports") + item(28, "Q", "1") + item(28, "R", "2") +
                                item(26, "Z", "9"));
}

TEST_F(DisplayTest, NamesAtAndPastTheField) {
    std::string fits(26, 'n');
    std::string too_long(27, 'n');
    EXPECT_EQ(shown("<" + fits + ">v</" + fits + "><" + too_long + ">w</" + too_long + "><E/>"),
              "\n" + fits + " : v" + "\n" + too_long + " :\n" + std::string(29, ' ') + "w" +
                  item(26, "E", ""));
}

TEST_F(DisplayTest, LongValuesWrapAtTheWidth) {
    // Seven words fit the 51 columns after column 29; the break is the blank
    // at index 48, which is dropped.
    std::string words = "aaaaaa bbbbbb cccccc dddddd eeeeee ffffff gggggg hhhhhh iiiiii jjjjjj";
    EXPECT_EQ(shown("<Text>" + words + "</Text>"),
              item(26, "Text", words.substr(0, 48)) + "\n" + std::string(29, ' ') +
                  words.substr(49));

    std::string solid(120, 'x');
    std::string indent = std::string("\n").append(29, ' ');
    EXPECT_EQ(shown("<Text>" + solid + "</Text>"),
              item(26, "Text", solid.substr(0, 51)) + indent + solid.substr(51, 51) + indent +
                  solid.substr(102));

    // A blank right at the room's edge breaks there; one at index 0 does not.
    std::string edge = std::string(51, 'e') + " tail";
    EXPECT_EQ(shown("<Text>" + edge + "</Text>"),
              item(26, "Text", std::string(51, 'e')) + indent + "tail");
    std::string lead = std::string(" ").append(60, 'l');
    EXPECT_EQ(shown("<Text>" + lead + "</Text>"),
              item(26, "Text", lead.substr(0, 51)) + indent + lead.substr(51));
}

TEST_F(DisplayTest, ValuesAreCleanedBeforePrinting) {
    EXPECT_EQ(shown("<V>a\tb\nc\x01" "d\xff" "e   f\r\n</V>"), item(26, "V", "a b cde f "));
}

TEST_F(DisplayTest, RegressionIgnoreListReplacesValues) {
    ss_set_display_ignore([](_parseblk*, const char* name) { return std::string(name) == "ID"; });
    EXPECT_EQ(shown("<Name>a</Name><ID>17</ID>"), item(26, "Name", "a") + item(26, "ID", "##IGNORE##"));
}

TEST_F(DisplayTest, NoRoomStillMakesProgress) {
    // Width 5: one character of room per line.
    EXPECT_EQ(shown("<N>ab cd</N>", 5), "\nN : a\n    b\n    c\n    d");
    // Width 2: the value column is past the width, so the value goes whole.
    EXPECT_EQ(shown("<N>abcdef</N>", 2), "\nN :\n   abcdef");
}

TEST_F(DisplayTest, DeepNestingStopsIndentingAtTheLastColumnWithRoom) {
    std::string reply;
    for (int i = 0; i < 30; ++i) reply += "<LabelName xsd:type=\"u:string\">C</LabelName><Category>";
    reply += "<N>v</N>";
    for (int i = 0; i < 30; ++i) reply += "</Category>";
    std::string expected;
    // Level 25 puts the value at column 79, the last with room at width 80.
    for (int level = 1; level <= 30; ++level) expected += heading(2 * std::min(level, 25), "C");
    expected += item(26 + 50, "N", "v");
    EXPECT_EQ(shown(reply), expected);
}

}  // namespace
