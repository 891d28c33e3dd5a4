// Completion against the parser itself: what is offered at a position must
// be exactly the words the parser accepts there and "?" lists, and a name
// offered must parse back to the same name.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "corvane_complete.h"
#include "corvane_kinds.h"
#include "corvane_object.h"
#include "grammar_fixture.h"

namespace {

// Every keyword of the tree, gathered from the tables.
void gather(const _kw_desc* table, std::set<const _kw_desc*>& seen, std::set<std::string>& words) {
    if (!table || !seen.insert(table).second) return;
    for (const _kw_desc* e = table;; ++e) {
        if (!(e->flags & kw_free_text)) words.insert(e->text);
        gather(e->next, seen, words);
        if (e->flags & kw_last) break;
    }
}

std::set<std::string> every_keyword() {
    std::set<const _kw_desc*> seen;
    std::set<std::string> words;
    gather(Corvane_kwt, seen, words);
    return words;
}

bool starts_with_nocase(const std::string& word, const std::string& prefix) {
    if (prefix.size() > word.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(word[i])) != std::toupper(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

class CompleteTest : public GrammarTest {
protected:
    ss_completion complete(const std::string& line) { return ss_complete_line(Corvane_kwt, pb, line, line.size()); }

    // The parser takes `line` as the start of a command: "?" after it is help.
    bool parser_accepts(const std::string& line) {
        int status = parse(line + " ?");
        output();
        return status == parse_help_shown;
    }

    // What "?" lists at the end of `line`.
    std::vector<std::string> listed(const std::string& line) {
        parse(line + "?");
        std::string text = output();
        std::vector<std::string> words;
        for (size_t at = text.find("\n    "); at != std::string::npos; at = text.find("\n    ", at + 1)) {
            size_t from = at + 5;
            size_t to = text.find('\n', from);
            words.push_back(text.substr(from, to == std::string::npos ? std::string::npos : to - from));
        }
        return words;
    }
};

TEST_F(CompleteTest, OffersExactlyTheVisibleKeywordsTheParserAccepts) {
    const std::set<std::string> universe = every_keyword();
    for (const std::string line : {"", "SH", "sh", "SHOW ", "SHOW V", "SET OPTIONS ", "SET OPTIONS D", "ADD VDISK x ",
                                   "ADD VDISK x SIZE=10 ", "ADD ", "DELETE VDISK v ", "SELECT MANAGER m ", "DEBUG ",
                                   "SHOW VDISK ", "EXIT ", "sho v", "sh v", "set opt d"}) {
        size_t cut = line.find_last_of(' ');
        std::string before = cut == std::string::npos ? "" : line.substr(0, cut + 1);
        std::string partial = line.substr(before.size());

        ss_completion got = complete(line);
        EXPECT_EQ(got.word_start, before.size()) << line;
        std::vector<std::string> offered;
        for (std::string w : got.choices) {
            if (!w.empty() && w.back() == '=') w.pop_back();
            offered.push_back(w);
            EXPECT_TRUE(parser_accepts(before + w)) << "offered but refused: " << before + w;
        }
        std::vector<std::string> shown = listed(before);
        std::set<std::string> expected;
        for (const std::string& w : universe)
            if (starts_with_nocase(w, partial) && std::count(shown.begin(), shown.end(), w) &&
                parser_accepts(before + w))
                expected.insert(w);
        EXPECT_EQ(std::set<std::string>(offered.begin(), offered.end()), expected) << line;
        // In table order, each once.
        EXPECT_EQ(std::set<std::string>(offered.begin(), offered.end()).size(), offered.size()) << line;
    }
}

TEST_F(CompleteTest, AKeywordTakingAValueEndsWithEquals) {
    std::vector<std::string> choices = complete("SET OPTIONS DISPLAY_W").choices;
    EXPECT_EQ(choices, std::vector<std::string>{"DISPLAY_WIDTH="});
    EXPECT_EQ(complete("SET OPTIONS DISPLAY_WIDTH ").choices, std::vector<std::string>{"="});
}

TEST_F(CompleteTest, HiddenKeywordsOnlyWhenTypedInFull) {
    struct Case {
        std::string line;
        std::vector<std::string> choices;
    };
    const Case cases[] = {
        {"DEB", {}},
        {"DEBUG", {"DEBUG"}},
        {"debug", {"DEBUG"}},
        {"DEBUG ", {}},
        {"DEBUG DU", {}},
        {"DEBUG DUMP", {"DUMP"}},
        {"SHOW STOR", {}},
        {"SHOW STORAGE", {"STORAGE"}},
        {"SHOW TIME", {"TIME"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(complete(c.line).choices, c.choices) << c.line;
        for (const std::string& w : c.choices) {
            EXPECT_TRUE(parser_accepts(c.line.substr(0, c.line.size() - w.size()) + w)) << c.line;
        }
    }
    // The hidden words the parser would still take in full are never listed.
    EXPECT_FALSE(parser_accepts("DEB"));
}

TEST_F(CompleteTest, FreeTextAndValuePositionsDescribeWhatHelpShows) {
    struct Case {
        std::string line;
        std::string description;
    };
    const Case cases[] = {
        {"ADD VDISK ", "Name of Vdisk"},
        {"ADD VDISK Qua", "Name of Vdisk"},
        {"FILE ", "Filename of Corvne commands"},
        {"SHOW VDISK ", "Name of object to show"},
        {"ADD VDISK v SIZE=", "(decimal value)"},
        {"ADD VDISK v SIZE=1", "(decimal value)"},
        {"ADD VDISK v COMMENT=", "(string enclosed in quotes)"},
        {"ADD VDISK v COMMENT=\"half", "(string enclosed in quotes)"},
        {"SHOW ", ""},
    };
    for (const Case& c : cases) {
        ss_completion got = complete(c.line);
        EXPECT_EQ(got.description, c.description) << c.line;
        if (!c.description.empty() && c.description[0] != '(') {
            std::vector<std::string> shown = listed(c.line.substr(0, c.line.find_last_of(' ') + 1));
            EXPECT_TRUE(std::count(shown.begin(), shown.end(), c.description)) << c.line;
        }
    }
    // A free-text position offers no keywords, a finished command nothing.
    EXPECT_TRUE(complete("ADD VDISK ").choices.empty());
    EXPECT_TRUE(complete("SHOW OPTIONS ").choices.empty());
    EXPECT_TRUE(complete("NOSUCH ").choices.empty());
    EXPECT_TRUE(complete("SHOW ?").choices.empty());
}

TEST_F(CompleteTest, ObjectNamesComeFromTheSessionListQuotedAsTheParserNeeds) {
    ss_add_object(pb, kind_system, "Alpha", "s1");
    ss_add_object(pb, kind_system, "Alpha two", "s2");
    ss_add_object(pb, kind_system, "Beta", "s3");
    ss_add_object(pb, kind_host, "\\Hosts\\web", "h1");
    ss_add_object(pb, kind_vdisk, "Vd1", "v1");
    struct Case {
        std::string line;
        std::vector<std::string> choices;
    };
    const Case cases[] = {
        {"SELECT SYSTEM ", {"Alpha", "\"Alpha two\"", "Beta"}},
        {"SELECT SYSTEM Al", {"Alpha", "\"Alpha two\""}},
        {"SELECT SYSTEM \"Alpha t", {"\"Alpha two\""}},
        {"DELETE HOST ", {"\"\\Hosts\\web\""}},
        {"SET HOST ", {"\"\\Hosts\\web\""}},
        {"SHOW VDISK ", {"FULL", "NOFULL", "Vd1"}},
        {"SHOW VDISK V", {"Vd1"}},
        {"SHOW MANAGER ", {"FULL", "NOFULL"}},  // not an object the session lists
        {"ADD HOST ", {}},                       // a new name
        {"SELECT SYSTEM Alpha ", {}},
        {"SHOW VDISK \"", {"Vd1"}},  // a bracketed word is a name, never a keyword
    };
    for (const Case& c : cases) {
        EXPECT_EQ(complete(c.line).choices, c.choices) << c.line;
    }
    // Nothing was sent or kept: the working part of the session is untouched.
    EXPECT_EQ(pb->state->sentences, nullptr);
    EXPECT_EQ(pb->state->object_name, nullptr);

    // A quoted name reads back as the name itself.
    ASSERT_EQ(parse("SELECT SYSTEM \"Alpha two\""), parse_ok);
    EXPECT_STREQ(pb->state->object_name, "Alpha two");
}

TEST_F(CompleteTest, TheWordBeingTypedStartsAfterTheLastSeparatorOrEquals) {
    EXPECT_EQ(complete("SHOW V").word_start, 5u);
    EXPECT_EQ(complete("ADD VDISK v SIZE=1").word_start, 17u);
    EXPECT_EQ(complete("SELECT SYSTEM \"Alpha t").word_start, 14u);
    // Only the text before the cursor counts.
    ss_completion got = ss_complete_line(Corvane_kwt, pb, "SHOW VDISK x", 6);
    EXPECT_EQ(got.choices, std::vector<std::string>{"VDISK"});
    EXPECT_EQ(got.word_start, 5u);
}

}  // namespace
