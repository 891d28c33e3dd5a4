// Each table lists, in order, the words that may come next: keyword text (or
// the description of a free-text value), flags, action routine, next table.
// The last row of a table carries kw_last.
#include "corvane_kwt.h"

#include "corvane_file.h"
#include "corvane_kwt_text.h"
#include "corvane_builtin.h"

namespace {
constexpr _kw_desc kw(const char* text, uint32_t flags, ss_routine action, const _kw_desc* next) {
    return _kw_desc{flags, 0, action, next, text};
}
constexpr uint32_t none = 0;
constexpr uint32_t last = kw_last;
}  // namespace

const _kw_desc Corvane_kwt[] = {
    kw(ss_text_exit, none, ss_ar_exit, nullptr),
    kw(ss_text_file, none, nullptr, kwt_file),
    kw(ss_text_help, last, ss_help, nullptr),
};

const _kw_desc kwt_file[] = {
    kw(ss_desc_filename, kw_free_text | last, ss_ar_filename, nullptr),
};
