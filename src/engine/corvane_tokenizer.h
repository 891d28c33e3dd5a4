// The reply tokenizer: walks the server's XML reply once, front to back, and
// builds the token tree. It knows a fixed table of element openings (envelope
// and wrapper elements, labels, categories, arrays); every other element is a
// plain name/value token. Nesting is kept on an explicit stack, so neither
// long chains nor deep nesting in a reply can exhaust the call stack.
#pragma once

#include <cstdint>

#include "corvane_state.h"
#include "corvane_token.h"

// The item limit meaning "no limit".
constexpr uint32_t ss_no_item_limit = UINT32_MAX;

// Tokenizes the whole NUL-terminated reply below `root`. 0, or 1 after
// printing an error; a partly built tree stays below `root` either way.
int ss_parse_soap_buffer(_parseblk* pb, const char* reply, _token_info* root);
// As ss_parse_soap_buffer, for a new[]-allocated reply that the root takes
// over: the tree points into the reply instead of copying its texts, so a
// reply is held once. The reply is changed (texts end in NULs) and is
// deleted with the tree.
int ss_parse_soap_reply_in_place(_parseblk* pb, char* reply, _token_info* root);

// Tokenizes from *cursor (inside a NUL-terminated reply) into the chain of
// `token`, taking at most `limit` plain elements, up to the closing tag that
// ends this level (the cursor is left on it) or the end of the text.
int ss_parse_soap(_parseblk* pb, const char** cursor, _token_info* token, uint32_t limit);

// The walker state the element handlers work on.
struct ss_soap_walk;
using ss_soap_handler = int (*)(ss_soap_walk*);

struct ss_soap_parse_entry {
    const char* text;  // opening text, compared as a prefix at the "<"
    ss_soap_handler handler;
};

// The element table, in search order; ends with an empty text.
extern const ss_soap_parse_entry soap_parse_table[];

// Index of the first table row whose text starts `text`, or -1.
int ss_id_token(const char* text);

// Element handlers (soap_parse_table); any other element is an info element.
int ss_parse_info(ss_soap_walk* walk);
int ss_parse_label(ss_soap_walk* walk);
int ss_parse_category(ss_soap_walk* walk);
int ss_parse_array(ss_soap_walk* walk);
int ss_parse_noop(ss_soap_walk* walk);
int ss_parse_ignore_tag(ss_soap_walk* walk);
