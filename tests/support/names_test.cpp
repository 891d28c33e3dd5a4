// Names, comments and identifiers from the command line: copies, queued
// sentences, limits and the caret under the offending character.
#include <gtest/gtest.h>

#include <string>

#include "corvane_folder_names.h"
#include "corvane_memory.h"
#include "corvane_names.h"
#include "corvane_sentence.h"
#include "corvane_text_cleanup.h"
#include "session_fixture.h"

namespace {

class NamesTest : public SessionTest {
protected:
    // Parses nothing: places the value `value` at the end of `command`, as
    // the parser leaves the parse block after reading it.
    void typed(const std::string& before, const std::string& value, const std::string& after = "") {
        command_ = before + value + after;
        pb->command_start = command_.data();
        pb->string_value = command_.data() + before.size();
        pb->string_length = static_cast<uint32_t>(value.size());
        pb->cursor = pb->string_value + value.size() + after.size();
        pb->remaining = 0;
    }

    std::string sentence(const char* name) const {
        for (const _soap_sent_info* s = pb->state->sentences; s; s = s->next)
            if (std::string(s->name) == name) return s->value;
        return "<none>";
    }

    // Spaces that put the caret under column `offset` of the command,
    // after the prompt "NoSystemSelected> ".
    static std::string caret(size_t offset) { return std::string(16 + 2 + offset, ' ') + "^"; }

private:
    std::string command_;
};

TEST_F(NamesTest, NameLengthLimit) {
    std::string name32(32, 'n');
    typed("SET HOST x NAME=", name32);
    EXPECT_EQ(ss_rename_newname(pb), 0);
    EXPECT_EQ(output(), "");
    EXPECT_STREQ(pb->state->new_name, name32.c_str());
    EXPECT_EQ(sentence("Name"), name32);

    typed("SET HOST x NAME=", name32 + "n");
    EXPECT_EQ(ss_rename_newname(pb), 1);
    EXPECT_EQ(output(), "\nError: Name too long, limit 32 characters");
}

TEST_F(NamesTest, ForbiddenCharactersGetACaret) {
    struct bad {
        std::string before, value, after, message;
        size_t column;
    };
    const bad cases[] = {
        {"ADD HOST ", "ab,c", "", "\nError: Invalid character \",\" in name at or near here", 11},
        {"ADD HOST \"", "a%b", "\"", "\nError: Invalid character \"%\" in name at or near here", 11},
        {"ADD HOST ", "x\x7f", "", "\nError: Invalid non-printable character in name at or near here", 10},
        {"ADD HOST ", "\xc3\xa9t\xc3\xa9", "", "\nError: Invalid non-printable character in name at or near here", 9},
    };
    for (const bad& c : cases) {
        SCOPED_TRACE(c.value);
        typed(c.before, c.value, c.after);
        EXPECT_EQ(ss_add_object_name_and_folder(pb), 1);
        EXPECT_EQ(output(), caret(c.column) + c.message);
    }
    for (char c : std::string("?\"/<>*|:&+")) {
        typed("ADD HOST ", std::string("ok") + c);
        EXPECT_EQ(ss_add_object_name_and_folder(pb), 1) << c;
        output();
    }
    typed("ADD HOST ", "Fine_name-1.2 (a)");
    EXPECT_EQ(ss_add_object_name_and_folder(pb), 0);
    EXPECT_EQ(output(), "");
}

TEST_F(NamesTest, CaretFollowsTheSelectedSystem) {
    pb->state->cell_name = ss_copy_string("Tuvel");
    typed("ADD HOST ", "a*");
    EXPECT_EQ(ss_add_object_name_and_folder(pb), 1);
    EXPECT_EQ(output(), std::string(5 + 2 + 10, ' ') + "^\nError: Invalid character \"*\" in name at or near here");
}

TEST_F(NamesTest, Comments) {
    typed("SET HOST h COMMENT=", std::string(128, 'c'));
    EXPECT_EQ(ss_comment(pb), 0);
    EXPECT_EQ(sentence("comments"), std::string(128, 'c'));

    typed("SET HOST h COMMENT=", std::string(129, 'c'));
    EXPECT_EQ(ss_comment(pb), 1);
    EXPECT_EQ(output(), "\nError: Comment too long, limit 128 characters");

    // Slashes are as forbidden in comments as in names; a tab is unprintable.
    typed("SET HOST h COMMENT=\"", "rack 4\tleft", "\"");
    EXPECT_EQ(ss_comment(pb), 1);
    EXPECT_EQ(output(), caret(26) + "\nError: Invalid non-printable character in comment at or near here");
    EXPECT_EQ(sentence("comments"), "rack 4\tleft");  // stays queued; the command stops anyway
}

TEST_F(NamesTest, NewNameWithAFolderIsRefusedFirst) {
    typed("SET HOST h NAME=", "\\Hosts\\b,ad");
    EXPECT_EQ(ss_rename_newname(pb), 1);
    EXPECT_EQ(output(), "\nError: Cannot specify directory or \\ACTIVE on the new name");
    EXPECT_EQ(pb->state->sentences, nullptr);

    typed("SET DR_GROUP d NAME=", "dr2");
    EXPECT_EQ(ss_rename_newname_V3(pb), 0);
    EXPECT_EQ(sentence("objectname"), "dr2");
    EXPECT_STREQ(pb->state->new_name, "dr2");
}

TEST_F(NamesTest, OsUnitIdentifier) {
    pb->number = 32767;
    EXPECT_EQ(ss_raven_id(pb), 0);
    EXPECT_EQ(sentence("RavenID"), "32767");
    pb->number = 32768;
    EXPECT_EQ(ss_raven_id(pb), 1);
    EXPECT_EQ(output(), "\nError: Maximum OS ID is 32767");
    EXPECT_EQ(sentence("RavenID"), "32767");
}

TEST_F(NamesTest, CopiesReplaceTheOldText) {
    typed("SHOW HOST ", "first");
    EXPECT_EQ(ss_object_name(pb), 0);
    typed("SHOW HOST ", "second, with anything *");
    EXPECT_EQ(ss_object_name(pb), 0);
    EXPECT_STREQ(pb->state->object_name, "second, with anything *");
    typed("DEBUG FENN_FLAGS=", "111");
    EXPECT_EQ(ss_validate_and_copy_name_sentence(pb, "Flags", &pb->state->fenn_flags), 0);
    EXPECT_STREQ(pb->state->fenn_flags, "111");
    EXPECT_EQ(sentence("Flags"), "111");
    EXPECT_EQ(output(), "");
}

TEST_F(NamesTest, NameAndFolderSplit) {
    struct split {
        const char* typed;
        const char* folder;  // null: unset
        const char* name;
    };
    const split cases[] = {
        {"\\Hosts\\Lab\\web01", "\\Hosts\\Lab\\", "web01"},
        {"Lab\\web01", "Lab\\", "web01"},
        {"web01", nullptr, "web01"},
        {"\\web01", nullptr, "web01"},
        {"\\Hosts\\", "\\Hosts\\", ""},
    };
    for (const split& c : cases) {
        SCOPED_TRACE(c.typed);
        ss_release_working_mem();
        typed("ADD HOST ", c.typed);
        EXPECT_EQ(ss_add_object_name_and_folder(pb), 0);
        EXPECT_STREQ(pb->state->folder_name, c.folder);
        EXPECT_STREQ(pb->state->object_name, c.name);
        EXPECT_EQ(sentence("Name"), c.name);
    }
    // A folder typed earlier survives a name with only a leading backslash.
    typed("ADD HOST ", "\\web02");
    EXPECT_EQ(ss_add_copy_name_and_folder(pb), 0);
    EXPECT_STREQ(pb->state->folder_name, "\\Hosts\\");

    // Only the name part is checked, and the caret stands under it.
    typed("ADD HOST ", "\\A,B\\c:d");
    EXPECT_EQ(ss_add_object_name_and_folder_V3(pb), 1);
    EXPECT_EQ(output(), caret(15) + "\nError: Invalid character \":\" in name at or near here");
    EXPECT_EQ(sentence("objectname"), "c:d");

    typed("ADD DR_GROUP g DESTINATION_SYSTEM=", "\\Far\\sys");
    EXPECT_EQ(ss_add_destination_name_and_folder_V3(pb), 0);
    EXPECT_STREQ(pb->state->dr_destination_name, "\\Far\\sys");
    typed("ADD DR_GROUP g VDISK=", "\\V\\db");
    EXPECT_EQ(ss_add_vdisk_name_and_folder_V3(pb), 0);
    EXPECT_STREQ(pb->state->vdisk_name, "\\V\\db");
}

TEST(TextCleanup, InPlaceRules) {
    char unprintable[] = "a\tb\x7f" "c\xe9" "d\n";
    ss_remove_unprintable_chars(unprintable);
    EXPECT_STREQ(unprintable, "abcd");
    char blanks[] = "  a   b c  ";
    ss_pack_string(blanks);
    EXPECT_STREQ(blanks, " a b c ");
    char line[] = "text \r\n\x80\x01";
    ss_strip_special_from_end(line);
    EXPECT_STREQ(line, "text ");
    char only_controls[] = "\n\n";
    ss_strip_special_from_end(only_controls);
    EXPECT_STREQ(only_controls, "");
}

}  // namespace
