// The diagnostic commands: the DEBUG words that act while the line is
// parsed, and EMVERSION, REDISCOVER and EXERCISE_DISK against the fake's
// ready-made requests (what each passes to the library, what it prints, and
// whether the command fails).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "corvane_memory.h"
#include "corvane_object.h"
#include "fake_manager.h"
#include "parse_fixture.h"

namespace {

const std::string build_banner =
    "\n\nTALO Build 7 for veltra quillon dorn 3.2 on Jul 14 2004 at 18:05:28\nDR support enabled\n";
const std::string no_manager = "\nError: Command not valid until a manager is selected (SELECT MANAGER)";
const std::string no_system = "\nError: Command not valid until a system is selected (SELECT SYSTEM)";

class DiagTest : public ParseTest {
protected:
    void SetUp() override {
        ParseTest::SetUp();
        pb->state->session_flags |= stop_on_error;
    }
    void select_manager(const char* name = "array.example:2372") {
        session_state* s = pb->state;
        s->manager_name = ss_copy_string(name);
        s->user_name = ss_copy_string("admin");
        s->user_password = ss_copy_string("secret");
    }
    void select_system() {
        select_manager();
        pb->state->cell_name = ss_copy_string("Cheetah");
        pb->state->cell_id = ss_copy_string("C1");
    }
    // Runs the line; true when it failed (the policy stop_on_error marks it).
    bool fails(const std::string& line) {
        pb->state->session_flags &= ~stopped_on_error;
        run(line);
        return (pb->state->session_flags & stopped_on_error) != 0;
    }
    FakeManager server;
};

TEST_F(DiagTest, DebugInformationPrintsBuildAndLibraryVersion) {
    EXPECT_FALSE(fails("DEBUG INFORMATION"));
    EXPECT_EQ(output(), build_banner + "EMClientAPITNG Version 9.9.1, Build date: Jan  1 2030\n");
    server.version_information_code = 300;
    EXPECT_FALSE(fails("DEBUG INFORMATION"));
    EXPECT_EQ(output(), build_banner + "EMClientAPI version unknown\n");
}

TEST_F(DiagTest, DebugDumpInformationOnOneLine) {
    EXPECT_FALSE(fails("DEBUG DUMP INFORMATION"));
    EXPECT_TRUE(pb->state->session_flags & debug_dump);
    // The build information comes while parsing; the null dispatch adds nothing.
    EXPECT_EQ(output(), build_banner + "EMClientAPITNG Version 9.9.1, Build date: Jan  1 2030\n");
    EXPECT_TRUE(server.requests.empty());
    EXPECT_TRUE(server.diag_calls.empty());
}

TEST_F(DiagTest, FennFlagsSetTheClientDebugLevel) {
    struct Case {
        const char* line;
        const char* stored;
        std::vector<int> levels;
    };
    for (const Case& c : std::vector<Case>{{"DEBUG FENN_FLAGS=111", "111", {2}},
                                           {"DEBUG FENN_FLAGS=1", "1", {1}},
                                           {"DEBUG FENN_FLAGS=1111", "1111", {1}}}) {
        server.debug_levels.clear();
        EXPECT_FALSE(fails(c.line)) << c.line;
        EXPECT_STREQ(pb->state->fenn_flags, c.stored) << c.line;
        EXPECT_EQ(server.debug_levels, c.levels) << c.line;
        EXPECT_EQ(output(), "") << c.line;
    }
}

TEST_F(DiagTest, ServerCommandsNeedTheirSelection) {
    const std::vector<std::string> manager_commands = {"EMVERSION", "REDISCOVER"};
    const std::vector<std::string> system_commands = {"EXERCISE_DISK START ALL", "EXERCISE_DISK START d1",
                                                      "EXERCISE_DISK START d1,,d2", "EXERCISE_DISK STOP",
                                                      "EXERCISE_DISK SUMMARY"};
    for (const auto& line : manager_commands) {
        EXPECT_TRUE(fails(line)) << line;
        EXPECT_EQ(output(), no_manager) << line;
    }
    for (const auto& line : system_commands) {
        EXPECT_TRUE(fails(line)) << line;
        EXPECT_EQ(output(), no_manager) << line;
    }
    select_manager();
    for (const auto& line : system_commands) {
        EXPECT_TRUE(fails(line)) << line;
        EXPECT_EQ(output(), no_system) << line;
    }
    EXPECT_TRUE(server.diag_calls.empty());
}

TEST_F(DiagTest, EmversionAsksTheHostAndShowsTheFullName) {
    select_manager("array.example:2372");
    server.diag({0, {}, "6.1", "6100"});
    EXPECT_FALSE(fails("EMVERSION"));
    EXPECT_EQ(output(), "\nElement manager information (at array.example:2372)\n  Version: 6.1\n  Build: 6100");
    ASSERT_EQ(server.diag_calls.size(), 1u);
    const FakeDiagCall& call = server.diag_calls[0];
    EXPECT_EQ(call.operation, "version");
    EXPECT_EQ(call.server, "array.example");  // no port
    EXPECT_EQ(call.user, "admin");
    EXPECT_EQ(call.password, "secret");

    server.diag({104});
    EXPECT_TRUE(fails("EMVERSION"));
    EXPECT_EQ(output(), "\nError: client code 104\n");
}

TEST_F(DiagTest, RediscoverIsSilentOnSuccessAndFailsOnACode) {
    select_manager("10.0.0.5:12301");
    server.diag({0});
    EXPECT_FALSE(fails("REDISCOVER"));
    EXPECT_EQ(output(), "");
    server.diag({200});
    EXPECT_TRUE(fails("REDISCOVER"));
    EXPECT_EQ(output(), "\nError: client code 200\n");
    ASSERT_EQ(server.diag_calls.size(), 2u);
    EXPECT_EQ(server.diag_calls[0].operation, "rediscover");
    EXPECT_EQ(server.diag_calls[0].server, "10.0.0.5");
}

struct ExerciserCase {
    const char* name;
    const char* line;
    FakeDiagAnswer answer;
    const char* operation;
    const char* disks;  // as passed to the library
    std::string output;
    bool fails;
};
void PrintTo(const ExerciserCase& c, std::ostream* os) { *os << c.name; }

class ExerciserTest : public DiagTest, public ::testing::WithParamInterface<ExerciserCase> {};

TEST_P(ExerciserTest, CallsTheLibraryAndReportsTheOutcome) {
    const ExerciserCase& c = GetParam();
    select_system();
    server.diag(c.answer);
    EXPECT_EQ(fails(c.line), c.fails);
    EXPECT_EQ(output(), c.output);
    ASSERT_EQ(server.diag_calls.size(), 1u);
    const FakeDiagCall& call = server.diag_calls[0];
    EXPECT_EQ(call.operation, c.operation);
    EXPECT_EQ(call.server, "array.example");
    EXPECT_EQ(call.user, "admin");
    EXPECT_EQ(call.password, "secret");
    EXPECT_EQ(call.cell, "C1");
    EXPECT_EQ(call.disks, c.disks);
}

const std::string no_summary = "Error: No disk exercise summary (unknown error).";

INSTANTIATE_TEST_SUITE_P(
    Exerciser, ExerciserTest,
    ::testing::Values(
        ExerciserCase{"start_all", "EXERCISE_DISK START ALL", {0}, "start", "", "", false},
        ExerciserCase{"start_list_whole", "EXERCISE_DISK START \\Disk1,\\Disk2", {0}, "start", "\\Disk1,\\Disk2",
                      "", false},
        ExerciserCase{"start_quoted_list_with_blanks", "EXERCISE_DISK START \"Disk 1, Disk 2\"", {0}, "start",
                      "Disk 1, Disk 2", "", false},
        ExerciserCase{"start_trailing_comma_names_nothing_more", "EXERCISE_DISK START \"d1, \"", {0}, "start",
                      "d1, ", "", false},
        // A message is printed whenever one comes back; an empty one is no refusal.
        ExerciserCase{"start_empty_message", "EXERCISE_DISK START ALL", {0, ""}, "start", "", "\nError: ", false},
        ExerciserCase{"start_refused", "EXERCISE_DISK START ALL", {0, "Disk D9 does not exist "}, "start", "",
                      "\nError: Disk D9 does not exist ", true},
        ExerciserCase{"start_unknown_disk", "EXERCISE_DISK START nope", {500}, "start", "nope",
                      "\nError: client code 500\n", true},
        ExerciserCase{"start_message_and_code", "EXERCISE_DISK START ALL", {111, "busy"}, "start", "",
                      "\nError: busy\nError: client code 111\n", true},
        ExerciserCase{"stop", "EXERCISE_DISK STOP", {0}, "stop", "", "", false},
        ExerciserCase{"stop_refused", "EXERCISE_DISK STOP", {0, "Not running "}, "stop", "",
                      "\nError: Not running ", true},
        ExerciserCase{"stop_fails", "EXERCISE_DISK STOP", {105}, "stop", "", "\nError: client code 105\n", true},
        ExerciserCase{"summary", "EXERCISE_DISK SUMMARY", {0, "Disks under test: 2; errors found: 0"}, "summary",
                      "", "\nDisks under test: 2; errors found: 0", false},
        ExerciserCase{"summary_exchange_fails", "EXERCISE_DISK SUMMARY", {111, no_summary}, "summary", "",
                      "\n" + no_summary + "\nError: client code 111\n", true},
        // The reply went through but held no summary.
        ExerciserCase{"summary_missing", "EXERCISE_DISK SUMMARY", {0, no_summary}, "summary", "",
                      "\n" + no_summary, true},
        ExerciserCase{"summary_refused", "EXERCISE_DISK SUMMARY", {0, "Disk exerciser never ran ", "5.0", "5000", true},
                      "summary", "", "\nError: Disk exerciser never ran ", true},
        ExerciserCase{"summary_not_returned", "EXERCISE_DISK SUMMARY", {200}, "summary", "",
                      "\nError: client code 200\n", true}),
    [](const ::testing::TestParamInfo<ExerciserCase>& info) { return std::string(info.param.name); });

TEST_F(DiagTest, EmptyDiskNamesAreRefusedBeforeTheLibrary) {
    select_system();
    for (const char* line : {"EXERCISE_DISK START a,,b", "EXERCISE_DISK START \"a, ,b\"", "EXERCISE_DISK START ,a",
                             "EXERCISE_DISK START \"  ,a\"", "EXERCISE_DISK START \"a,b,,\"",
                             "EXERCISE_DISK START \",\""}) {
        EXPECT_TRUE(fails(line)) << line;
        EXPECT_EQ(output(), "\nError: Empty disk name in the list") << line;
    }
    EXPECT_TRUE(server.diag_calls.empty());
}

std::string hex_address(const void* p) {
    char text[9];
    std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(reinterpret_cast<uintptr_t>(p)));
    return text;
}

TEST_F(DiagTest, DumpObjectPrintsTheEntry) {
    _object_info second{nullptr, 3, const_cast<char*>("Disk 7"), const_cast<char*>("D7")};
    _object_info first{&second, 12, const_cast<char*>(""), const_cast<char*>("X1")};
    ss_dump_object(&first);
    EXPECT_EQ(output(), "\n\n     " + hex_address(&first) + "  " + hex_address(&second) + "  12\n><\n>X1<");
    ss_dump_object(&second);
    EXPECT_EQ(output(), "\n\n     " + hex_address(&second) + "  00000000   3\n>Disk 7<\n>D7<");
}

}  // namespace
