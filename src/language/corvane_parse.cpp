#include "corvane_parse.h"

#include <cctype>
#include <cstdio>
#include <cstring>

namespace {

// Character classes of the command language.
constexpr char separator_char = ' ';
constexpr char assign_char = '=';
constexpr char ques_char = '?';
constexpr char open_str_delim = '"';
constexpr char close_str_delim = '"';

bool legal_char(char c) { return c >= 0x20 && c <= 0x7E; }
bool parse_start_list(char c) { return c == '(' || c == '"'; }
bool parse_end_list(char c) { return c == '"' || c == ')'; }

// The cursor and the remaining count always move together.
char* text_end(const _parseblk* pb) { return pb->cursor + pb->remaining; }

void set_cursor(_parseblk* pb, char* position) {
    char* end = text_end(pb);
    pb->cursor = position;
    pb->remaining = static_cast<uint32_t>(end - position);
}

void skip_separators(_parseblk* pb) {
    while (pb->remaining > 0 && *pb->cursor == separator_char) set_cursor(pb, pb->cursor + 1);
}

int legal(_parseblk* pb, _parser_context*) {
    for (uint32_t i = 0; i < pb->remaining; ++i)
        if (!legal_char(pb->cursor[i])) return parse_syntax_error;
    return parse_ok;
}

int get_token(_parseblk* pb, _parser_context* ctx) {
    char* start = pb->cursor;
    skip_separators(pb);
    if (pb->remaining == 0) {
        set_cursor(pb, start);
        return parse_token_not_found;
    }
    char* end = text_end(pb);
    char* p = pb->cursor;
    if (!parse_start_list(*p)) {
        char* q = p;
        while (q < end && *q != separator_char && *q != assign_char) ++q;
        // An "=" where a word belongs would be an empty token that matches
        // any keyword as a prefix (or converts to 0): refuse it here.
        if (q == p) return parse_syntax_error;
        ctx->token = p;
        ctx->token_length = static_cast<uint32_t>(q - p);
        set_cursor(pb, q);
        return parse_ok;
    }
    // Bracketed token: quotes and parentheses, nested pairs kept inside.
    ++p;
    while (p < end && *p == separator_char) ++p;
    char* first = p;
    int depth = 1;
    for (; p < end; ++p) {
        if (parse_end_list(*p)) {
            if (--depth == 0) break;
        } else if (*p == '(') {
            ++depth;
        }
    }
    // An unclosed quote or bracket would otherwise drop the rest of the
    // command silently (SHOW VDISK "abc listing every disk): refuse it, with
    // the cursor on the opener. An empty pair is no token.
    if (p >= end) return parse_syntax_error;
    if (p == first) {
        set_cursor(pb, start);
        return parse_token_not_found;
    }
    ctx->token = first;
    ctx->token_length = static_cast<uint32_t>(p - first);
    set_cursor(pb, p + 1);
    return parse_ok;
}

// Puts the cursor on the first character of the token, so the caret stands
// under it: stepping back by the token's length alone would land inside the
// token when separators were skipped after it or a closer followed it.
void back_over_token(_parseblk* pb, const _parser_context* ctx) { set_cursor(pb, ctx->token); }

int find_match(_parseblk* pb, _parser_context* ctx, const _kw_desc* table) {
    const _kw_desc* candidate = nullptr;
    for (const _kw_desc* entry = table;; ++entry) {
        if (!(entry->flags & (kw_unmatchable | kw_disabled))) {
            if (entry->flags & kw_free_text) {
                if (candidate) break;
                pb->string_length = ctx->token_length;
                pb->string_value = ctx->token;
                ctx->entry = entry;
                return parse_ok;
            }
            const char* keyword = entry->text;
            size_t keyword_length = std::strlen(keyword);
            bool prefix = ctx->token_length <= keyword_length;
            for (uint32_t i = 0; prefix && i < ctx->token_length; ++i)
                prefix = std::toupper(static_cast<unsigned char>(ctx->token[i])) ==
                         std::toupper(static_cast<unsigned char>(keyword[i]));
            if (prefix) {
                if (ctx->token_length == keyword_length) {
                    ctx->entry = entry;
                    return parse_ok;
                }
                if (candidate) return parse_ambiguous;
                if (!(entry->flags & kw_full_word)) candidate = entry;
            }
        }
        if (entry->flags & kw_last) break;
    }
    if (candidate) {
        ctx->entry = candidate;
        return parse_ok;
    }
    back_over_token(pb, ctx);
    return parse_syntax_error;
}

int proc_help_assign(_parser_context* ctx) {
    uint32_t flags = ctx->entry->flags;
    bool list = flags & kw_list;
    std::fputs(" = ", OutFile);
    const char* text = "[get help at a lower level]";
    if (flags & kw_string)
        text = "(string enclosed in quotes)";
    else if (flags & kw_hex)
        text = list ? "(hexadecimal value, hexadecimal value,...)" : "(hexadecimal value)";
    else if (flags & kw_octal)
        text = list ? "(octal value, octal value,...)" : "(octal value)";
    else if (flags & kw_decimal)
        text = list ? "(decimal value, decimal value,...)" : "(decimal value)";
    std::fputs(text, OutFile);
    return parse_help_shown;
}

int proc_assign(_parseblk* pb, _parser_context* ctx) {
    skip_separators(pb);
    if (pb->remaining == 0) return parse_incomplete;
    if (*pb->cursor == assign_char) {
        set_cursor(pb, pb->cursor + 1);
        return parse_ok;
    }
    if (*pb->cursor == ques_char) {
        std::fputs("\n  The only option is:", OutFile);
        return proc_help_assign(ctx);
    }
    return parse_syntax_error;
}

int proc_help(const _kw_desc* table) {
    bool single = table->flags & kw_last;
    std::fputs(single ? "\n  The only option is:" : "\n  The options are:", OutFile);
    for (const _kw_desc* entry = table;; ++entry) {
        if (!(entry->flags & (kw_hidden | kw_disabled)) && entry->text)
            std::fprintf(OutFile, "\n    %s", entry->text);
        if (entry->flags & kw_last) break;
    }
    return parse_help_shown;
}

int cvt_stg_to_ascid(_parseblk* pb, _parser_context*) {
    char* start = pb->cursor;
    skip_separators(pb);
    if (pb->remaining == 0) {
        set_cursor(pb, start);
        return parse_syntax_error;
    }
    if (*pb->cursor != open_str_delim) {
        if (*pb->cursor == ques_char) {
            std::fputs("\n  The only option is: (string enclosed in quotes)", OutFile);
            return parse_help_shown;
        }
        set_cursor(pb, start);
        return parse_syntax_error;
    }
    char* value = pb->cursor + 1;
    char* close = static_cast<char*>(std::memchr(value, close_str_delim, text_end(pb) - value));
    if (!close || close == value) {
        set_cursor(pb, start);
        return parse_syntax_error;
    }
    pb->string_value = value;
    pb->string_length = static_cast<uint32_t>(close - value);
    set_cursor(pb, close + 1);
    return parse_ok;
}

// Single-value conversions of [text, text + length) into *out.
bool dec_digits(const char* text, uint32_t length, uint32_t* out) {
    uint32_t value = 0;
    for (uint32_t i = 0; i < length; ++i) {
        char c = text[i];
        if (c < '0' || c > '9' || value > 429496729u) return false;
        uint32_t next = value * 10u + static_cast<uint32_t>(c - '0');
        if (next < value * 10u) return false;
        value = next;
    }
    *out = value;
    return true;
}

bool hex_digits(const char* text, uint32_t length, uint32_t* out) {
    uint32_t value = 0;
    for (uint32_t i = 0; i < length; ++i) {
        int c = std::toupper(static_cast<unsigned char>(text[i]));
        uint32_t digit;
        if (c >= '0' && c <= '9')
            digit = static_cast<uint32_t>(c - '0');
        else if (c >= 'A' && c <= 'F')
            digit = static_cast<uint32_t>(c - 'A' + 10);
        else
            return false;
        if (value & 0xF0000000u) return false;
        value = (value << 4) | digit;
    }
    *out = value;
    return true;
}

bool oct_digits(const char* text, uint32_t length, uint32_t* out) {
    uint32_t value = 0;
    for (uint32_t i = 0; i < length; ++i) {
        char c = text[i];
        if (c < '0' || c > '7' || (value & 0xE0000000u)) return false;
        value = (value << 3) | static_cast<uint32_t>(c - '0');
    }
    *out = value;
    return true;
}

using digits_fn = bool (*)(const char*, uint32_t, uint32_t*);

int single_to_bin(_parseblk* pb, _parser_context* ctx, digits_fn digits) {
    if (!digits(ctx->token, ctx->token_length, &pb->number)) {
        back_over_token(pb, ctx);
        return parse_syntax_error;
    }
    return parse_ok;
}

int dec_to_bin(_parseblk* pb, _parser_context* ctx) { return single_to_bin(pb, ctx, dec_digits); }
int hex_to_bin(_parseblk* pb, _parser_context* ctx) { return single_to_bin(pb, ctx, hex_digits); }
int oct_to_bin(_parseblk* pb, _parser_context* ctx) { return single_to_bin(pb, ctx, oct_digits); }

int number_list_to_bin(_parseblk* pb, _parser_context* ctx, digits_fn digits) {
    pb->number_count = 0;
    const char* p = ctx->token;
    const char* end = ctx->token + ctx->token_length;
    for (;;) {
        while (p < end && (*p == ',' || *p == separator_char)) ++p;
        if (p == end) break;
        const char* element = p;
        while (p < end && *p != ',' && *p != separator_char) ++p;
        if (pb->number_count == ss_max_numbers ||
            !digits(element, static_cast<uint32_t>(p - element), &pb->number)) {
            back_over_token(pb, ctx);
            return parse_syntax_error;
        }
        pb->number_list[pb->number_count++] = pb->number;
    }
    if (pb->number_count == 0) {
        back_over_token(pb, ctx);
        return parse_syntax_error;
    }
    return parse_ok;
}

int dec_list_to_bin(_parseblk* pb, _parser_context* ctx) { return number_list_to_bin(pb, ctx, dec_digits); }
int hex_list_to_bin(_parseblk* pb, _parser_context* ctx) { return number_list_to_bin(pb, ctx, hex_digits); }
int oct_list_to_bin(_parseblk* pb, _parser_context* ctx) { return number_list_to_bin(pb, ctx, oct_digits); }

int proc_cvt_flags(_parseblk* pb, _parser_context* ctx) {
    uint32_t flags = ctx->entry->flags;
    if (flags & kw_string) return cvt_stg_to_ascid(pb, ctx);
    if (!(flags & (kw_hex | kw_octal | kw_decimal))) return parse_ok;

    if (!(flags & kw_free_text)) {
        int status = get_token(pb, ctx);
        if (status == parse_syntax_error) return status;
        if (status != parse_ok) return parse_incomplete;
    }
    bool list = flags & kw_list;
    if (ctx->token[0] == ques_char) {
        const char* help;
        if (flags & kw_hex)
            help = list ? "\n  The only option is: (hexadecimal value, hexadecimal value,..."
                        : "\n  The only option is: (hexadecimal value)";
        else if (flags & kw_octal)
            help = list ? "\n  The only option is: (octal value, octal value,...)"
                        : "\n  The only option is: (octal value)";
        else
            help = list ? "\n  The only option is: (decimal value, decimal value,...)"
                        : "\n  The only option is: (decimal value)";
        std::fputs(help, OutFile);
        return parse_help_shown;
    }
    if (flags & kw_hex) return list ? hex_list_to_bin(pb, ctx) : hex_to_bin(pb, ctx);
    if (flags & kw_octal) return list ? oct_list_to_bin(pb, ctx) : oct_to_bin(pb, ctx);
    return list ? dec_list_to_bin(pb, ctx) : dec_to_bin(pb, ctx);
}

// Keyword-conflict check.
constexpr int max_conflict_levels = 12;

bool check_for_noconflict(uint32_t name_length, const char* name, const char* keyword) {
    for (uint32_t i = 0; i < name_length; ++i)
        if (std::toupper(static_cast<unsigned char>(name[i])) !=
            std::toupper(static_cast<unsigned char>(keyword[i])))
            return false;
    return keyword[name_length] == '\0' && name[name_length] == '\0';
}

const char* recursive_noconflict(int depth, const _kw_desc** path, uint32_t name_length, const char* name,
                                 const _kw_desc* table) {
    if (depth >= max_conflict_levels) {
        std::fputs("\nError: Max levels exceeded when checking for conflict", OutFile);
        return nullptr;
    }
    path[depth] = table;
    for (const _kw_desc* entry = table;; ++entry) {
        if (!(entry->flags & (kw_hidden | kw_free_text | kw_unmatchable))) {
            if (entry->next) {
                bool on_path = false;
                for (int i = 0; i <= depth && !on_path; ++i) on_path = path[i] == entry->next;
                if (!on_path) {
                    const char* found = recursive_noconflict(depth + 1, path, name_length, name, entry->next);
                    if (found) return found;
                }
            }
            if (!(entry->flags & kw_disabled) && check_for_noconflict(name_length, name, entry->text))
                return entry->text;
        }
        if (entry->flags & kw_last) break;
    }
    return nullptr;
}

}  // namespace

