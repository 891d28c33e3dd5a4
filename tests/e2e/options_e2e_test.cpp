// SET OPTIONS and SHOW OPTIONS through the real binary, and the on-error
// policies deciding the exit status and the pause at the end.
#include <gtest/gtest.h>

#include <string>

#include "talo_runner.h"

namespace {

std::string echo(const std::string& command) { return "\nNoSystemSelected> " + command + "\n"; }

std::string options(const std::string& delay, const std::string& width, const std::string& policy,
                    const std::string& retries, const std::string& safe) {
    return "\nOptions:\n    " + delay + "\n    DISPLAY_WIDTH = " + width + "\n    ON_ERROR = " + policy + "\n    " +
           retries + "\n    " + safe;
}
const std::string defaults = options("COMMAND_DELAY = 10 (seconds)", "80", "CONTINUE", "RETRIES = 4 (minutes)", "SAFE_DELETE");
const std::string syntax_error = std::string(18, ' ') + "^\nError: Syntax error at or near here";
const std::string pause = "\n\nPress return to exit";

struct Case {
    std::string name;
    std::vector<std::string> commands;
    std::string expected;  // after the banner, without the echo of each command
    int status;
    std::string input = {};
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class OptionsE2E : public ::testing::TestWithParam<Case> {};

TEST_P(OptionsE2E, Run) {
    const Case& c = GetParam();
    TaloRun run = run_talo({c.commands, c.input});
    EXPECT_EQ(run.output, talo_banner + c.expected);
    EXPECT_EQ(run.status, c.status);
}

const Case cases[] = {
    {"Defaults", {"SHOW OPTIONS"}, echo("SHOW OPTIONS") + defaults, 0},
    {"OutOfRangeChangesNothing",
     {"SET OPTIONS DISPLAY_WIDTH=69", "SET OPTIONS NOSAFE_DELETE DISPLAY_WIDTH=501",
      "SET OPTIONS NORETRIES RETRIES=0", "SET OPTIONS RETRIES=11", "SET OPTIONS COMMAND_DELAY=301", "SHOW OPTIONS"},
     echo("SET OPTIONS DISPLAY_WIDTH=69") + "\nError: DISPLAY_WIDTH must be 70 to 500" +
         echo("SET OPTIONS NOSAFE_DELETE DISPLAY_WIDTH=501") + "\nError: DISPLAY_WIDTH must be 70 to 500" +
         echo("SET OPTIONS NORETRIES RETRIES=0") + "\nError: RETRIES must be 1 to 10" +
         echo("SET OPTIONS RETRIES=11") + "\nError: RETRIES must be 1 to 10" +
         echo("SET OPTIONS COMMAND_DELAY=301") + "\nError: COMMAND_DELAY must be 0 to 300" + echo("SHOW OPTIONS") +
         defaults,
     0},
    {"BoundsAndNoForms",
     {"SET OPTIONS DISPLAY_WIDTH=70 COMMAND_DELAY=0 NORETRIES NOSAFE_DELETE", "SHOW OPTIONS",
      "set opt display_width=500 retries=10 command_delay=300 safe_delete on_error=exit_on_error", "SHOW OPTIONS"},
     echo("SET OPTIONS DISPLAY_WIDTH=70 COMMAND_DELAY=0 NORETRIES NOSAFE_DELETE") + echo("SHOW OPTIONS") +
         options("NOCOMMAND_DELAY", "70", "CONTINUE", "NORETRIES", "NOSAFE_DELETE") +
         echo("set opt display_width=500 retries=10 command_delay=300 safe_delete on_error=exit_on_error") +
         echo("SHOW OPTIONS") +
         options("COMMAND_DELAY = 300 (seconds)", "500", "EXIT_ON_ERROR", "RETRIES = 10 (minutes)", "SAFE_DELETE"),
     0},
    {"SetOptionsAloneIsIncomplete", {"SET OPTIONS"}, echo("SET OPTIONS") + "\nError: Incomplete command", 0},
    {"HaltOnErrorStopsAndPauses",
     {"SET OPTIONS ON_ERROR=HALT_ON_ERROR", "SHOW OPTIONS", "BOGUS", "SHOW OPTIONS"},
     echo("SET OPTIONS ON_ERROR=HALT_ON_ERROR") + echo("SHOW OPTIONS") +
         options("COMMAND_DELAY = 10 (seconds)", "80", "HALT_ON_ERROR", "RETRIES = 4 (minutes)", "SAFE_DELETE") +
         echo("BOGUS") + syntax_error + pause,
     1},
    {"ExitOnErrorStopsWithoutPause",
     {"SET OPTIONS ON_ERROR=EXIT_ON_ERROR", "SET OPTIONS RETRIES=0", "SHOW OPTIONS"},
     echo("SET OPTIONS ON_ERROR=EXIT_ON_ERROR") + echo("SET OPTIONS RETRIES=0") + "\nError: RETRIES must be 1 to 10",
     1},
    {"ContinueAfterHaltGoesOn",
     {"SET OPTIONS ON_ERROR=HALT_ON_ERROR", "SET OPTIONS ON_ERROR=CONTINUE", "BOGUS", "SET OPTIONS"},
     echo("SET OPTIONS ON_ERROR=HALT_ON_ERROR") + echo("SET OPTIONS ON_ERROR=CONTINUE") + echo("BOGUS") +
         syntax_error + echo("SET OPTIONS") + "\nError: Incomplete command",
     0},
};

INSTANTIATE_TEST_SUITE_P(Cases, OptionsE2E, ::testing::ValuesIn(cases),
                         [](const auto& info) { return info.param.name; });

TEST(OptionsE2EFiles, HaltInACommandFileStopsEveryLoop) {
    TaloRun run = run_talo({{"FILE outer.talo", "SHOW OPTIONS"},
                            "\n",
                            {{"outer.talo", "SET OPTIONS NOCOMMAND_DELAY ON_ERROR=HALT\nFILE inner.talo\nSHOW OPTIONS\n"},
                             {"inner.talo", "FILE\nSHOW OPTIONS\n"}}});
    EXPECT_EQ(run.output, talo_banner + echo("FILE outer.talo") + echo("SET OPTIONS NOCOMMAND_DELAY ON_ERROR=HALT") +
                              echo("FILE inner.talo") + echo("FILE") + "\nError: Incomplete command" + pause);
    EXPECT_EQ(run.status, 1);
}

TEST(OptionsE2EKeyboard, HaltAtThePromptWaitsForReturn) {
    TaloRun run = run_talo({{}, "SET OPTIONS ON_ERROR=HALT_ON_ERROR\nBOGUS\nSHOW OPTIONS\n"});
    const std::string P = "\nNoSystemSelected> ";
    EXPECT_EQ(run.output, talo_banner + P + P + syntax_error + pause);
    EXPECT_EQ(run.status, 1);
}

}  // namespace
