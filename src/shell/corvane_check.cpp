#include "corvane_check.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "corvane_dispatch.h"
#include "corvane_file.h"
#include "corvane_kwt.h"
#include "corvane_line.h"
#include "corvane_memory.h"
#include "corvane_parse.h"
#include "corvane_prompt.h"
#include "corvane_seams.h"
#include "corvane_session.h"

namespace {

// As deep as FILE lets command files nest; the files named to --check are
// the first level, as if a FILE command had opened them.
constexpr int max_file_nesting = 32;

// Action routines only store what they parse, and no dispatch routine runs
// here; should one of them ever reach the manager all the same, the client
// below refuses the request, and the check fails instead of sending it.
int requests_refused = 0;

int refuse_command(const char*, char** response, int* length, int) {
    ++requests_refused;
    if (response) *response = nullptr;
    if (length) *length = 0;
    return 1;
}
int no_retries(const char*) { return 0; }
int no_description(int, char* text, int size) {
    if (text && size > 0) text[0] = '\0';
    return 1;
}
void no_debug_mode(int, const char*) {}
int refuse_em_version(const char*, const char*, const char*, char*, char*) { return refuse_command(nullptr, nullptr, nullptr, 0); }
int refuse_discover(const char*, const char*, const char*) { return refuse_command(nullptr, nullptr, nullptr, 0); }
int refuse_start_dkex(const char*, const char*, const char*, const char*, const char*, char** message) {
    if (message) *message = nullptr;
    return refuse_command(nullptr, nullptr, nullptr, 0);
}
int refuse_stop_dkex(const char*, const char*, const char*, const char*, char** message) {
    if (message) *message = nullptr;
    return refuse_command(nullptr, nullptr, nullptr, 0);
}
int refuse_dkex_summary(const char*, const char*, const char*, const char*, char** summary, int* is_summary) {
    if (summary) *summary = nullptr;
    if (is_summary) *is_summary = 0;
    return refuse_command(nullptr, nullptr, nullptr, 0);
}
int no_version_information(char*, char*) { return 1; }

const ss_manager_client refusing_client = {
    refuse_command,    no_retries,        no_description,   no_debug_mode,       refuse_em_version,
    refuse_discover,   refuse_start_dkex, refuse_stop_dkex, refuse_dkex_summary, no_version_information,
};

struct checker {
    _parseblk* pb;
    bool faulty = false;
    // A file met again (named twice, or naming itself until the nesting
    // limit) would report its faults again: each report is printed once.
    std::set<std::string> reported;

    void report(const std::string& text) {
        faulty = true;
        if (reported.insert(text).second) std::fputs(text.c_str(), stdout);
    }

    static std::string where(const char* name, long line_number) {
        return std::string(name) + ":" + std::to_string(line_number) + ": ";
    }

    // The faulty line, a caret under column `caret` of it (none when
    // negative), then the message lines.
    void report_line(const char* name, long line_number, const char* line, long caret,
                     const std::string& messages) {
        std::string prefix = where(name, line_number);
        std::string text = prefix + line + "\n";
        if (caret >= 0) text += std::string(prefix.size() + static_cast<size_t>(caret), ' ') + "^\n";
        text += messages;
        report(text);
    }