int ss_parse(const _kw_desc* table, _parseblk* pb) {
    _parser_context ctx{table, nullptr, 0};
    pb->command_start = pb->cursor;
    if (pb->remaining == 0) return parse_syntax_error;
    if (legal(pb, &ctx) != parse_ok) return parse_syntax_error;
    int first = get_token(pb, &ctx);
    if (first == parse_syntax_error) return first;
    if (first != parse_ok) return parse_incomplete;

    const _kw_desc* current = table;
    for (;;) {
        ctx.entry = current;
        if (ctx.token[0] == ques_char) return proc_help(current);

        int status = find_match(pb, &ctx, current);
        if (status != parse_ok) return status;

        if (ctx.entry->flags & kw_assign) {
            status = proc_assign(pb, &ctx);
            if (status != parse_ok) return status;
        } else {
            skip_separators(pb);
        }
        status = proc_cvt_flags(pb, &ctx);
        if (status != parse_ok) return status;

        if (ctx.entry->action) {
            status = ctx.entry->action(pb);
            if (status != 0) return status;
        }
        if (!ctx.entry->next) {
            skip_separators(pb);
            if (pb->remaining == 0) return parse_ok;
            if (*pb->cursor == ques_char) {
                std::fputs("\n  This command has no additional keywords or parameters", OutFile);
                return parse_help_shown;
            }
            return parse_syntax_error;
        }
        current = ctx.entry->next;
        status = get_token(pb, &ctx);
        if (status == parse_syntax_error) return status;
        if (status != parse_ok) return parse_ok;
    }
}

const char* cci_scan_for_noconflict(uint32_t name_length, const char* name, const _kw_desc* table) {
    const _kw_desc* path[max_conflict_levels];
    return recursive_noconflict(0, path, name_length, name, table);
}
