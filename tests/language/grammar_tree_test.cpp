// The keyword tree as a whole: its invariants, the keyword-conflict check
// over it, and "?" at every table, reached by typing a path to it.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "grammar_fixture.h"

namespace {

struct NamedTable {
    const char* name;
    const _kw_desc* table;
};

#define T(table) NamedTable{#table, table}
const NamedTable all_tables[] = {
    T(Corvane_kwt), T(kwt_add), T(kwt_add_cell_name), T(kwt_add_cell_options),
    T(kwt_add_cell_diskgroup_disktype_options), T(kwt_add_cell_spare_options), T(kwt_clone),
    T(kwt_clone_storage), T(kwt_add_clone_group), T(kwt_add_storage_redundancy_clone),
    T(kwt_clone_storage_name), T(kwt_add_clone_fixed_wwn), T(kwt_add_group_name), T(kwt_add_group_options),
    T(kwt_add_group_disktype_options), T(kwt_add_group_spare_options), T(dr_add_dr_group_name),
    T(dr_add_dr_group_options), T(dr_access), T(dr_add_remote_disk_group), T(dr_add_destination_cont_name),
    T(dr_add_remote_disk_name), T(dr_add_destination_vdisk_name), T(dr_operation_options),
    T(kwt_add_folder_name), T(kwt_add_folder_comment), T(kwt_add_host_name), T(kwt_add_host_options),
    T(kwt_add_host_ip_num), T(kwt_add_os), T(kwt_add_custom_number), T(kwt_add_host_wwn_num),
    T(kwt_add_unit_name), T(kwt_add_unit_keywords), T(kwt_add_unit_host_name),
    T(kwt_add_unit_storage_name), T(kwt_snapshot), T(kwt_snap_storage_switches),
    T(kwt_snap_allocation_policy), T(kwt_add_storage_redundancy_snapshot), T(kwt_snap_storage_name),
    T(kwt_add_snap_fixed_wwn), T(kwt_add_storage_name), T(kwt_add_storage_options),
    T(kwt_add_storage_group), T(kwt_add_preferred_path), T(kwt_add_storage_redundancy),
    T(kwt_add_storage_fixed_wwn), T(kwt_capture), T(kwt_capture_filename),
    T(kwt_capture_validate_filename), T(kwt_debug), T(kwt_debug_fenn_flags), T(kwt_delete),
    T(kwt_del_cell_name), T(kwt_del_group_name), T(dr_delete_dr_group_name), T(kwt_del_folder_name),
    T(kwt_del_host_name), T(kwt_del_unit_number), T(kwt_del_storage_name), T(kwt_del_storage_name_options),
    T(kwt_exercisedisk), T(kwt_exercisedisk_start), T(kwt_file), T(kwt_regression),
    T(kwt_regression_create_file), T(kwt_regression_test_file), T(kwt_shutdown_restart),
    T(kwt_set_power_options), T(kwt_select), T(kwt_select_cell), T(kwt_select_manager),
    T(kwt_select_manager_options), T(kwt_select_manager_password), T(kwt_select_manager_username),
    T(kwt_set), T(kwt_set_cell_name), T(kwt_set_cell), T(kwt_set_newname_text), T(kwt_set_name),
    T(kwt_set_newname), T(kwt_set_group_name), T(kwt_set_group_options), T(kwt_set_group_delete_disk),
    T(kwt_set_group_spare_options), T(dr_set_dr_group_name), T(dr_set_dr_group_options), T(dr_set_access),
    T(dr_storage_name), T(dr_add_storage_options), T(dr_set_remote_disk_group), T(dr_set_remote_disk_name),
    T(dr_storage_delete_name), T(dr_set_dr_group_newname), T(dr_set_operation_options),
    T(kwt_set_host_name), T(kwt_set_host), T(kwt_set_host_wwn), T(kwt_set_host_ip_num), T(kwt_set_os),
    T(kwt_set_custom_number), T(kwt_set_options), T(kwt_set_error_options), T(kwt_set_storage_name),
    T(kwt_set_storage_options), T(kwt_set_preferred_path), T(kwt_set_storage_fixed_wwn), T(kwt_show),
    T(kwt_show_name), T(dr_show_dr_group_name),
};
#undef T

constexpr uint32_t known_flags = kw_decimal | kw_octal | kw_hex | kw_string | kw_assign | kw_hidden |
                                 kw_free_text | kw_unmatchable | kw_full_word | kw_disabled | kw_list | kw_last;
// No table of the language is longer; a missing kw_last runs past this.
constexpr int longest_table = 24;

std::vector<const _kw_desc*> rows_of(const _kw_desc* table) {
    std::vector<const _kw_desc*> rows;
    for (const _kw_desc* entry = table; static_cast<int>(rows.size()) < longest_table; ++entry) {
        rows.push_back(entry);
        if (entry->flags & kw_last) break;
    }
    return rows;
}

bool visible_keyword(const _kw_desc* entry) {
    return !(entry->flags & (kw_hidden | kw_free_text | kw_unmatchable | kw_disabled));
}

bool same_text(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b)
        if (std::toupper(static_cast<unsigned char>(*a)) != std::toupper(static_cast<unsigned char>(*b))) return false;
    return *a == *b;
}

// How a path through an entry is typed: keyword, "=" and a value of its form.
std::string typed(const _kw_desc* entry) {
    std::string value = (entry->flags & kw_decimal) ? "1" : (entry->flags & kw_string) ? "\"x\"" : "";
    if (entry->flags & kw_free_text) return (entry->flags & kw_decimal) ? "1" : "x";
    std::string word = entry->text;
    if (entry->flags & kw_assign) word += "=";
    return word + value;
}

