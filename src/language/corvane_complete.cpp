#include "corvane_complete.h"

#include <cctype>
#include <cstring>

#include "corvane_kwt_text.h"
#include "corvane_object_info.h"

namespace {

bool is_opener(char c) { return c == '(' || c == '"'; }
bool is_closer(char c) { return c == '"' || c == ')'; }

bool same_prefix(const char* word, size_t length, const char* keyword) {
    if (std::strlen(keyword) < length) return false;
    for (size_t i = 0; i < length; ++i)
        if (std::toupper(static_cast<unsigned char>(word[i])) != std::toupper(static_cast<unsigned char>(keyword[i])))
            return false;
    return true;
}

// One word of the line as the parser's tokenizer cuts it: a bare word ends
// at a blank or "=", a bracketed one at its matching closer. `open` marks a
// word that runs to the end of the text: the word still being typed.
struct word {
    size_t start = 0;   // first character, opener included
    size_t end = 0;     // one past the last character, closer included
    bool open = false;
    bool quoted = false;
    std::string text;   // as the parser sees it: brackets and leading blanks off
};

bool next_word(const std::string& s, size_t& pos, word& w) {
    while (pos < s.size() && s[pos] == ' ') ++pos;
    if (pos == s.size()) return false;
    w = word{};
    w.start = pos;
    if (!is_opener(s[pos])) {
        size_t q = pos;
        while (q < s.size() && s[q] != ' ' && s[q] != '=') ++q;
        w.end = q;
        w.open = q == s.size();
        w.text = s.substr(pos, q - pos);
        pos = q;
        return true;
    }
    w.quoted = true;
    size_t p = pos + 1;
    while (p < s.size() && s[p] == ' ') ++p;
    size_t first = p;
    int depth = 1;
    for (; p < s.size(); ++p) {
        if (is_closer(s[p])) {
            if (--depth == 0) break;
        } else if (s[p] == '(') {
            ++depth;
        }
    }
    if (p >= s.size()) {
        w.end = s.size();
        w.open = true;
        w.text = s.substr(first);
    } else {
        w.end = p + 1;
        w.open = w.end == s.size();
        w.text = s.substr(first, p - first);
    }
    pos = w.end;
    return true;
}

// The entry of `table` the parser's find_match would take for `token`, or
// null (no match, or ambiguous). Entries after a free-text entry are never
// reached: the free text takes any word the keywords before it did not.
const _kw_desc* match(const _kw_desc* table, const std::string& token) {
    const _kw_desc* candidate = nullptr;
    for (const _kw_desc* entry = table;; ++entry) {
        if (!(entry->flags & (kw_unmatchable | kw_disabled))) {
            if (entry->flags & kw_free_text) return candidate ? candidate : entry;
            if (same_prefix(token.data(), token.size(), entry->text)) {
                if (token.size() == std::strlen(entry->text)) return entry;
                if (candidate) return nullptr;
                if (!(entry->flags & kw_full_word)) candidate = entry;
            }
        }
        if (entry->flags & kw_last) break;
    }
    return candidate;
}

// The text "?" help prints for the value of a keyword that takes one.
const char* value_help(uint32_t flags) {
    bool list = flags & kw_list;
    if (flags & kw_string) return "(string enclosed in quotes)";
    if (flags & kw_hex) return list ? "(hexadecimal value, hexadecimal value,...)" : "(hexadecimal value)";
    if (flags & kw_octal) return list ? "(octal value, octal value,...)" : "(octal value)";
    if (flags & kw_decimal) return list ? "(decimal value, decimal value,...)" : "(decimal value)";
    return "";
}

// The keyword right before a name position says which kind of object it
// names; the action routines behind these keywords pick the same kind.
int kind_named_by(const char* keyword) {
    struct named {
        const char* keyword;
        int kind;
    };
    static const named kinds[] = {
        {ss_text_system, kind_system},   {ss_text_cell, kind_system},       {ss_text_disk, kind_disk},
        {ss_text_disk_group, kind_disk_group}, {ss_text_group, kind_disk_group}, {ss_text_dr_group, kind_dr_group},
        {ss_text_folder, kind_folder},   {ss_text_host, kind_host},         {ss_text_lun, kind_lun},
        {ss_text_monitor, kind_monitor}, {ss_text_power, kind_power},       {ss_text_vdisk, kind_vdisk},
        {ss_text_storage, kind_vdisk},   {ss_text_restart, kind_power},     {ss_text_shutdown, kind_power},
    };
    for (const named& n : kinds)
        if (keyword == n.keyword) return n.kind;
    return -1;
}

// A name holding a closer cannot be bracketed, so it cannot be typed as one
// word: it is not offered. The others are bracketed when they hold a blank,
// a backslash or an "=", or start with a bracket, so the parser reads them
// back whole.
bool quotable(const char* name) { return !std::strpbrk(name, "\")"); }
std::string as_typed(const char* name) {
    bool needs = std::strpbrk(name, " \\=") || is_opener(name[0]);
    return needs ? std::string("\"") + name + "\"" : std::string(name);
}

void offer_names(ss_completion& out, const _parseblk* pb, int kind, const word& typed) {
    if (!pb || !pb->state || kind < 0) return;
    std::string prefix = typed.text;
    for (const _object_info* o = pb->state->object_list; o; o = o->next) {
        if (o->kind != kind || !o->name || !quotable(o->name)) continue;
        if (std::strncmp(o->name, prefix.c_str(), prefix.size()) != 0) continue;
        out.choices.push_back(as_typed(o->name));
    }
}

// The choices of `table` for the word being typed.
void offer_table(ss_completion& out, const _kw_desc* table, const word& typed, const _parseblk* pb, int kind) {
    for (const _kw_desc* entry = table;; ++entry) {
        if (!(entry->flags & (kw_unmatchable | kw_disabled))) {
            if (entry->flags & kw_free_text) {
                if (!(entry->flags & kw_hidden)) out.description = entry->text;
                offer_names(out, pb, kind, typed);
                break;
            }
            // A bracketed word is a value, never completed into a keyword.
            bool prefix = !typed.quoted && same_prefix(typed.text.data(), typed.text.size(), entry->text);
            bool shown = !(entry->flags & kw_hidden) || typed.text.size() == std::strlen(entry->text);
            if (prefix && shown)
                out.choices.push_back(std::string(entry->text) + ((entry->flags & kw_assign) ? "=" : ""));
        }
        if (entry->flags & kw_last) break;
    }
}

}  // namespace

