// Completion of a partly typed command line from the keyword tables the
// parser walks, and from the object names the session already holds.
#pragma once

#include <string>
#include <vector>

#include "corvane_parse.h"

struct ss_completion {
    // What the word being typed can become: keywords (with a trailing "="
    // for keywords that take a value) in table order, then the names of the
    // session's objects of the kind the position names, in list order and
    // in quotes where the parser needs them. Hidden keywords only when the
    // word already spells them in full.
    std::vector<std::string> choices;
    // Where the word being typed starts in the line.
    size_t word_start = 0;
    // In a free-text or value position: the text "?" help would show.
    std::string description;
};

// The completion of line[0, cursor) against `table`, as the parser would
// accept it. Never sends a request and never runs an action routine's side
// effects on the session.
ss_completion ss_complete_line(const _kw_desc* table, _parseblk* pb, const std::string& line, size_t cursor);
