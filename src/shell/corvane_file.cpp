#include "corvane_file.h"

#include <cerrno>
#include <cstring>

#include "corvane_line.h"
#include "corvane_loop.h"
#include "corvane_prompt.h"
#include "corvane_regression.h"

namespace {
// A file that names itself would otherwise nest until the stack runs out.
constexpr int max_file_nesting = 32;
int file_nesting = 0;
}  // namespace

void ss_commands_from_file(FILE* file, _parseblk* pb) {
    session_state* s = pb->state;
    char* caller_label_path = s->label_path;
    // One buffer per nesting level: a nested FILE runs inside this loop.
    char line[ss_max_line + 1];
    while (!(s->session_flags & (exit_requested | stopped_on_error))) {
        errno = 0;
        int count = ss_read_line(file, line);
        if (count < 0) {
            if (!std::feof(file)) {
                std::fprintf(OutFile, "\nError: Input stream error:\n       %s", std::strerror(errno));
                ss_mark_error(pb);
            }
            break;
        }
        if (count == ss_max_line) {
            std::fprintf(OutFile, "\nError: Input line too long, limit %d characters", ss_max_line);
            ss_discard_rest_of_line(file, line, count);
            ss_mark_error(pb);
            continue;
        }
        ss_strip_line_end(line);
        if (s->session_flags & regression_create) {
            ss_regression_record_command(line);
            std::printf("\n%s%c %s\n", ss_prompt_name(pb), '>', line);
        } else {
            std::fprintf(OutFile, "\n%s%c %s\n", ss_prompt_name(pb), '>', line);
        }
        ss_parse_command(pb, line, &command_delay);
    }
    s->label_path = caller_label_path;
    s->session_flags &= ~exit_requested;
}

int ss_ar_filename(_parseblk* pb) {
    pb->state->dispatch = ss_dr_filename;
    return 0;
}

int ss_dr_filename(_parseblk* pb) {
    if (pb->string_length > ss_max_line) {
        std::fprintf(OutFile, "\nError: Filename too long, limit %u characters", unsigned{ss_max_line});
        return 0;
    }
    if (file_nesting >= max_file_nesting) {
        std::fprintf(OutFile, "\nError: Command files nested too deeply, limit %d levels", max_file_nesting);
        return 1;
    }
    char name[ss_max_line + 1];
    std::memcpy(name, pb->string_value, pb->string_length);
    name[pb->string_length] = '\0';
    FILE* file = std::fopen(name, "r");
    if (!file) {
        std::fprintf(OutFile, "\nError: Open of %s failed, %s", name, std::strerror(errno));
        return 0;
    }
    // A reference records the file's commands, each with its own output;
    // the FILE line itself would run them all a second time on replay.
    ss_regression_take_back_command(pb);
    int caller_source = input_source;
    input_source = input_command_file;
    ++file_nesting;
    ss_commands_from_file(file, pb);
    --file_nesting;
    input_source = caller_source;
    std::fclose(file);
    return 0;
}
