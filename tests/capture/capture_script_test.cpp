// The checksum and the validator of capture scripts, on scripts held in memory.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "corvane_capture_script.h"
#include "corvane_state.h"

namespace {

constexpr char start_line[] = "! TALO CAPTURE script checksum start\n";

// A sealed script: line 1, the covered text, the end line.
std::string sealed(const std::string& covered, const std::string& before = "! \n") {
    char end[64];
    std::snprintf(end, sizeof end, "! TALO CAPTURE script checksum end: %x\n",
                  ss_edc_fold(ss_edc_seed, covered.data(), covered.size()));
    return before + covered + end;
}

struct Validation {
    int status;
    std::string output;
};

Validation validate(const std::string& script) {
    char* text = nullptr;
    size_t size = 0;
    FILE* out = open_memstream(&text, &size);
    FILE* saved = OutFile;
    OutFile = out;
    FILE* in = fmemopen(const_cast<char*>(script.data()), script.size(), "r");
    int status = in ? ss_validate_stream(in) : -1;
    if (in) std::fclose(in);
    OutFile = saved;
    std::fclose(out);
    Validation v{status, text ? text : ""};
    std::free(text);
    return v;
}

TEST(CaptureChecksum, FoldsXorThenRotatesLeft) {
    EXPECT_EQ(ss_edc_fold(ss_edc_seed, "a", 1), 0x48u);
    EXPECT_EQ(ss_edc_fold(ss_edc_seed, "ab", 2), 0x54u);
    // The top bit comes round to bit 0; bytes count as unsigned.
    EXPECT_EQ(ss_edc_fold(0x80000000u, "\0", 1), 1u);
    EXPECT_EQ(ss_edc_fold(0, "\xff", 1), 0x1feu);
}

constexpr char unmodified[] = "\nUnmodified CAPTURE script between checksum start and end";
constexpr char modified[] = "\nError: CAPTURE script has been modified";
constexpr char not_capture[] = "\nError: Not a CAPTURE generated script";

struct ValidateCase {
    const char* name;
    std::string script;
    int status;
    const char* output;
};

std::string body() { return std::string(start_line) + "! \nSET OPTIONS ON_ERROR=HALT_ON_ERROR\nADD HOST \"h\"\n! \n"; }

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    return text.replace(text.find(from), from.size(), to);
}

std::string upper_tail(std::string text, size_t from) {
    for (size_t i = from; i < text.size(); ++i) text[i] = static_cast<char>(std::toupper(text[i]));
    return text;
}

TEST(CaptureValidate, Outcomes) {
    const std::string good = sealed(body());
    const std::string long_line = std::string(start_line) + "! " + std::string(5000, 'x') + "\n";
    const ValidateCase cases[] = {
        {"fresh", good, 0, unmodified},
        {"line 1 changed", replaced(good, "! \n", "! anything\n"), 0, unmodified},
        {"lines before the marker", "junk\n\nmore junk\n" + good, 0, unmodified},
        {"a command byte changed", replaced(good, "\"h\"", "\"i\""), 1, modified},
        {"a comment byte changed", replaced(good, "! \nSET", "!x\nSET"), 1, modified},
        {"a line added", replaced(good, "ADD HOST", "ADD HOST \"g\"\nADD HOST"), 1, modified},
        {"a line removed", replaced(good, "SET OPTIONS ON_ERROR=HALT_ON_ERROR\n", ""), 1, modified},
        {"a byte turned NUL", replaced(good, "\"h\"", std::string("\"\0\"", 3)), 1, modified},
        {"a leading zero on the checksum", replaced(good, "end: ", "end: 0"), 0, unmodified},
        {"checksum in capitals", upper_tail(good, good.rfind(": ")), 0, unmodified},
        {"wrong checksum", replaced(good, "end: ", "end: 1"), 1, modified},
        {"checksum beyond 64 bits", replaced(good, "end: ", "end: 1000000000000000"), 1, modified},
        {"end line removed", good.substr(0, good.rfind("! TALO")), 1, modified},
        {"end line without a number", body() + "! TALO CAPTURE script checksum end: \n", 1, modified},
        {"no start marker", "! \nSET OPTIONS ON_ERROR=HALT_ON_ERROR\n", 1, not_capture},
        {"empty file", "", 1, not_capture},
        {"marker needs its two first characters", "TALO CAPTURE script checksum start\n", 1, not_capture},
        {"a line longer than any buffer", sealed(long_line), 0, unmodified},
        {"no final newline on the end line", good.substr(0, good.size() - 1), 0, unmodified},
    };
    for (const ValidateCase& c : cases) {
        Validation v = validate(c.script);
        EXPECT_EQ(v.status, c.status) << c.name;
        EXPECT_EQ(v.output, c.output) << c.name;
    }
}

}  // namespace
