// Placeholder until completion is written: offers nothing.
#include "corvane_complete.h"

ss_completion ss_complete_line(const _kw_desc*, _parseblk*, const std::string&, size_t cursor) {
    ss_completion none;
    none.word_start = cursor;
    return none;
}
