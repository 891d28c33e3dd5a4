#include <gtest/gtest.h>

#include <string>

#include "sim_codec.h"
#include "sim_json.h"
#include "sim_scenario.h"

namespace {

TEST(Json, ReadsDocumentsKeepingMemberOrderAndRepeatedKeys) {
    talosim::JsonValue v;
    std::string error;
    ASSERT_TRUE(talosim::parse_json(R"( {"b": [1, -2.5e1, true, null], "a": "x\"\\\u00e9\n", "a": "second"} )", v, error))
        << error;
    ASSERT_EQ(v.members.size(), 3u);
    EXPECT_EQ(v.members[0].key, "b");
    EXPECT_EQ(v.find("b")->items[1].number, -25);
    EXPECT_EQ(v.get("a"), "x\"\\\xC3\xA9\n");
    EXPECT_EQ(v.members[2].value.text, "second");

    for (const char* bad : {"", "{", "[1,]", "{\"a\" 1}", "\"unterminated", "[1] 2", "tru", "{\"a\":\"\x01\"}",
                            "\"\\q\"", "-", "1.2.3"})
        EXPECT_FALSE(talosim::parse_json(bad, v, error)) << bad;
    EXPECT_FALSE(talosim::parse_json(std::string(100, '[') + std::string(100, ']'), v, error));
    EXPECT_NE(error.find("too deep"), std::string::npos);
    EXPECT_FALSE(talosim::parse_json("{\n\n  \"a\": x}", v, error));
    EXPECT_EQ(error.rfind("line 3:", 0), 0u) << error;
}

TEST(Scenario, RefusesWhatAReplyCouldNotCarry) {
    talosim::Model model;
    std::string error;
    const char* bad[] = {
        "[]",
        R"({"systems": {}})",
        R"({"systems": [{"props": {}}]})",                                             // no name
        R"({"systems": [{"name": "A<B"}]})",                                           // would open a tag
        R"({"systems": [{"name": "A", "objects": [{"type": "Gadget", "name": "g"}]}]})",
        R"({"systems": [{"name": "A", "objects": [{"type": "Folder", "name": "f", "props": {"x": "<"}}]}]})",
        R"({"systems": [{"name": "A", "id": "1"}, {"name": "B", "id": "1"}]})",       // shared id
        R"({"systems": [{"name": "A", "objects": [{"type": "drmgroup", "name": "g", "props": {"@destination": "Z"}}]}]})",
        R"({"systems": [{"name": "A", "disks": [{"count": -1}]}]})",
    };
    for (const char* text : bad) {
        EXPECT_FALSE(talosim::load_scenario(text, model, error)) << text;
        EXPECT_FALSE(error.empty());
        error.clear();
    }
    EXPECT_TRUE(model.systems.empty());  // a failed load leaves the model alone

    ASSERT_TRUE(talosim::load_scenario(R"({"systems": [{"name": "A", "disks": [{"count": 2}]},
                                                       {"name": "U", "initialized": false}]})", model, error)) << error;
    ASSERT_EQ(model.systems.size(), 2u);
    // An initialized system gets its folder roots and controllers; an uninitialized one does not.
    EXPECT_EQ(model.list(model.systems[0], "Folder").size(), 3u);
    EXPECT_EQ(model.list(model.systems[0], "Power").size(), 2u);
    EXPECT_EQ(model.list(model.systems[0], "Disk").size(), 2u);
    EXPECT_TRUE(model.systems[1].objects.empty());
    EXPECT_EQ(model.systems[0].self.id.size(), 40u);
}

TEST(Codec, DigestsAndEncodingsMatchTheirStandards) {
    EXPECT_EQ(talosim::md5_upper_hex(""), "D41D8CD98F00B204E9800998ECF8427E");  // RFC 1321 test suite
    EXPECT_EQ(talosim::md5_upper_hex("abc"), "900150983CD24FB0D6963F7D28E17F72");
    EXPECT_EQ(talosim::base64_encode("a"), "YQ==");
    EXPECT_EQ(talosim::base64_encode("ab"), "YWI=");
    EXPECT_EQ(talosim::base64_encode("abc"), "YWJj");
    EXPECT_EQ(talosim::base64_decode("YW\r\nJj").value(), "abc");
    EXPECT_EQ(talosim::base64_decode("YQ==").value(), "a");
    for (const char* bad : {"Y", "YQ=", "YQ===", "Y*==", "YQ==YQ=="}) EXPECT_FALSE(talosim::base64_decode(bad)) << bad;
    EXPECT_EQ(talosim::xml_unescape(talosim::xml_escape("a<b>&c")), "a<b>&c");
    EXPECT_EQ(talosim::xml_unescape("&lt;&amp;lt;&bogus;"), "<&lt;&bogus;");
}

}  // namespace
