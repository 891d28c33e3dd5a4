// The command language through the real binary: "?" help, HELP, the error
// for commands still to come, and the full-word and abbreviation rules,
// compared byte for byte.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "talo_runner.h"

namespace {

const std::string P = "\nNoSystemSelected> ";

std::string echo(const std::string& line) { return P + line + "\n"; }
std::string spaces(size_t n) { return std::string(n, ' '); }

struct Case {
    std::string name;
    TaloInvocation invocation;
    std::string expected;  // after the banner
    int status;
};

class GrammarE2E : public ::testing::TestWithParam<Case> {};

TEST_P(GrammarE2E, Run) {
    const Case& c = GetParam();
    TaloRun run = run_talo(c.invocation);
    EXPECT_EQ(run.output, talo_banner + c.expected);
    EXPECT_EQ(run.status, c.status);
}

const Case cases[] = {
    {"HelpAtThreeLevels",
     {{"?", "ADD VDISK x ?", "ADD VDISK x REDUNDANCY=?"}},
     echo("?") +
         "\n  The options are:\n    ADD\n    CAPTURE\n    DELETE\n    EMVERSION\n    EXERCISE_DISK\n    EXIT\n"
         "    FILE\n    HELP\n    REDISCOVER\n    RESTART\n    SELECT\n    SET\n    SHOW\n    SHUTDOWN" +
         echo("ADD VDISK x ?") +
         "\n  The options are:\n    COMMENT\n    DISK_GROUP\n    MIRRORED_WRITEBACK\n    NOMIRRORED_WRITEBACK\n"
         "    OS_UNIT_ID\n    PREFERRED_PATH\n    NOPREFERRED_PATH\n    READ_CACHE\n    NOREAD_CACHE\n"
         "    REDUNDANCY\n    SIZE\n    WAIT_FOR_COMPLETION\n    NOWAIT_FOR_COMPLETION\n    WORLD_WIDE_LUN_NAME\n"
         "    WRITE_PROTECT\n    NOWRITE_PROTECT" +
         echo("ADD VDISK x REDUNDANCY=?") + "\n  The options are:\n    VRAID0\n    VRAID1\n    VRAID5",
     0},
    {"HelpTextAndItsSecondExample",
     {{"HELP", "ADD VDISK Ramsot REDUNDANCY=?"}},
     echo("HELP") + talo_help_text +
         echo("ADD VDISK Ramsot REDUNDANCY=?") + "\n  The options are:\n    VRAID0\n    VRAID1\n    VRAID5",
     0},
    {"FullWordsAndAmbiguity",
     {{"DEB", "SHOW TIM", "ADD S x", "DEBUG DEBUG"}},
     echo("DEB") + spaces(18) + "^\nError: Syntax error at or near here" + echo("SHOW TIM") + spaces(23) +
         "^\nError: Syntax error at or near here" + echo("ADD S x") + spaces(22) +
         "^\nError: Ambiguous keyword at or before here" + echo("DEBUG DEBUG") +
         "\nDEBUG: DEBUG DEBUG always successful",
     0},
    {"CommandStillToComeFailsTheRun",
     {{"SET OPTIONS ON_ERROR=EXIT_ON_ERROR", "EMVERSION", "HELP ?"}},
     echo("SET OPTIONS ON_ERROR=EXIT_ON_ERROR") + echo("EMVERSION") +
         "\nError: EMVERSION is not available in this version of TALO",
     1},
    {"IncompleteCommands",
     {{"SELECT MANAGER", "CAPTURE VALIDATE", "SET OPTIONS"}},
     echo("SELECT MANAGER") + "\nError: Incomplete command" + echo("CAPTURE VALIDATE") +
         "\nError: Incomplete command" + echo("SET OPTIONS") + "\nError: Incomplete command",
     0},
    {"CommandFileOfGrammarLines",
     {{"SET OPTIONS NOCOMMAND_DELAY", "FILE grammar.talo"},
      "",
      {{"grammar.talo", "select manager m ?\nDEBUG DUMP NODUMP DEBUG\nemv\n"}}},
     echo("SET OPTIONS NOCOMMAND_DELAY") + echo("FILE grammar.talo") + echo("select manager m ?") +
         "\n  The options are:\n    PASSWORD\n    USERNAME" + echo("DEBUG DUMP NODUMP DEBUG") +
         "\nDEBUG: DEBUG DEBUG always successful" + echo("emv") +
         "\nError: EMVERSION is not available in this version of TALO",
     0},
};

INSTANTIATE_TEST_SUITE_P(Cases, GrammarE2E, ::testing::ValuesIn(cases),
                         [](const auto& info) { return info.param.name; });

TEST(GrammarE2ETime, ShowTimePrintsTheLocalTimeInCtimeForm) {
    TaloRun run = run_talo({{"SHOW TIME"}, "", {}, {{"TZ", "UTC"}}});
    std::string prefix = talo_banner + echo("SHOW TIME") + "\n";
    ASSERT_EQ(run.output.substr(0, prefix.size()), prefix);
    EXPECT_TRUE(std::regex_match(run.output.substr(prefix.size()),
                                 std::regex("[A-Z][a-z]{2} [A-Z][a-z]{2} [ 1-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-6][0-9] [0-9]{4}")))
        << run.output;
    EXPECT_EQ(run.status, 0);
}

}  // namespace
