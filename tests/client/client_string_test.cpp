#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "SString.h"

namespace {

struct SubCase {
    unsigned from, to;
    const char* expected;
};

TEST(SStringTest, SubStrFromToNeverReachesTheLastCharacter) {
    const SubCase cases[] = {
        {0, 3, ""}, {0, 2, "ab"}, {1, 2, "b"}, {2, 1, ""}, {1, 1, ""}, {0, 99, ""},
    };
    SString abc("abc");
    for (const auto& c : cases) EXPECT_EQ(std::string(abc.SubStrFromTo(c.from, c.to).GetBufferPointer()), c.expected) << c.from << "," << c.to;
    EXPECT_STREQ(abc.SubStrFrom(3).GetBufferPointer(), "");
    EXPECT_STREQ(abc.SubStrFrom(1).GetBufferPointer(), "bc");
    EXPECT_STREQ(abc.SubStrFrom(0).GetBufferPointer(), "abc");
}

struct FindCase {
    const char* text;
    const char* needle;
    int from;  // -2: the form without a start
    int expected;
};

TEST(SStringTest, FindIndexRules) {
    const FindCase cases[] = {
        {"abcabc", "", -2, 0},     {"", "", -2, 0},          {"abcabc", "ca", -2, 2},
        {"abcabc", "abc", 1, 3},   {"abcabc", "abc", 3, 3},  {"abcabc", "abc", 4, -1},
        {"abc", "abcd", -2, -1},   {"abc", "x", -2, -1},     {"abc", "b", 3, -1},
        {"abc", "b", 99, -1},      {"abc", "", 1, 1},        {"", "", 0, -1},
        {"aaab", "aab", -2, 1},    {"abc", "a", -5, 0},
    };
    for (const auto& c : cases) {
        SString s(c.text);
        int got = c.from == -2 ? s.FindIndex(c.needle) : s.FindIndex(c.needle, c.from);
        EXPECT_EQ(got, c.expected) << '"' << c.text << "\" / \"" << c.needle << "\" from " << c.from;
        int via_find = c.from == -2 ? s.Find(c.needle) : s.Find(c.needle, c.from);
        EXPECT_EQ(via_find, got);
    }
    EXPECT_EQ(SString("abc").FindIndex(nullptr), -1);
}

TEST(SStringTest, FindCharacterRules) {
    SString abc("abcb");
    EXPECT_EQ(abc.Find('b'), 1);
    EXPECT_EQ(abc.Find('b', 2), 3);
    EXPECT_EQ(abc.Find('b', 4), -1);
    EXPECT_EQ(abc.Find('c', 5), -1);
    EXPECT_EQ(abc.Find('z'), -1);
    EXPECT_EQ(abc.Find('\0'), -1);  // the terminator is not part of the text
    EXPECT_EQ(abc.Find(SString("cb")), 2);
}

struct ReplaceCase {
    const char* text;
    int start, count;
    const char* insert;
    int code;
    const char* expected;
};

TEST(SStringTest, ReplaceRules) {
    const ReplaceCase cases[] = {
        {"abc", 1, 1, "XY", 0, "aXYc"},  {"abc", 3, 0, "d", -1, "abc"}, {"abc", 0, 3, "", 0, ""},
        {"abc", 0, 0, ">", 0, ">abc"},   {"abc", 2, 1, "", 0, "ab"},    {"abc", -1, 1, "x", -1, "abc"},
        {"abc", 1, 10, "Z", 0, "aZ"},    {"abc", 1, -1, "Z", -1, "abc"}, {"", 0, 0, "x", -1, ""},
    };
    for (const auto& c : cases) {
        SString s(c.text);
        EXPECT_EQ(s.Replace(c.start, c.count, c.insert), c.code) << c.text << " " << c.start;
        EXPECT_STREQ(s.GetBufferPointer(), c.expected);
    }
    SString s("abc");
    EXPECT_EQ(s.Replace(0, 1, nullptr), 1);
    EXPECT_STREQ(s.GetBufferPointer(), "abc");
}

TEST(SStringTest, SpaceRemoversTouchBlanksOnly) {
    struct Case {
        const char* text;
        const char* leading_removed;
        const char* trailing_removed;
    } cases[] = {
        {"   ", "", ""},
        {"  a b ", "a b ", "  a b"},
        {"\ta\t", "\ta\t", "\ta\t"},
        {"", "", ""},
        {"x", "x", "x"},
    };
    for (const auto& c : cases) {
        SString lead(c.text), trail(c.text);
        EXPECT_EQ(lead.RemovePrecedingSpaces(), 0);
        EXPECT_EQ(trail.RemoveTrailingSpaces(), 0);
        EXPECT_STREQ(lead.GetBufferPointer(), c.leading_removed) << '"' << c.text << '"';
        EXPECT_STREQ(trail.GetBufferPointer(), c.trailing_removed) << '"' << c.text << '"';
        EXPECT_EQ(lead.GetBufferSize(), static_cast<int>(std::string(c.leading_removed).size()));
    }
}

TEST(SStringTest, AMissingBufferAnswersEveryQuerySafely) {
    SString gone("abc");
    gone.CleanupBuffer();
    EXPECT_EQ(gone.GetBufferPointer(), nullptr);
    EXPECT_EQ(gone.GetBufferSize(), -1);
    EXPECT_EQ(gone[0], '\0');
    EXPECT_EQ(gone.Find('a'), -1);
    EXPECT_EQ(gone.Find("a"), -1);
    EXPECT_EQ(gone.FindIndex("", 0), -1);
    EXPECT_EQ(gone.RemovePrecedingSpaces(), -1);
    EXPECT_EQ(gone.RemoveTrailingSpaces(), -1);
    EXPECT_EQ(gone.Replace(0, 0, "x"), 1);
    EXPECT_EQ(gone.Concatenate("x"), 1);
    EXPECT_STREQ(gone.SubStrFrom(0).GetBufferPointer(), "");

    SString other;
    other.CleanupBuffer();
    EXPECT_FALSE(gone == other);  // two missing buffers are different under both
    EXPECT_TRUE(gone != other);
    EXPECT_FALSE(gone == "");
    EXPECT_TRUE(gone != "");

    EXPECT_EQ(gone.CopyNewBuffer("back"), 0);
    EXPECT_STREQ(gone.GetBufferPointer(), "back");
    gone.Clear();
    EXPECT_STREQ(gone.GetBufferPointer(), "");
}

TEST(SStringTest, AssignmentAndConcatenationCopeWithTheirOwnText) {
    SString s("hello");
    EXPECT_EQ(s.CopyNewBuffer(nullptr), 1);
    EXPECT_STREQ(s.GetBufferPointer(), "hello");
    const SString& same = s;
    s = same;
    EXPECT_STREQ(s.GetBufferPointer(), "hello");
    s = s.GetBufferPointer() + 2;  // a tail of the string itself
    EXPECT_STREQ(s.GetBufferPointer(), "llo");
    s += s.GetBufferPointer();
    EXPECT_STREQ(s.GetBufferPointer(), "llollo");
    EXPECT_EQ(s.Concatenate(nullptr), 1);

    // Many appends: the text stays exact however the buffer grows.
    SString grown;
    std::string expected;
    for (int i = 0; i < 2000; ++i) {
        std::string piece = std::to_string(i) + ",";
        grown += piece.c_str();
        expected += piece;
    }
    EXPECT_EQ(std::string(grown.GetBufferPointer()), expected);
    EXPECT_EQ(grown.GetBufferSize(), static_cast<int>(expected.size()));
}

TEST(SStringTest, OperatorsCompareAndCopyDeeply) {
    SString a("ab");
    SString b(a);
    EXPECT_TRUE(a == b);
    EXPECT_NE(a.GetBufferPointer(), b.GetBufferPointer());
    b += "c";
    EXPECT_TRUE(a != b);
    EXPECT_STREQ((a + b).GetBufferPointer(), "ababc");
    EXPECT_STREQ((a + "!").GetBufferPointer(), "ab!");
    EXPECT_TRUE(a == "ab");
    EXPECT_FALSE(a == nullptr);
    EXPECT_EQ(a[1], 'b');
    EXPECT_EQ(a[2], '\0');
    EXPECT_EQ(a[static_cast<unsigned>(-1)], '\0');
    SString from_null(nullptr);
    EXPECT_STREQ(from_null.GetBufferPointer(), "");
}

}  // namespace

