#include "corvane_tokenizer.h"

#include <cstdio>
#include <cstring>

#include "corvane_memory.h"
#include "corvane_namespace.h"

namespace {
const char ss_module[] = "corvane_tokenizer";

enum class element { step_over, wrapper, category, array };

// A tag name as it stands in the reply.
struct tag_name {
    const char* text;
    size_t length;
};

// One element whose contents are being tokenized.
struct open_element {
    element kind;
    tag_name name;             // the opening tag's name, owed a closing tag
    uint32_t limit;            // step-over, wrapper: limit to go on with afterwards
    _token_info* holder;       // category, array: the token it hangs on
    uint32_t per_row;          // array: items per row (X)
    uint32_t rows;             // array: rows announced (Y)
    uint32_t rows_left;        // array: rows still to read
    _token_info* row;          // array: the row being read
    _token_info* reserved_row; // the walker's reserved row when this element began
};

constexpr int handler_next = 0;
constexpr int handler_failed = 1;
constexpr int handler_level_end = 2;  // the item limit is used up
}  // namespace

struct ss_soap_walk {
    _parseblk* pb;
    _token_info* owner;  // the token the tree is built below: holds its arena
    const char* cursor;
    const char* end;  // the reply's terminating NUL
    // Set when the tree may point into the reply (which the root then
    // holds): a text is ended by writing a NUL into the reply behind the
    // cursor, where nothing is read again, instead of being copied.
    char* writable;
    _token_info* token;
    uint32_t limit;
    // An array row's `sub` is kept for the next row: a category or array met
    // while that row is still the current token hangs on a continuation
    // token after it instead, so neither link is overwritten.
    _token_info* reserved_row;
    open_element* open;
    size_t depth;
    size_t capacity;
};

