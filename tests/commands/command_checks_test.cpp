// The checks the option words make while a command is parsed: each refusal
// prints its message (with a caret under a forbidden character) and stops
// the command before anything is sent; the limits themselves pass.
#include <string>

#include "parse_fixture.h"

namespace {

// Caret under line[position] in the echoed command "NoSystemSelected> line".
std::string caret_under(const std::string& line, char c) {
    return std::string(std::string("NoSystemSelected").size() + 2 + line.find(c), ' ') + "^";
}

std::string bad_char(const std::string& line, char c, const char* word) {
    return caret_under(line, c) + "\nError: Invalid character \"" + c + "\" in " + word +
           " at or near here";
}

struct CheckCase {
    std::string line;
    std::string message;  // empty: accepted
};

const std::string name_32(32, 'n');
const std::string text_128(128, 't');
const std::string max_os_id = "\nError: Maximum OS ID is 32767";
const std::string min_size = "\nError: Minumum size in GB is 1";
const std::string max_size = "\nError: Maximum size in GB is 65535";
const std::string alarm = "\nError: Occupancy alarm level must be 1 to 100 inclusive";
const std::string bad_mask = "\nError: Custom OS mask illegal";
const std::string name_too_long = "\nError: Name too long, limit 32 characters";
const std::string comment_too_long = "\nError: Comment too long, limit 128 characters";
const std::string new_name_folder = "\nError: Cannot specify directory or \\ACTIVE on the new name";

const CheckCase check_cases[] = {
    // OS unit and console LUN identifiers
    {"ADD VDISK v OS_UNIT_ID=32767", ""},
    {"ADD VDISK v OS_UNIT_ID=32768", max_os_id},
    {"ADD SNAPSHOT s OS_UNIT_ID=40000", max_os_id},
    {"ADD COPY c OS_UNIT_ID=4294967295", max_os_id},
    {"SET VDISK v OS_UNIT_ID=32768", max_os_id},
    {"ADD SYSTEM Lab CONSOLE_LUN_ID=32768", max_os_id},
    {"SET SYSTEM Lab CONSOLE_LUN_ID=32768", max_os_id},
    // Sizes in GB
    {"ADD VDISK v SIZE=1", ""},
    {"ADD VDISK v SIZE=65535", ""},
    {"ADD VDISK v SIZE=0", min_size},
    {"ADD VDISK v SIZE=65536", max_size},
    {"SET VDISK v SIZE=0", min_size},
    {"SET VDISK v SIZE=4294967295", max_size},
    // Occupancy alarm levels
    {"ADD DISK_GROUP g OCCUPANCY_ALARM=100", ""},
    {"ADD DISK_GROUP g OCCUPANCY_ALARM=0", alarm},
    {"ADD DISK_GROUP g OCCUPANCY_ALARM=101", alarm},
    {"SET DISK_GROUP g OCCUPANCY_ALARM=1", ""},
    {"SET DISK_GROUP g OCCUPANCY_ALARM=101", alarm},
    // Custom host modes: up to 16 significant hexadecimal digits
    {"ADD HOST h OPERATING_SYSTEM=CUSTOM=0123-4567-89AB-CDEF", ""},
    {"ADD HOST h OPERATING_SYSTEM=CUSTOM=0-1000-0000-0000-0000", ""},
    {"ADD HOST h OPERATING_SYSTEM=CUSTOM=1-0000-0000-0000-0000", bad_mask},
    {"ADD HOST h OPERATING_SYSTEM=CUSTOM=12G4", bad_mask},
    {"ADD HOST h OPERATING_SYSTEM=CUSTOM=--", bad_mask},
    {"SET HOST h OPERATING_SYSTEM=CUSTOM=0x10", bad_mask},
    {R"(SET HOST h OPERATING_SYSTEM=CUSTOM="12 34")", bad_mask},
    {R"(SET HOST h OPERATING_SYSTEM=CUSTOM="12  ")", ""},
    // Names of new objects: length, then characters of the name part only
    {"ADD VDISK " + name_32, ""},
    {"ADD VDISK " + name_32 + "x", name_too_long},
    {R"(ADD HOST \Long\Folder\Path\Is\Not\Checked\Here\)" + name_32, ""},
    {"ADD SYSTEM " + name_32 + "x", name_too_long},
    {"ADD SYSTEM La:b", bad_char("ADD SYSTEM La:b", ':', "name")},
    {R"(ADD HOST \Hosts\h*1)", bad_char(R"(ADD HOST \Hosts\h*1)", '*', "name")},
    {R"(ADD HOST \Ho&sts\h1)", ""},
    {"ADD DISK_GROUP g|1", bad_char("ADD DISK_GROUP g|1", '|', "name")},
    {"ADD SNAPSHOT s+1 VDISK=v", bad_char("ADD SNAPSHOT s+1 VDISK=v", '+', "name")},
    {"ADD DR_GROUP g?1", bad_char("ADD DR_GROUP g?1", '?', "name")},
    {"ADD FOLDER \\F\\a<b", bad_char("ADD FOLDER \\F\\a<b", '<', "name")},
    // New names: no folder path, then the name check
    {R"(SET VDISK v NAME=\F\v2)", new_name_folder},
    {R"(SET DR_GROUP g NAME=a\b)", new_name_folder},
    {"SET HOST h NAME=h,2", bad_char("SET HOST h NAME=h,2", ',', "name")},
    {"SET SYSTEM s NAME=" + name_32 + "x", name_too_long},
    // Comments: 128 characters, and the word of the DR group's message
    {R"(ADD VDISK v COMMENT=")" + text_128 + R"(")", ""},
    {R"(ADD VDISK v COMMENT=")" + text_128 + R"(x")", comment_too_long},
    {R"(SET DR_GROUP g COMMENT=")" + text_128 + R"(")", ""},
    {R"(SET DR_GROUP g COMMENT=")" + text_128 + R"(x")", comment_too_long},
    {R"(ADD DR_GROUP g COMMENT="a%b")", bad_char(R"(ADD DR_GROUP g COMMENT="a%b")", '%', "comments")},
    {R"(SET HOST h COMMENT="a/b")", bad_char(R"(SET HOST h COMMENT="a/b")", '/', "comment")},
};

class CommandCheckTest : public ParseTest {};

TEST_F(CommandCheckTest, OptionValuesAreCheckedWhileParsing) {
    for (const CheckCase& c : check_cases) {
        SCOPED_TRACE(c.line);
        int status = parse(c.line);
        EXPECT_EQ(output(), c.message);
        EXPECT_EQ(status, c.message.empty() ? parse_ok : parse_action_failed);
    }
}

// A refused value fails the command in the loop: the dispatch routine never
// runs, so nothing is sent.
TEST_F(CommandCheckTest, ARefusedValueStopsTheCommand) {
    run("ADD VDISK v SIZE=0");
    EXPECT_EQ(output(), min_size);
}

}  // namespace