// A reply is read into reserved room and its buffer handed to the caller,
// who releases it with array delete (the sanitizer build checks the pair).
TEST(SStringTest, ReservedRoomFillsInPlaceAndTheBufferIsHandedOver) {
    SString s("head:");
    ASSERT_EQ(s.Reserve(12), 0);
    const char* before = s.GetBufferPointer();
    size_t room = 0;
    char* into = s.SpareSpace(room);
    ASSERT_EQ(room, 7u);
    std::memcpy(into, "body!!!", 7);
    s.CommitAppend(7);
    EXPECT_EQ(s.GetBufferPointer(), before) << "no copy while the room lasts";
    EXPECT_EQ(std::string(s.GetBufferPointer()), "head:body!!!");
    s.SpareSpace(room);
    EXPECT_EQ(room, 0u);
    s.Truncate(9);
    EXPECT_EQ(std::string(s.GetBufferPointer()), "head:body");
    s.Truncate(50);
    EXPECT_EQ(s.GetBufferSize(), 9);

    char* out = s.Release();
    EXPECT_EQ(out, before);
    EXPECT_EQ(std::string(out), "head:body");
    EXPECT_EQ(s.GetBufferPointer(), nullptr);
    EXPECT_EQ(s.Release(), nullptr);
    delete[] out;
}