namespace {
const char* find(const char* from, const char* end, char c) {
    return static_cast<const char*>(std::memchr(from, c, static_cast<size_t>(end - from)));
}

const char* label_or_empty(const _parseblk* pb) {
    return pb->state->label_path ? pb->state->label_path : "";
}

// Reads the opening tag at `text`: its name (a span of the reply, which
// outlives the walk) and the distance past its ">". Attributes are not read.
int ss_check_start_token(const char* text, const char* end, tag_name* name, size_t* advance) {
    const char* close = find(text, end, '>');
    if (!close) {
        std::fprintf(OutFile, "\nError: Did not find '>' after token starting here->\n%s", text);
        return 1;
    }
    const char* first = text;
    while (first < close && (*first == '<' || *first == ' ')) ++first;
    const char* last = first;
    while (last < close && *last != ' ' && *last != '=') ++last;
    if (last == first) {
        std::fprintf(OutFile, "\nError: Zero length token starting here->\n%s", text);
        return 1;
    }
    *name = tag_name{first, static_cast<size_t>(last - first)};
    *advance = static_cast<size_t>(close + 1 - text);
    return 0;
}

// Checks for the closing tag of `name` at `text` (a closing tag whose name
// merely begins with `name` passes) and gives the distance past its ">".
int ss_check_end_token(const char* text, const char* end, tag_name name, size_t* advance) {
    if (static_cast<size_t>(end - text) < name.length + 2 || text[0] != '<' || text[1] != '/' ||
        std::memcmp(text + 2, name.text, name.length) != 0) {
        std::fprintf(OutFile, "\nError: Did not find end token \"</%.*s\" starting here->\n%s",
                     static_cast<int>(name.length), name.text, text);
        return 1;
    }
    const char* close = find(text, end, '>');
    if (!close) {
        std::fprintf(OutFile, "\nError: Did not find '>' after token starting here->\n%s", text);
        return 1;
    }
    *advance = static_cast<size_t>(close + 1 - text);
    return 0;
}

// The closing tag of `name` at the cursor; moves past it.
int ss_check_end_token_span(ss_soap_walk* w, tag_name name) {
    size_t advance = 0;
    if (ss_check_end_token(w->cursor, w->end, name, &advance)) return 1;
    w->cursor += advance;
    return 0;
}

// Leading blanks, then decimal digits; saturates rather than wraps.
uint32_t read_count(const char* text, const char* end) {
    while (text < end && *text == ' ') ++text;
    uint64_t value = 0;
    for (; text < end && *text >= '0' && *text <= '9'; ++text) {
        value = value * 10 + static_cast<uint64_t>(*text - '0');
        if (value > UINT32_MAX) return UINT32_MAX;
    }
    return static_cast<uint32_t>(value);
}

open_element& push(ss_soap_walk* w, element kind, tag_name name) {
    if (w->depth == w->capacity) {
        size_t grown = w->capacity ? w->capacity * 2 : 32;
        auto* bigger = static_cast<open_element*>(
            ss_allocate_mem(grown * sizeof(open_element), ss_module, __LINE__));
        if (w->depth) std::memcpy(bigger, w->open, w->depth * sizeof(open_element));
        ss_deallocate_mem(w->open, ss_module, __LINE__);
        w->open = bigger;
        w->capacity = grown;
    }
    open_element& e = w->open[w->depth++];
    e = open_element{};
    e.kind = kind;
    e.name = name;
    e.reserved_row = w->reserved_row;
    return e;
}

_token_info* new_token(ss_soap_walk* w) { return ss_arena_token(w->owner, 0); }

// The text of the reply at `text`, ended at `length` by a NUL written over
// the reply character there (already passed by the cursor).
char* in_place(ss_soap_walk* w, const char* text, size_t length) {
    char* start = w->writable + (text - w->writable);
    start[length] = '\0';
    return start;
}

// An info token with its name (null: none) and value. In place, both stay
// in the reply: the name is ended at the character after it in its opening
// tag, the value at the "<" of the closing tag, or for an empty element
// (`end_of_empty`: its ">") there.
_token_info* new_info(ss_soap_walk* w, const char* name, size_t name_length, const char* value,
                      size_t value_length, const char* end_of_empty = nullptr) {
    if (w->writable && name) {
        _token_info* token = ss_arena_token(w->owner, 0);
        token->name = in_place(w, name, name_length);
        token->value = end_of_empty ? in_place(w, end_of_empty, 0) : in_place(w, value, value_length);
        return token;
    }
    _token_info* token = ss_arena_token(w->owner, name_length + 1 + value_length + 1);
    char* text = ss_token_text(token);
    if (name) {
        std::memcpy(text, name, name_length);
        token->name = text;
    }
    text += name_length + 1;
    std::memcpy(text, value, value_length);
    token->value = text;
    return token;
}

// The token a category or array element hangs on.
_token_info* hold_point(ss_soap_walk* w) {
    if (w->token == w->reserved_row) {
        _token_info* continuation = new_token(w);
        w->token->next = continuation;
        w->token = continuation;
    }
    return w->token;
}

// Ends the array at the top of the stack, or starts its next row. Rows are
// read while the reply has content for them: rows announced beyond it are
// not made up, so a huge count in a short reply costs nothing.
int next_row(ss_soap_walk* w) {
    open_element& array = w->open[w->depth - 1];
    const char* next_tag = find(w->cursor, w->end, '<');
    bool content = next_tag && next_tag[1] != '/';
    if (content && array.rows_left && array.per_row) {
        _token_info* row = new_token(w);
        (array.row ? array.row : array.holder)->sub = row;
        array.row = row;
        --array.rows_left;
        w->token = row;
        w->limit = array.per_row;
        w->reserved_row = row;
        return 0;
    }
    _token_info* continuation = new_token(w);
    array.holder->next = continuation;
    if (next_tag) w->cursor = next_tag;
    if (content) {
        std::fprintf(OutFile,
                     "\nError: Array holds more than %u rows of %u items starting here->\n%s",
                     array.rows, array.per_row, w->cursor);
        return 1;
    }
    if (ss_check_end_token_span(w, array.name)) return 1;
    w->reserved_row = array.reserved_row;
    --w->depth;
    w->token = continuation;
    w->limit = ss_no_item_limit;
    return 0;
}

// The contents of the element at the top of the stack have ended.
int end_element(ss_soap_walk* w) {
    open_element& top = w->open[w->depth - 1];
    switch (top.kind) {
    case element::array:
        return next_row(w);
    case element::category: {
        _token_info* continuation = new_token(w);
        top.holder->next = continuation;
        if (ss_check_end_token_span(w, top.name)) return 1;
        w->reserved_row = top.reserved_row;
        --w->depth;
        w->token = continuation;
        w->limit = ss_no_item_limit;
        return 0;
    }
    case element::step_over:
    case element::wrapper:
        // Both go on from the end of the chain their contents built (the
        // current token): for the envelope elements, which are followed only
        // by closing tags, that is the token they started at; for anything
        // after them it keeps the contents instead of overwriting them.
        if (ss_check_end_token_span(w, top.name)) return 1;
        w->limit = top.limit;
        --w->depth;
        return 0;
    }
    return 1;
}

// The dispatcher loop: one element per turn, until the level that was open
// at `base` ends. Leaves the cursor on the closing tag that ended it.
int walk(ss_soap_walk* w, size_t base) {
    for (;;) {
        const char* tag = find(w->cursor, w->end, '<');
        int result = handler_level_end;
        if (tag) w->cursor = tag;
        if (tag && tag[1] != '/') {
            int row = ss_id_token(tag);
            result = (row < 0 ? ss_parse_info : soap_parse_table[row].handler)(w);
        }
        if (result == handler_failed) return 1;
        if (result == handler_level_end) {
            if (w->depth == base) return 0;
            if (end_element(w)) return 1;
        }
    }
}

int tokenize(_parseblk* pb, const char** cursor, _token_info* token, uint32_t limit,
             bool whole_reply, char* writable = nullptr) {
    ss_soap_walk w{};
    w.pb = pb;
    w.writable = writable;
    w.owner = token;
    w.cursor = *cursor;
    w.end = *cursor + std::strlen(*cursor);
    w.token = token;
    w.limit = limit;
    int result = walk(&w, 0);
    if (result == 0 && whole_reply && *w.cursor == '<') {
        std::fprintf(OutFile, "\nError: Unexpected end token starting here->\n%s", w.cursor);
        result = 1;
    }
    ss_deallocate_mem(w.open, ss_module, __LINE__);
    *cursor = w.cursor;
    return result;
}

bool starts_with(const char* text, const char* prefix) {
    while (*prefix && *text == *prefix) ++text, ++prefix;
    return *prefix == '\0';
}
}  // namespace

