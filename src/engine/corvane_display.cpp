#include "corvane_display.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "corvane_memory.h"

namespace {
const char ss_module[] = "corvane_display";

ss_ignore_token_fn g_ignore = nullptr;

// Output in many small pieces: the stream is not shared between threads, so
// its lock is not taken piece by piece.
void put(const char* text, size_t length) { fwrite_unlocked(text, 1, length, OutFile); }

uint32_t name_width() { return std::min<uint32_t>(max_line_width / 3, 50); }

// Levels deeper than the one that still leaves the value column inside the
// display width are printed at that level: the layout stays exact wherever a
// value has room, and the output grows with the reply, not with the square
// of its depth.
uint32_t shown_level(int level) {
    uint64_t value_column = name_width() + 3;
    if (level <= 0 || value_column >= max_line_width) return 0;
    uint64_t deepest = (max_line_width - 1 - value_column) / 2;
    return static_cast<uint32_t>(std::min<uint64_t>(static_cast<uint64_t>(level), deepest));
}

// One piece of the text [*position, end) from `column`.
void print_piece(uint32_t column, const char** position, const char* end) {
    const char* text = *position;
    size_t remaining = static_cast<size_t>(end - text);
    // No room at all (a width smaller than the name column): the rest goes
    // on this line rather than nothing, so printing always moves on.
    if (column + static_cast<uint64_t>(remaining) <= max_line_width || column >= max_line_width) {
        put(text, remaining);
        *position = end;
        return;
    }
    size_t room = max_line_width - column;
    size_t cut = room;
    for (size_t i = room; i >= 1; --i) {
        if (text[i] == ' ') {
            cut = i;
            break;
        }
    }
    put(text, cut);
    text += cut;
    if (text < end && *text == ' ') ++text;
    *position = text;
}

// The clean-up of a value in one pass, as line ends and tabs to blanks
// (ss_space_chars), then ss_remove_unprintable_chars, then ss_pack_string
// would leave it. Writes to `out` (which may be `text`); returns the length.
size_t clean_value(char* out, const char* text) {
    char* end = out;
    for (; *text; ++text) {
        char c = *text;
        if (c == '\n' || c == '\t')
            c = ' ';
        else if (c < 32 || c > 126)
            continue;
        if (c == ' ' && end > out && end[-1] == ' ') continue;
        *end++ = c;
    }
    *end = '\0';
    return static_cast<size_t>(end - out);
}

void blanks(size_t count) {
    static const char spaces[] = "                                                                ";
    while (count) {
        size_t piece = std::min(count, sizeof spaces - 1);
        put(spaces, piece);
        count -= piece;
    }
}

// Prints the cleaned text [text, end) from `column`, wrapping.
void print_cleaned(uint32_t column, const char* text, const char* end) {
    print_piece(column, &text, end);
    while (text < end) {
        put("\n", 1);
        blanks(column);
        print_piece(column, &text, end);
    }
}

// The scratch copy each value is cleaned into, grown as needed and reused.
struct scratch {
    char* text = nullptr;
    size_t size = 0;

    // Room for a copy of `length` characters and a NUL.
    char* room(size_t length) {
        if (length + 1 > size) {
            ss_deallocate_mem(text, ss_module, __LINE__);
            size = std::max(length + 1, size * 2);
            text = static_cast<char*>(ss_allocate_mem(size, ss_module, __LINE__));
        }
        return text;
    }
    ~scratch() { ss_deallocate_mem(text, ss_module, __LINE__); }
};

void print_named(_parseblk* pb, const _token_info* token, int level, scratch& buffer) {
    size_t field = name_width() + 2 * size_t{shown_level(level)};
    size_t length = std::strlen(token->name);
    put("\n", 1);
    if (length > field) {
        put(token->name, length);
        put(" :\n", 3);
        blanks(field + 3);
    } else {
        blanks(field - length);
        put(token->name, length);
        put(" : ", 3);
    }
    if (g_ignore && g_ignore(pb, token->name)) {
        put("##IGNORE##", 10);
        return;
    }
    const char* value = token->value ? token->value : "";
    char* text = buffer.room(std::strlen(value));
    print_cleaned(static_cast<uint32_t>(field + 3), text, text + clean_value(text, value));
}

void heading(_parseblk* pb, const _token_info* below, int row, int level) {
    int indent = static_cast<int>(2 * shown_level(level));
    if (!below->category) {
        const char* label = pb->state->label_path;
        if (label && *label)
            std::fprintf(OutFile, "\n%*s%s [%d]:", indent, "", label, row);
        else
            std::fprintf(OutFile, "\n%*sMember [%d]:", indent, "", row);
    } else if (*below->category) {
        std::fprintf(OutFile, "\n%*s%s:", indent, "", below->category);
    }
}

// A chain, or what hangs below a token; the nesting of the tree is kept on
// this stack instead of the call stack.
struct pending {
    bool below;          // false: a chain; true: what hangs below `token`
    _token_info* token;  // next token of the chain, or the token to go below
    int row;
    int level;
};

struct pending_stack {
    pending* items = nullptr;
    size_t count = 0;
    size_t capacity = 0;

    void push(pending item) {
        if (count == capacity) {
            size_t grown = capacity ? capacity * 2 : 32;
            auto* bigger =
                static_cast<pending*>(ss_allocate_mem(grown * sizeof(pending), ss_module, __LINE__));
            if (count) std::memcpy(bigger, items, count * sizeof(pending));
            ss_deallocate_mem(items, ss_module, __LINE__);
            items = bigger;
            capacity = grown;
        }
        items[count++] = item;
    }
    ~pending_stack() { ss_deallocate_mem(items, ss_module, __LINE__); }
};

void dump(_parseblk* pb, pending start) {
    pending_stack stack;
    scratch buffer;
    stack.push(start);
    while (stack.count) {
        pending& top = stack.items[stack.count - 1];
        _token_info* token = top.token;
        if (!top.below) {
            if (!token) {
                --stack.count;
                continue;
            }
            int level = top.level;
            top.token = token->next;
            if (token->name) print_named(pb, token, level, buffer);
            if (token->sub) stack.push({true, token, 0, level + 1});
            continue;
        }
        _token_info* below = token->sub;
        if (!below) {
            --stack.count;
            continue;
        }
        if (token->array_label) {
            session_state* s = pb->state;
            ss_deallocate_mem(s->label_path, ss_module, __LINE__);
            s->label_path = ss_copy_string(token->array_label);
        }
        heading(pb, below, top.row, top.level);
        int level = top.level;
        top.token = below;
        ++top.row;
        stack.push({false, below->next, 0, level});
    }
}
}  // namespace

void ss_soap_print_tokens(_parseblk* pb, _token_info* root) { ss_soap_dump_tokens_list(pb, root, 0); }

void ss_soap_dump_tokens_list(_parseblk* pb, _token_info* token, int level) {
    dump(pb, {false, token, 0, level});
}

void ss_soap_dump_tokens_array(_parseblk* pb, _token_info* token, int row, int level) {
    if (token) dump(pb, {true, token, row, level});
}

void ss_print_token_value(uint32_t column, char* text) {
    print_cleaned(column, text, text + clean_value(text, text));
}

void ss_print_noindent(uint32_t column, const char** position) {
    print_piece(column, position, *position + std::strlen(*position));
}

void ss_space_chars(char c, char* text) {
    for (; *text; ++text)
        if (*text == c) *text = ' ';
}

void ss_set_display_ignore(ss_ignore_token_fn fn) { g_ignore = fn; }
