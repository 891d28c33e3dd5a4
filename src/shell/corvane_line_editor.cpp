#include "corvane_line_editor.h"

#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <string>

#include "corvane_history.h"
#include "corvane_line.h"

#ifdef TALO_HAVE_LIBEDIT
#include <histedit.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <vector>

#include "corvane_complete.h"
#include "corvane_kwt.h"

namespace {
volatile sig_atomic_t g_interrupted = 0;

extern "C" void on_interrupt(int) { g_interrupted = 1; }

bool same_letter(char a, char b) {
    return std::toupper(static_cast<unsigned char>(a)) == std::toupper(static_cast<unsigned char>(b));
}

// The longest start all choices share, letter case aside (keywords may be
// typed in either case).
std::string common_start(const std::vector<std::string>& choices) {
    std::string start = choices.front();
    for (const std::string& c : choices) {
        size_t n = 0;
        while (n < start.size() && n < c.size() && same_letter(start[n], c[n])) ++n;
        start.resize(n);
    }
    return start;
}

int terminal_width() {
    struct winsize ws{};
    if (::ioctl(STDOUT_FILENO, TIOCGWINSZ, &ws) == 0 && ws.ws_col > 0) return ws.ws_col;
    return 80;
}

// The choices in columns across the screen, as a shell lists them.
void list_choices(const std::vector<std::string>& choices) {
    size_t widest = 0;
    for (const std::string& c : choices) widest = std::max(widest, c.size());
    size_t column = widest + 2;
    size_t per_line = std::max<size_t>(1, static_cast<size_t>(terminal_width()) / column);
    size_t rows = (choices.size() + per_line - 1) / per_line;
    std::fputs("\n", stdout);
    for (size_t r = 0; r < rows; ++r) {
        std::string text;
        for (size_t i = r; i < choices.size(); i += rows) {
            text += choices[i];
            if (i + rows < choices.size()) text.append(column - choices[i].size(), ' ');
        }
        std::fprintf(stdout, "%s\n", text.c_str());
    }
    std::fflush(stdout);
}
}  // namespace

struct ss_line_editor::impl {
    _parseblk* pb = nullptr;
    EditLine* el = nullptr;
    History* history = nullptr;
    std::string history_path;
    std::string prompt;
    // The line as the last Tab left it: a Tab on the same line lists.
    std::string after_last_tab;
    struct sigaction saved_interrupt{};

    static char* prompt_of(EditLine* el) {
        impl* self = nullptr;
        el_get(el, EL_CLIENTDATA, &self);
        return self->prompt.data();
    }

    static unsigned char complete(EditLine* el, int) {
        impl* self = nullptr;
        el_get(el, EL_CLIENTDATA, &self);
        return self->complete_here();
    }

    unsigned char complete_here() {
        const LineInfo* info = el_line(el);
        std::string before(info->buffer, static_cast<size_t>(info->cursor - info->buffer));
        bool again = before == after_last_tab;
        ss_completion found = ss_complete_line(Corvane_kwt, pb, before, before.size());
        size_t start = std::min(found.word_start, before.size());
        std::string typed = before.substr(start);

        auto replace_word = [&](const std::string& with) {
            el_deletestr(el, static_cast<int>(typed.size()));
            el_insertstr(el, with.c_str());
        };
        if (found.choices.size() == 1) {
            const std::string& only = found.choices.front();
            // A keyword taking a value ends in "="; the value follows at once.
            replace_word(!only.empty() && only.back() == '=' ? only : only + " ");
            after_last_tab.clear();
            return CC_REFRESH;
        }
        if (found.choices.size() > 1) {
            std::string shared = common_start(found.choices);
            if (shared.size() > typed.size()) {
                replace_word(shared);
                after_last_tab = before.substr(0, start) + shared;
                return CC_REFRESH;
            }
            after_last_tab = before;
            if (!again) return CC_REFRESH_BEEP;
            list_choices(found.choices);
            return CC_REDISPLAY;
        }
        after_last_tab = before;
        if (found.description.empty()) return CC_REFRESH_BEEP;
        if (!again) return CC_REFRESH_BEEP;
        std::fprintf(stdout, "\n%s\n", found.description.c_str());
        std::fflush(stdout);
        return CC_REDISPLAY;
    }
};

