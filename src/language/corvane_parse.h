// The keyword-table parser: walks a tree of static keyword tables over one
// command line, converting values, running action routines and printing
// "?" help. Results are parse statuses (corvane_state.h).
#pragma once

#include <cstdint>

#include "corvane_state.h"

// Flags of a keyword-table entry.
enum : uint32_t {
    kw_decimal = 0x0001,
    kw_octal = 0x0002,
    kw_hex = 0x0004,
    kw_string = 0x0008,
    kw_assign = 0x0010,
    kw_hidden = 0x0020,
    kw_free_text = 0x0040,
    kw_unmatchable = 0x0080,
    kw_full_word = 0x0100,
    kw_disabled = 0x0200,
    kw_list = 0x0400,
    kw_last = 0x8000,
};

struct _kw_desc {
    uint32_t flags;
    uint32_t reserved;
    ss_routine action;
    const _kw_desc* next;
    const char* text;
};

struct _parser_context {
    const _kw_desc* entry;
    char* token;
    uint32_t token_length;
};

// Parses the text described by pb->cursor / pb->remaining against `table`.
int ss_parse(const _kw_desc* table, _parseblk* pb);

// Returns the keyword of the tree below `table` that equals `name` (ignoring
// case), or null when there is none.
const char* cci_scan_for_noconflict(uint32_t name_length, const char* name, const _kw_desc* table);
