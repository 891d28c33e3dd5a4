#include "corvane_loop.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "corvane_kwt.h"
#include "corvane_line.h"
#include "corvane_line_editor.h"
#include "corvane_memory.h"
#include "corvane_parse.h"
#include "corvane_prompt.h"
#include "corvane_regression.h"
#include "corvane_seams.h"
#include "corvane_session.h"

namespace {
void commands_from_editor(_parseblk* pb);

bool is_blank_or_comment(const char* text) {
    while (*text == ' ') ++text;
    return *text == '\0' || *text == '!';
}
}  // namespace

namespace {
// What both keyboard loops do with a line read: refuse one over the limit,
// else record it while a reference is recorded, and run it.
void run_keyboard_line(_parseblk* pb, char* line, int count) {
    if (count == ss_max_line) {
        std::fprintf(OutFile, "\nError: Input line too long, limit %d characters", ss_max_line);
        return;
    }
    ss_strip_line_end(line);
    if (pb->state->session_flags & regression_create) ss_regression_record_command(line);
    ss_parse_command(pb, line, nullptr);
}
}  // namespace

void ss_mark_error(_parseblk* pb) {
    uint32_t& flags = pb->state->session_flags;
    flags = (flags & ~stopped_on_error) | ((flags & stop_on_error) ? stopped_on_error : 0u);
}

void ss_parse_command(_parseblk* pb, char* text, const uint32_t* delay) {
    if (is_blank_or_comment(text)) return;
    session_state* s = pb->state;
    pb->cursor = text;
    pb->remaining = static_cast<uint32_t>(std::strlen(text));
    ss_session_begin_command(pb);

    int status = ss_parse(Corvane_kwt, pb);
    int prompt_length = static_cast<int>(std::strlen(ss_prompt_name(pb)));
    int offset = static_cast<int>(pb->cursor - pb->command_start);
    switch (status) {
    case parse_ok:
        if (s->dispatch(pb) != 0 || (s->command_flags & request_failed)) ss_mark_error(pb);
        if (delay && *delay) {
            std::fflush(OutFile);
            ss_sleep(*delay);
        }
        break;
    case parse_action_failed:
        ss_mark_error(pb);
        break;
    case parse_help_shown:
        break;
    case parse_token_not_found:
        ss_mark_error(pb);
        std::fputs("\nError: Token not found", OutFile);
        break;
    case parse_ambiguous:
        ss_mark_error(pb);
        ss_print_caret(offset + prompt_length + 1);
        std::fputs("\nError: Ambiguous keyword at or before here", OutFile);
        break;
    case parse_incomplete:
        ss_mark_error(pb);
        std::fputs("\nError: Incomplete command", OutFile);
        break;
    case parse_syntax_error:
        ss_mark_error(pb);
        ss_print_caret(offset + prompt_length + 2);
        std::fputs("\nError: Syntax error at or near here", OutFile);
        break;
    case parse_no_resources:
        ss_mark_error(pb);
        std::fputs("\nError: Insufficient resources", OutFile);
        break;
    default:
        ss_mark_error(pb);
        std::fprintf(OutFile, "\nInternal error: Bad corvane_parse status = %x (hex)", status);
        break;
    }
    ss_release_working_mem();
    ss_leak_trim();
}

void ss_commands_from_invoke_line(_parseblk* pb, int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        // While recording, these are the reference's command lines too.
        if (pb->state->session_flags & regression_create) {
            ss_regression_record_command(argv[i]);
            std::printf("\n%s%c %s\n", ss_prompt_name(pb), '>', argv[i]);
        } else {
            std::fprintf(OutFile, "\n%s%c %s\n", ss_prompt_name(pb), '>', argv[i]);
        }
        ss_parse_command(pb, argv[i], nullptr);
        if (pb->state->session_flags & (exit_requested | stopped_on_error)) break;
    }
}

void ss_commands_from_keyboard(_parseblk* pb) {
    // Line editing is for a person at a terminal; piped or redirected input
    // is read exactly as before.
    if (ss_input_stream() == stdin && ss_line_editor_usable()) {
        commands_from_editor(pb);
        return;
    }
    static char line[ss_max_line + 1];
    while (!(pb->state->session_flags & (exit_requested | stopped_on_error))) {
        std::fflush(OutFile);
        std::printf("\n%s%c ", ss_prompt_name(pb), '>');
        std::fflush(stdout);
        errno = 0;
        int count = ss_read_line(ss_input_stream(), line);
        if (count < 0) {
            std::fprintf(OutFile, "\nError: Input stream error:\n       %s", std::strerror(errno));
            break;
        }
        if (count == ss_max_line) ss_discard_rest_of_line(ss_input_stream(), line, count);
        run_keyboard_line(pb, line, count);
    }
}

namespace {
// The keyboard loop through the line editor: the same prompt, messages and
// limits as the plain loop above.
void commands_from_editor(_parseblk* pb) {
    static char line[ss_max_line + 1];
    ss_line_editor editor(pb);
    while (!(pb->state->session_flags & (exit_requested | stopped_on_error))) {
        std::fflush(OutFile);
        std::fputs("\n", stdout);
        std::fflush(stdout);
        std::string prompt = std::string(ss_prompt_name(pb)) + "> ";
        int count = 0;
        ss_edit_result got = editor.read(prompt.c_str(), line, &count);
        if (got == ss_edit_result::interrupted) continue;
        if (got == ss_edit_result::end) errno = 0;  // as the plain loop reports the end of input
        if (got != ss_edit_result::line) {
            std::fprintf(OutFile, "\nError: Input stream error:\n       %s", std::strerror(errno));
            break;
        }
        if (count != ss_max_line) {
            ss_strip_line_end(line);
            editor.remember(line);
        }
        run_keyboard_line(pb, line, count);
    }
}
}  // namespace
