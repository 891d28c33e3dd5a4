// The line comparison of regression replays, and reading references in
// pieces that know where their lines begin.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "corvane_regression_compare.h"

namespace {

TEST(RegressionDifference, Table) {
    struct {
        const char* name;
        std::string expected, actual;
        bool differ;
    } cases[] = {
        {"identical", "  Cheetah\n", "  Cheetah\n", false},
        {"trailing carriage return ignored", "  Cheetah\r\n", "  Cheetah\n", false},
        {"any trailing control character ignored", "  Cheetah\x01\t", "  Cheetah", false},
        {"8-bit bytes at the end count as control characters", "  Cheetah\xe9", "  Cheetah", false},
        {"trailing spaces are not", "  Cheetah \n", "  Cheetah\n", true},
        {"leading spaces are not", " Cheetah", "  Cheetah", true},
        {"other text", "  Cheetah", "  Puma", true},
        {"marker ends the comparison", "    ID : ##IGNORE##", "    ID : 6005-0000", false},
        {"marker needs the prefix", "    ID : ##IGNORE##", "    Id : 6005-0000", true},
        {"actual as long as the prefix", "Created ##IGNORE##", "Created ", false},
        {"actual shorter than the prefix", "Created ##IGNORE##", "Created", true},
        {"text after the marker is irrelevant", "a ##IGNORE## b", "a c", false},
        {"marker at the start matches anything", "##IGNORE##", "", false},
        {"a marker in the actual line means nothing", "ID : 1", "ID : ##IGNORE##", true},
        {"empty lines", "\n", "\r\n", false},
        {"a NUL is a byte like any other", std::string("a\0b", 3), std::string("a\0c", 3), true},
    };
    for (const auto& c : cases) EXPECT_EQ(ss_regression_difference(c.expected, c.actual), c.differ) << c.name;
}

TEST(RegressionPieces, LongLinesComeInPiecesAndOnlyLineStartsAreCommands) {
    std::string text = "> SHOW SYSTEM\n" + std::string(2048, 'x') + "> not a command\n> EXIT";
    FILE* stream = fmemopen(text.data(), text.size(), "r");
    ASSERT_NE(stream, nullptr);
    ss_line_pieces reader(stream);
    std::vector<std::pair<std::string, bool>> pieces;
    for (std::string piece; reader.next(piece);) pieces.emplace_back(piece, ss_regression_command_line(reader, piece));
    std::fclose(stream);
    ASSERT_EQ(pieces.size(), 4u);
    EXPECT_EQ(pieces[0], std::make_pair(std::string("> SHOW SYSTEM\n"), true));
    EXPECT_EQ(pieces[1], std::make_pair(std::string(2048, 'x'), false));
    EXPECT_EQ(pieces[2], std::make_pair(std::string("> not a command\n"), false));
    EXPECT_EQ(pieces[3], std::make_pair(std::string("> EXIT"), true));
}

}  // namespace