const ss_soap_parse_entry soap_parse_table[] = {
    {"<SOAP:Envelope xmlns:SOAP=\"urn:schemas-xmlsoap-org:soap.v1\">", ss_parse_noop},
    {ss_vendor_reply_envelope, ss_parse_noop},
    {"<SOAP:Envelope>", ss_parse_noop},
    {"<SOAP:Body=tessel-brindle:qxapi.v1>", ss_parse_noop},
    {"<SOAP:Body>", ss_parse_noop},
    {"<object>", ss_parse_ignore_tag},
    {"<OBJECT>", ss_parse_ignore_tag},
    {"<membervirtualdisks>", ss_parse_ignore_tag},
    {"<member>", ss_parse_ignore_tag},
    {"<linkscells>", ss_parse_ignore_tag},
    {"<link>", ss_parse_ignore_tag},
    {"<remotevdisk>", ss_parse_ignore_tag},
    {"<remotevdiskmembers>", ss_parse_ignore_tag},
    {"<m:getResponse xmlns:m=\"FENN-URI\">", ss_parse_noop},
    {"<ArrayOfString xsd:type=\"u:string[", ss_parse_array},
    {"<Category>", ss_parse_category},
    {"<LabelName xsd:type=\"u:string\">", ss_parse_label},
    {"", nullptr},
};

int ss_id_token(const char* text) {
    for (int i = 0; soap_parse_table[i].text[0]; ++i)
        if (starts_with(text, soap_parse_table[i].text)) return i;
    return -1;
}

int ss_parse_soap_buffer(_parseblk* pb, const char* reply, _token_info* root) {
    const char* cursor = reply ? reply : "";
    return tokenize(pb, &cursor, root, ss_no_item_limit, true);
}

int ss_parse_soap_reply_in_place(_parseblk* pb, char* reply, _token_info* root) {
    if (!reply) return ss_parse_soap_buffer(pb, nullptr, root);
    ss_token_adopt_reply(root, reply);
    const char* cursor = reply;
    return tokenize(pb, &cursor, root, ss_no_item_limit, true, reply);
}

int ss_parse_soap(_parseblk* pb, const char** cursor, _token_info* token, uint32_t limit) {
    return tokenize(pb, cursor, token, limit, false);
}

