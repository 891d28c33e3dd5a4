#include "corvane_loop.h"

#include <cerrno>
#include <cstring>

#include "corvane_builtin.h"
#include "corvane_kwt.h"
#include "corvane_memory.h"
#include "corvane_parse.h"
#include "corvane_seams.h"

namespace {
const char ss_module[] = "corvane_main";

bool is_blank_or_comment(const char* text) {
    while (*text == ' ') ++text;
    return *text == '\0' || *text == '!';
}

void print_caret(int width) { std::fprintf(OutFile, "%*s^", width, ""); }
}  // namespace

const char* ss_prompt_name(const _parseblk* pb) {
    const session_state* s = pb->state;
    if (s->session_flags & (regression_create | regression_test)) return "RegressionTest";
    if (s->cell_name) return s->cell_name;
    return "NoSystemSelected";
}

void ss_mark_error(_parseblk* pb) {
    uint32_t& flags = pb->state->session_flags;
    flags = (flags & ~stopped_on_error) | ((flags & stop_on_error) ? stopped_on_error : 0u);
}

int ss_read_line(FILE* stream, char* buffer) {
    int count = 0;
    while (count < ss_max_line) {
        int c = getc_unlocked(stream);
        if (c == EOF) break;
        // An embedded NUL would silently cut the command short; make it an
        // illegal character so the parser reports it instead.
        buffer[count++] = c == '\0' ? '\x7f' : static_cast<char>(c);
        if (c == '\n') break;
    }
    buffer[count] = '\0';
    return count == 0 ? -1 : count;
}

void ss_strip_line_end(char* line) {
    size_t length = std::strlen(line);
    while (length > 0 && static_cast<signed char>(line[length - 1]) <= 32) line[--length] = '\0';
}

void ss_parse_command(_parseblk* pb, char* text, const uint32_t* delay) {
    if (is_blank_or_comment(text)) return;
    session_state* s = pb->state;
    pb->cursor = text;
    pb->remaining = static_cast<uint32_t>(std::strlen(text));
    std::memset(reinterpret_cast<char*>(s) + ss_working_state_offset, 0,
                sizeof(session_state) - ss_working_state_offset);
    s->dispatch = ss_incomplete_command;
    s->label_path = static_cast<char*>(ss_allocate_mem(1, ss_module, __LINE__));

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
        print_caret(offset + prompt_length + 1);
        std::fputs("\nError: Ambiguous keyword at or before here", OutFile);
        break;
    case parse_incomplete:
        ss_mark_error(pb);
        std::fputs("\nError: Incomplete command", OutFile);
        break;
    case parse_syntax_error:
        ss_mark_error(pb);
        print_caret(offset + prompt_length + 2);
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
        std::fprintf(OutFile, "\n%s%c %s\n", ss_prompt_name(pb), '>', argv[i]);
        ss_parse_command(pb, argv[i], nullptr);
        if (pb->state->session_flags & (exit_requested | stopped_on_error)) break;
    }
}

void ss_commands_from_keyboard(_parseblk* pb) {
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
        if (count == ss_max_line) {
            std::fprintf(OutFile, "\nError: Input line too long, limit %d characters", ss_max_line);
            continue;
        }
        ss_strip_line_end(line);
        if (OutFile != stdout) std::fprintf(OutFile, "\n%s%s\n", "> ", line);
        ss_parse_command(pb, line, nullptr);
    }
}
