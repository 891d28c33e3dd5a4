// Each table lists, in order, the words that may come next: keyword text (or
// the description of a free-text value), flags, action routine, next table.
// The last row of a table carries kw_last.
#include "corvane_kwt.h"

#include "corvane_builtin.h"
#include "corvane_file.h"
#include "corvane_kwt_text.h"
#include "corvane_options.h"

namespace {
constexpr _kw_desc kw(const char* text, uint32_t flags, ss_routine action, const _kw_desc* next) {
    return _kw_desc{flags, 0, action, next, text};
}
constexpr uint32_t none = 0;
constexpr uint32_t last = kw_last;
constexpr uint32_t assign = kw_assign;
constexpr uint32_t decimal = kw_decimal;
constexpr uint32_t free_text = kw_free_text;
}  // namespace

// The root table.

const _kw_desc Corvane_kwt[] = {
    kw(ss_text_exit, none, ss_ar_exit, nullptr),
    kw(ss_text_file, none, nullptr, kwt_file),
    kw(ss_text_help, none, ss_help, nullptr),
    kw(ss_text_set, none, nullptr, kwt_set),
    kw(ss_text_show, last, nullptr, kwt_show),
};

// Tables reached from FILE.

const _kw_desc kwt_file[] = {
    kw(ss_desc_filename, free_text | last, ss_ar_filename, nullptr),
};

// Tables reached from SET.

const _kw_desc kwt_set[] = {
    kw(ss_text_options, last, ss_set_options, kwt_set_options),
};

const _kw_desc kwt_set_options[] = {
    kw(ss_text_command_delay, assign | decimal, ss_option_command_delay, kwt_set_options),
    kw(ss_text_nocommand_delay, none, ss_option_nocommand_delay, kwt_set_options),
    kw(ss_text_display_width, assign | decimal, ss_width, kwt_set_options),
    kw(ss_text_on_error, assign, nullptr, kwt_set_error_options),
    kw(ss_text_retries, assign | decimal, ss_option_retries, kwt_set_options),
    kw(ss_text_noretries, none, ss_option_noretries, kwt_set_options),
    kw(ss_text_safe_delete, none, ss_option_safe_delete, kwt_set_options),
    kw(ss_text_nosafe_delete, last, ss_option_nosafe_delete, kwt_set_options),
};

const _kw_desc kwt_set_error_options[] = {
    kw(ss_text_continue, none, ss_continue, kwt_set_options),
    kw(ss_text_exit_on_error, none, ss_exit_on_error, kwt_set_options),
    kw(ss_text_halt_on_error, last, ss_halt_on_error, kwt_set_options),
};

// Tables reached from SHOW.

const _kw_desc kwt_show[] = {
    kw(ss_text_options, last, ss_show_options, nullptr),
};
