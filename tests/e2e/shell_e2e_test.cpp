// The shell through the real binary: command sources, echo, errors, carets,
// command files and the exit status, compared byte for byte.
#include <gtest/gtest.h>

#include <string>

#include "talo_runner.h"

namespace {

const std::string P = "\nNoSystemSelected> ";  // prompt and echo prefix
const std::string& help_text = talo_help_text;
const std::string end_of_input = "\nError: Input stream error:\n       Success";
const std::string file_help = "\n  The only option is:\n    Filename of Corvne commands";
const std::string no_more = "\n  This command has no additional keywords or parameters";

// Command files pause between lines unless told not to.
const std::string nodelay = "SET OPTIONS NOCOMMAND_DELAY";
const std::string nodelay_echo = "\nNoSystemSelected> SET OPTIONS NOCOMMAND_DELAY\n";

struct Case {
    std::string name;
    TaloInvocation invocation;
    std::string expected;  // after the banner
    int status;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class ShellE2E : public ::testing::TestWithParam<Case> {};

TEST_P(ShellE2E, Run) {
    const Case& c = GetParam();
    TaloRun run = run_talo(c.invocation);
    EXPECT_EQ(run.output, talo_banner + c.expected);
    EXPECT_EQ(run.status, c.status);
}

std::string spaces(size_t n) { return std::string(n, ' '); }

const Case cases[] = {
    {"KeyboardPromptRunsLines", {{}, "help\nfile ?\nEXIT\nHELP\n"},
     P + help_text + P + file_help + P, 0},
    {"KeyboardEndOfInput", {{}, "HELP ?\n"}, P + no_more + P + end_of_input, 0},
    {"KeyboardBlankAndCommentLines", {{}, "\n   \n! FILE nowhere\n  !x\nEXIT\n"}, P + P + P + P + P, 0},
    {"KeyboardCaretsUnderTheError", {{}, "HELP now\nFILE\nEXIT\ttab\n"},
     P + spaces(23) + "^\nError: Syntax error at or near here" + P + "\nError: Incomplete command" + P +
         spaces(18) + "^\nError: Syntax error at or near here" + P + end_of_input,
     0},
    {"KeyboardLongestLines",
     {{}, "HELP ?" + spaces(2041) + "\nHELP ?" + spaces(2040) + "\nEXIT\n"},
     P + "\nError: Input line too long, limit 2048 characters" + P + no_more + P, 0},
    {"InvocationEchoesEachArgument", {{"HELP ?", "exit ?"}},
     "\nNoSystemSelected> HELP ?\n" + no_more + "\nNoSystemSelected> exit ?\n" + no_more, 0},
    {"InvocationStopsAtExit", {{"EXIT", "HELP"}}, "\nNoSystemSelected> EXIT\n", 0},
    {"InvocationFailureUnderContinueGoesOn", {{"BOGUS", "EXIT ?"}},
     "\nNoSystemSelected> BOGUS\n" + spaces(18) + "^\nError: Syntax error at or near here" +
         "\nNoSystemSelected> EXIT ?\n" + no_more,
     0},
    {"InvocationArgumentsAreNeverJoined", {{"FILE", "HELP ?"}},
     "\nNoSystemSelected> FILE\n" + std::string("\nError: Incomplete command") + "\nNoSystemSelected> HELP ?\n" +
         no_more,
     0},
    {"NestedFilesAndExitEndingOneFile",
     {{nodelay, "FILE outer.talo", "HELP ?"},
      "",
      {{"outer.talo", "HELP ?\nFILE inner.talo\n! comment\n\nEXIT\nHELP\n"}, {"inner.talo", "EXIT\nHELP\n"}}},
     nodelay_echo + "\nNoSystemSelected> FILE outer.talo\n" + P + "HELP ?\n" + no_more + P + "FILE inner.talo\n" + P +
         "EXIT\n" + P + "! comment\n" + P + "\n" + P + "EXIT\n" + "\nNoSystemSelected> HELP ?\n" + no_more,
     0},
    {"FileLineTooLongIsRefused",
     {{nodelay, "FILE long.talo"}, "", {{"long.talo", "EXIT" + spaces(2043) + "\nHELP ?\n"}}},
     nodelay_echo + "\nNoSystemSelected> FILE long.talo\n" + std::string("\nError: Input line too long, limit 2048 characters") +
         P + "HELP ?\n" + no_more,
     0},
    {"FileWithoutFinalNewline", {{nodelay, "FILE last.talo"}, "", {{"last.talo", "HELP ?"}}},
     nodelay_echo + "\nNoSystemSelected> FILE last.talo\n" + P + "HELP ?\n" + no_more, 0},
    {"FileThatCannotBeOpened", {{"FILE \"no such file\"", "HELP ?"}},
     "\nNoSystemSelected> FILE \"no such file\"\n" +
         std::string("\nError: Open of no such file failed, No such file or directory") +
         "\nNoSystemSelected> HELP ?\n" + no_more,
     0},
};

INSTANTIATE_TEST_SUITE_P(Cases, ShellE2E, ::testing::ValuesIn(cases),
                         [](const auto& info) { return info.param.name; });

TEST(ShellE2EFiles, SelfIncludingFileStopsAtTheNestingLimit) {
    TaloRun run = run_talo({{nodelay, "FILE self.talo"}, "", {{"self.talo", "FILE self.talo\n"}}});
    EXPECT_NE(run.output.find("\nError: Command files nested too deeply, limit 32 levels"), std::string::npos);
    EXPECT_EQ(run.status, 0);
}

}  // namespace