    void check_file(FILE* file, const char* name, int depth);
    void check_line(char* line, const char* name, long line_number, int depth);
};

// What an action routine printed, as whole lines. A caret it printed stands
// where it would under the line echoed after the prompt; it is moved under
// the same character of the line printed after `prefix_length` characters.
std::string action_messages(const char* printed, size_t prompt_length, size_t prefix_length) {
    std::string out;
    const char* p = printed;
    while (*p == '\n') ++p;
    while (*p) {
        const char* end = std::strchr(p, '\n');
        if (!end) end = p + std::strlen(p);
        std::string piece(p, end);
        size_t blanks = piece.find_first_not_of(' ');
        if (blanks != std::string::npos && piece.compare(blanks, std::string::npos, "^") == 0) {
            size_t echo_start = prompt_length + 2;
            size_t column = blanks > echo_start ? blanks - echo_start : 0;
            piece = std::string(prefix_length + column, ' ') + "^";
        }
        out += piece;
        out += '\n';
        p = *end ? end + 1 : end;
    }
    return out;
}

// Parses one line as the command loop would, with what the parse prints
// collected instead of shown; a FILE command is followed into its file.
void checker::check_line(char* line, const char* name, long line_number, int depth) {
    const char* start = line;
    while (*start == ' ') ++start;
    if (*start == '\0' || *start == '!') return;

    session_state* s = pb->state;
    char* printed = nullptr;
    size_t printed_size = 0;
    FILE* collected = open_memstream(&printed, &printed_size);
    if (!collected) {
        report(where(name, line_number) + "Error: Insufficient resources\n");
        return;
    }
    FILE* caller_out = OutFile;
    OutFile = collected;
    pb->cursor = line;
    pb->remaining = static_cast<uint32_t>(std::strlen(line));
    ss_session_begin_command(pb);
    int status = ss_parse(Corvane_kwt, pb);
    long offset = static_cast<long>(pb->cursor - pb->command_start);
    OutFile = caller_out;
    std::fclose(collected);

    std::string nested;
    bool follow = false;
    switch (status) {
    case parse_ok:
        // A command that stopped before any routine was chosen (SHOW alone)
        // fails when run, before it could send anything.
        if (s->dispatch == ss_incomplete_command) {
            report_line(name, line_number, line, -1, "Error: Incomplete command\n");
        } else if (s->dispatch == ss_dr_filename) {
            if (pb->string_length > ss_max_line) {
                report_line(name, line_number, line, -1,
                            std::string("Error: Filename too long, limit ") + std::to_string(ss_max_line) + " characters\n");
            } else if (depth >= max_file_nesting) {
                report_line(name, line_number, line, -1,
                            std::string("Error: Command files nested too deeply, limit ") + std::to_string(max_file_nesting) +
                                " levels\n");
            } else {
                nested.assign(pb->string_value, pb->string_length);
                follow = true;
            }
        }
        break;
    case parse_help_shown:
        // "?" only shows help, in a file as at the keyboard: not a fault.
        break;
    case parse_action_failed:
        report_line(name, line_number, line, -1,
                    action_messages(printed, std::strlen(ss_prompt_name(pb)),
                                    where(name, line_number).size()));
        break;
    case parse_token_not_found:
        report_line(name, line_number, line, -1, "Error: Token not found\n");
        break;
    case parse_ambiguous:
        // TALO's caret stands one column left of the cursor here.
        report_line(name, line_number, line, offset > 0 ? offset - 1 : 0,
                    "Error: Ambiguous keyword at or before here\n");
        break;
    case parse_incomplete:
        report_line(name, line_number, line, -1, "Error: Incomplete command\n");
        break;
    case parse_syntax_error:
        report_line(name, line_number, line, offset, "Error: Syntax error at or near here\n");
        break;
    case parse_no_resources:
        report_line(name, line_number, line, -1, "Error: Insufficient resources\n");
        break;
    default: {
        char text[80];
        std::snprintf(text, sizeof text, "Internal error: Bad corvane_parse status = %x (hex)\n",
                      static_cast<unsigned>(status));
        report_line(name, line_number, line, -1, text);
        break;
    }
    }
    std::free(printed);
    ss_release_working_mem();
    ss_leak_trim();

    if (!follow) return;
    FILE* file = std::fopen(nested.c_str(), "r");
    if (!file) {
        const char* why = std::strerror(errno);
        report_line(name, line_number, line, -1, std::string("Error: Open of ") + nested + " failed, " + why + "\n");
        return;
    }
    check_file(file, nested.c_str(), depth + 1);
    std::fclose(file);
}

// Reads a file as the FILE loop does: a line too long is reported and
// dropped whole, a read error ends the file.
void checker::check_file(FILE* file, const char* name, int depth) {
    char line[ss_max_line + 1];
    long line_number = 1;
    for (;;) {
        errno = 0;
        int count = ss_read_line(file, line);
        if (count < 0) {
            if (!std::feof(file))
                report(where(name, line_number) + "Error: Input stream error:\n       " + std::strerror(errno) +
                       "\n");
            return;
        }
        long this_line = line_number;
        if (count == ss_max_line) ss_discard_rest_of_line(file, line, count);
        ++line_number;
        if (count == ss_max_line) {
            report(where(name, this_line) + "Error: Input line too long, limit " + std::to_string(ss_max_line) +
                   " characters\n");
            continue;
        }
        ss_strip_line_end(line);
        check_line(line, name, this_line, depth);
    }
}

}  // namespace

int ss_check_main(int count, char** names) {
    OutFile = stdout;
    _parseblk* pb = ss_session_create();
    ss_set_client(&refusing_client);
    // A confirmation asked while parsing (DEBUG ARE_YOU_SURE) reads no keyboard.
    FILE* no_input = std::fopen("/dev/null", "r");
    if (no_input) ss_set_input_stream(no_input);
    input_source = input_command_file;

    checker check{pb, false, {}};
    for (int i = 0; i < count; ++i) {
        FILE* file = std::fopen(names[i], "r");
        if (!file) {
            const char* why = std::strerror(errno);
            check.report(std::string(names[i]) + ": Error: Open of " + names[i] + " failed, " + why + "\n");
            continue;
        }
        check.check_file(file, names[i], 1);
        std::fclose(file);
    }
    if (requests_refused) {
        std::printf("Internal error: %d request(s) refused while checking\n", requests_refused);
        check.faulty = true;
    }

    ss_set_input_stream(nullptr);
    if (no_input) std::fclose(no_input);
    ss_set_client(nullptr);
    ss_session_destroy(pb);
    std::fflush(stdout);
    return check.faulty ? 1 : 0;
}