ss_completion ss_complete_line(const _kw_desc* table, _parseblk* pb, const std::string& line, size_t cursor) {
    ss_completion out;
    const std::string text = line.substr(0, cursor < line.size() ? cursor : line.size());
    // Where the word being typed starts, also when the words before it do
    // not parse: a line editor replaces from there.
    out.word_start = text.size();
    word w;
    for (size_t p = 0; p < text.size();) {
        if (text[p] == '=') {
            ++p;
        } else if (!next_word(text, p, w)) {
            break;
        } else if (w.open) {
            out.word_start = w.start;
            break;
        }
    }
    for (char c : text)
        if (c < 0x20 || c > 0x7E) return out;  // the parser refuses the whole line

    const _kw_desc* current = table;
    const char* verb = nullptr;
    const char* previous = nullptr;  // the keyword that led to `current`
    size_t pos = 0;
    for (;;) {
        word typed;
        typed.start = typed.end = text.size();
        if (next_word(text, pos, w)) {
            if (w.open) typed = w;
        } else {
            w.open = true;
        }
        if (w.open) {
            if (!typed.text.empty() && typed.text[0] == '?') return out;
            out.word_start = typed.start;
            int kind = (verb != ss_text_add && previous) ? kind_named_by(previous) : -1;
            offer_table(out, current, typed, pb, kind);
            return out;
        }
        if (w.text.empty() || w.text[0] == '?') return out;
        const _kw_desc* entry = match(current, w.text);
        if (!entry) return out;
        if (!(entry->flags & kw_free_text)) {
            if (!verb) verb = entry->text;
            previous = entry->text;
        } else {
            previous = nullptr;
        }

        if (entry->flags & kw_assign) {
            while (pos < text.size() && text[pos] == ' ') ++pos;
            if (pos == text.size()) {
                out.word_start = pos;
                out.choices.push_back("=");
                return out;
            }
            if (text[pos] != '=') return out;
            ++pos;
        }
        uint32_t flags = entry->flags;
        if (flags & kw_string) {
            while (pos < text.size() && text[pos] == ' ') ++pos;
            size_t close = pos < text.size() && text[pos] == '"' ? text.find('"', pos + 1) : std::string::npos;
            if (close == std::string::npos || close + 1 == text.size()) {
                if (pos < text.size() && text[pos] != '"') return out;
                out.word_start = pos;
                out.description = value_help(flags);
                return out;
            }
            pos = close + 1;
        } else if ((flags & (kw_hex | kw_octal | kw_decimal)) && !(flags & kw_free_text)) {
            word value;
            if (!next_word(text, pos, value) || value.open) {
                out.word_start = value.open ? value.start : text.size();
                out.description = value_help(flags);
                return out;
            }
        }
        if (!entry->next) return out;
        current = entry->next;
    }
}