// Every table once, breadth first from the root, with the shortest command
// line that reaches it.
std::map<const _kw_desc*, std::string> reachable_tables() {
    std::map<const _kw_desc*, std::string> path{{Corvane_kwt, ""}};
    std::vector<const _kw_desc*> queue{Corvane_kwt};
    for (size_t i = 0; i < queue.size(); ++i) {
        const _kw_desc* table = queue[i];
        for (const _kw_desc* entry : rows_of(table)) {
            if (!entry->next || path.count(entry->next)) continue;
            std::string prefix = path[table];
            path[entry->next] = prefix + (prefix.empty() ? "" : " ") + typed(entry);
            queue.push_back(entry->next);
        }
    }
    return path;
}

TEST(GrammarTree, EveryTableKeepsTheInvariants) {
    std::map<const _kw_desc*, std::string> names;
    for (const NamedTable& t : all_tables) names[t.table] = t.name;
    std::map<const _kw_desc*, std::string> reached = reachable_tables();

    std::set<std::string> prefix_pairs;
    for (const auto& [table, path] : reached) {
        ASSERT_TRUE(names.count(table)) << "unnamed table reached by \"" << path << "\"";
        const std::string& name = names[table];
        SCOPED_TRACE(name);
        std::vector<const _kw_desc*> rows = rows_of(table);
        ASSERT_TRUE(rows.back()->flags & kw_last) << "no last row";
        for (size_t i = 0; i < rows.size(); ++i) {
            const _kw_desc* entry = rows[i];
            SCOPED_TRACE(entry->text ? entry->text : "(null text)");
            ASSERT_NE(entry->text, nullptr);
            EXPECT_GT(std::strlen(entry->text), 0u);
            EXPECT_EQ(entry->reserved, 0u);
            EXPECT_EQ(entry->flags & ~known_flags, 0u);
            if (entry->flags & kw_free_text) {
                EXPECT_EQ(i, rows.size() - 1) << "words after a free-text entry can never match";
                continue;
            }
            // A keyword is one upper-case word the tokenizer can deliver whole.
            for (const char* c = entry->text; *c; ++c)
                EXPECT_TRUE(std::isupper(static_cast<unsigned char>(*c)) || std::isdigit(static_cast<unsigned char>(*c)) || *c == '_');
            // "=" must lead somewhere: to a value or to a table of values.
            if (entry->flags & kw_assign) {
                EXPECT_TRUE((entry->flags & (kw_string | kw_decimal)) || entry->next);
            }
            for (size_t j = 0; j < rows.size(); ++j) {
                const _kw_desc* other = rows[j];
                if (j == i || (other->flags & kw_free_text)) continue;
                EXPECT_FALSE(same_text(entry->text, other->text)) << "twice in one table";
                // A keyword that begins another one (which takes part in
                // abbreviation) makes its abbreviations ambiguous.
                if (!(other->flags & kw_full_word) && std::strlen(entry->text) < std::strlen(other->text) &&
                    std::strncmp(entry->text, other->text, std::strlen(entry->text)) == 0)
                    prefix_pairs.insert(name + ": " + entry->text + " < " + other->text);
            }
        }
    }
    EXPECT_EQ(reached.size(), std::size(all_tables)) << "a table no command reaches";
    EXPECT_EQ(prefix_pairs, (std::set<std::string>{"kwt_set: DISK < DISK_GROUP", "kwt_show: DISK < DISK_GROUP"}));
}

// The conflict check looks at the keywords a name could be mistaken for:
// those reached through visible keywords alone. It does not look behind
// hidden words or behind free-text values (a name is never confused with the
// options that follow a name).
TEST(GrammarTree, ConflictCheckFindsEveryKeywordOnAKeywordPath) {
    std::set<const _kw_desc*> seen{Corvane_kwt};
    std::vector<const _kw_desc*> queue{Corvane_kwt};
    size_t checked = 0;
    for (size_t i = 0; i < queue.size(); ++i) {
        for (const _kw_desc* entry : rows_of(queue[i])) {
            if (!visible_keyword(entry)) continue;
            if (entry->next && seen.insert(entry->next).second) queue.push_back(entry->next);
            SCOPED_TRACE(entry->text);
            std::string lower = entry->text;
            for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            const char* found = cci_scan_for_noconflict(static_cast<uint32_t>(lower.size()), lower.c_str(), Corvane_kwt);
            ASSERT_NE(found, nullptr);
            EXPECT_STREQ(found, entry->text);
            ++checked;
        }
    }
    EXPECT_GT(checked, 60u);
    // Hidden words, words behind a name, descriptions and abbreviations are no conflict.
    for (const char* name : {"TIME", "REGRESSION", "PASSWORD", "Name of Vdisk", "VDIS", "Quabex"})
        EXPECT_EQ(cci_scan_for_noconflict(static_cast<uint32_t>(std::strlen(name)), name, Corvane_kwt), nullptr) << name;
}

TEST_F(GrammarTest, HelpAtEveryTableReachedByTyping) {
    set_input("");  // DEBUG ARE_YOU_SURE, should a path use it, gets no answer
    for (const auto& [table, path] : reachable_tables()) {
        std::string line = path + " ?";
        SCOPED_TRACE(line);
        std::vector<const _kw_desc*> rows = rows_of(table);
        std::string expected = rows.size() == 1 ? "\n  The only option is:" : "\n  The options are:";
        for (const _kw_desc* entry : rows)
            if (!(entry->flags & kw_hidden)) expected += std::string("\n    ") + entry->text;
        EXPECT_EQ(parse(line), parse_help_shown);
        EXPECT_EQ(output(), expected);
    }
}

}  // namespace