bool ss_line_editor_usable() { return ::isatty(STDIN_FILENO) && ::isatty(STDOUT_FILENO); }

ss_line_editor::ss_line_editor(_parseblk* pb) : impl_(std::make_unique<impl>()) {
    impl& d = *impl_;
    d.pb = pb;
    d.history = history_init();
    HistEvent ev;
    history(d.history, &ev, H_SETSIZE, 1000);
    history(d.history, &ev, H_SETUNIQUE, 1);
    d.history_path = ss_history_path();
    for (const std::string& line : ss_history_load(d.history_path)) history(d.history, &ev, H_ENTER, line.c_str());

    d.el = el_init("talo", stdin, stdout, stderr);
    el_set(d.el, EL_CLIENTDATA, &d);
    el_set(d.el, EL_EDITOR, "emacs");
    el_set(d.el, EL_PROMPT, &impl::prompt_of);
    el_set(d.el, EL_HIST, history, d.history);
    // The wide form keeps the names as given; the narrow one copies them and
    // never frees the copies.
    el_wset(d.el, EL_ADDFN, L"talo-complete", L"Complete the word from the command keywords", &impl::complete);
    el_set(d.el, EL_BIND, "^I", "talo-complete", nullptr);
    el_set(d.el, EL_BIND, "^R", "em-inc-search-prev", nullptr);

    struct sigaction ignore{};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGINT, &ignore, &d.saved_interrupt);
}

ss_line_editor::~ss_line_editor() {
    sigaction(SIGINT, &impl_->saved_interrupt, nullptr);
    el_end(impl_->el);
    history_end(impl_->history);
}

ss_edit_result ss_line_editor::read(const char* prompt, char* line, int* count) {
    impl& d = *impl_;
    d.prompt = prompt;
    // Nothing has Tabbed on this line yet.
    d.after_last_tab.assign(1, '\0');
    // The window may have changed size while the last command ran.
    el_resize(d.el);
    line[0] = '\0';
    *count = 0;

    // Only here does Ctrl-C do anything: without SA_RESTART the read under
    // the editor returns, and the line typed so far is dropped.
    g_interrupted = 0;
    struct sigaction catch_it{};
    catch_it.sa_handler = on_interrupt;
    sigemptyset(&catch_it.sa_mask);
    sigaction(SIGINT, &catch_it, nullptr);
    int length = 0;
    errno = 0;
    const char* text = el_gets(d.el, &length);
    int saved_errno = errno;
    struct sigaction ignore{};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGINT, &ignore, nullptr);

    if (g_interrupted) {
        std::fputs("^C", stdout);
        el_reset(d.el);
        return ss_edit_result::interrupted;
    }
    if (!text) {
        errno = saved_errno;
        return length < 0 && saved_errno != 0 ? ss_edit_result::error : ss_edit_result::end;
    }
    if (length >= ss_max_line) {
        // The plain reader's count for a line this long.
        *count = ss_max_line;
        return ss_edit_result::line;
    }
    std::memcpy(line, text, static_cast<size_t>(length));
    line[length] = '\0';
    *count = length;
    return ss_edit_result::line;
}

void ss_line_editor::remember(const char* line) {
    // A line giving a password is kept out of memory too: no Up recalls it.
    if (!ss_history_keeps(line)) return;
    HistEvent ev;
    history(impl_->history, &ev, H_ENTER, line);
    ss_history_append(impl_->history_path, line);
}

#else  // a build without libedit reads plain lines only

struct ss_line_editor::impl {};

bool ss_line_editor_usable() { return false; }
ss_line_editor::ss_line_editor(_parseblk*) {}
ss_line_editor::~ss_line_editor() = default;
ss_edit_result ss_line_editor::read(const char*, char* line, int* count) {
    line[0] = '\0';
    *count = 0;
    errno = 0;
    return ss_edit_result::end;
}
void ss_line_editor::remember(const char*) {}

#endif