int ss_parse_info(ss_soap_walk* w) {
    if (w->limit == 0) return handler_level_end;
    tag_name name{};
    size_t advance = 0;
    if (ss_check_start_token(w->cursor, w->end, &name, &advance)) return handler_failed;
    const char* body = w->cursor + advance;
    _token_info* token;
    if (name.text[name.length - 1] == '/') {
        token = new_info(w, name.text, name.length - 1, body, 0, body - 1);
        w->cursor = body;
    } else {
        const char* close = find(body, w->end, '<');
        if (!close) {
            std::fprintf(OutFile, "\nError: Did not find '<' after info starting here->\n%s",
                         w->cursor);
            return handler_failed;
        }
        w->cursor = close;
        bool closed = ss_check_end_token_span(w, name) == 0;
        // A token whose closing tag is wrong keeps its text but no name.
        token = new_info(w, closed ? name.text : nullptr, closed ? name.length : 0,
                                       body, static_cast<size_t>(close - body));
        if (!closed) {
            w->token->next = token;
            return handler_failed;
        }
    }
    w->token->next = token;
    w->token = token;
    if (w->limit != ss_no_item_limit) --w->limit;
    return handler_next;
}

int ss_parse_label(ss_soap_walk* w) {
    tag_name name{};
    size_t advance = 0;
    if (ss_check_start_token(w->cursor, w->end, &name, &advance)) return handler_failed;
    const char* body = w->cursor + advance;
    const char* close = find(body, w->end, '<');
    if (!close) {
        std::fprintf(OutFile, "\nError: Did not find '<' after info starting here->\n%s",
                     w->cursor);
        return handler_failed;
    }
    size_t length = static_cast<size_t>(close - body);
    while (length && body[length - 1] == ' ') --length;
    session_state* s = w->pb->state;
    ss_deallocate_mem(s->label_path, ss_module, __LINE__);
    s->label_path = ss_copy_count(body, length);
    w->cursor = close;
    return ss_check_end_token_span(w, name) ? handler_failed : handler_next;
}

int ss_parse_category(ss_soap_walk* w) {
    tag_name name{};
    size_t advance = 0;
    if (ss_check_start_token(w->cursor, w->end, &name, &advance)) return handler_failed;
    _token_info* holder = hold_point(w);
    const char* label = label_or_empty(w->pb);
    size_t label_length = std::strlen(label);
    _token_info* category = ss_arena_token(w->owner, label_length + 1);
    category->category = ss_token_text(category);
    std::memcpy(category->category, label, label_length);
    holder->sub = category;
    _token_info* members = new_token(w);
    category->next = members;
    open_element& e = push(w, element::category, name);
    e.holder = holder;
    w->reserved_row = nullptr;
    w->cursor += advance;
    w->token = members;
    w->limit = ss_no_item_limit;
    return handler_next;
}

int ss_parse_array(ss_soap_walk* w) {
    const char* bracket = find(w->cursor, w->end, '[');
    if (!bracket) {
        std::fprintf(OutFile, "\nError: Did not find '[' after array token starting here->\n%s",
                     w->cursor);
        return handler_failed;
    }
    tag_name name{};
    size_t advance = 0;
    if (ss_check_start_token(w->cursor, w->end, &name, &advance)) return handler_failed;
    const char* tag_end = w->cursor + advance - 1;  // its ">"
    const char* counts = bracket + 1;
    // The counts belong to this tag: a comma further on is not looked for.
    const char* comma = counts < tag_end ? find(counts, tag_end, ',') : nullptr;
    if (!comma) {
        std::fprintf(OutFile,
                     "\nError: Did not find ',' after first array count starting here->\n%s",
                     counts);
        return handler_failed;
    }
    _token_info* holder = hold_point(w);
    const char* label = label_or_empty(w->pb);
    size_t label_length = std::strlen(label);
    holder->array_label = ss_arena_text(w->owner, label_length + 1);
    std::memcpy(holder->array_label, label, label_length);
    open_element& e = push(w, element::array, name);
    e.holder = holder;
    e.per_row = read_count(counts, comma);
    e.rows = e.rows_left = read_count(comma + 1, tag_end);
    w->cursor = tag_end + 1;
    return next_row(w) ? handler_failed : handler_next;
}

namespace {
int open_plain(ss_soap_walk* w, element kind) {
    tag_name name{};
    size_t advance = 0;
    if (ss_check_start_token(w->cursor, w->end, &name, &advance)) return handler_failed;
    push(w, kind, name).limit = w->limit;
    w->cursor += advance;
    return handler_next;
}
}  // namespace

int ss_parse_noop(ss_soap_walk* w) { return open_plain(w, element::step_over); }

int ss_parse_ignore_tag(ss_soap_walk* w) { return open_plain(w, element::wrapper); }
