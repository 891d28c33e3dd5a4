// The diagnostic commands that ask the management server: EMVERSION,
// REDISCOVER and the disk exerciser. Each goes through one ready-made
// request of the client library rather than the usual request sentences.
#include <cstdio>
#include <string>
#include <string_view>

#include "corvane_catalogue.h"
#include "corvane_debug.h"
#include "corvane_seams.h"

namespace {

constexpr int error_text_size = 2048;

// The library wants the bare host; manager_name carries ":port".
std::string manager_host(const session_state* s) {
    std::string_view name = s->manager_name;
    return std::string(name.substr(0, name.find(':')));
}

const char* or_empty(const char* text) { return text ? text : ""; }

int report_library_failure(int code) {
    char text[error_text_size] = {};
    ss_client().get_error_description(code, text, error_text_size);
    std::fprintf(OutFile, "\nError: %s", text);
    return 1;
}

// A text the library handed over, printed after `prefix` and released. The
// library returns array-new texts.
void print_and_release(const char* prefix, char*& text) {
    std::fputs(prefix, OutFile);
    std::fputs(text, OutFile);
    delete[] text;
    text = nullptr;
}

// START and STOP: the library answers code 0 even when the server refused,
// and puts the server's status message in `message` only then; a refusal
// must fail the command so that ON_ERROR and the exit status see it.
int finish_exerciser_request(int code, char* message) {
    bool refused = message != nullptr && *message != '\0';
    if (message) print_and_release("\nError: ", message);
    if (code != 0) return report_library_failure(code);
    return refused ? 1 : 0;
}

// The library matches each name as a prefix of a disk name, so an empty
// name (",," or ", ,") would pick the first disk of the system. Every piece
// before a comma must therefore hold a name; the piece after the last comma
// may be empty, as a trailing comma adds no name. (A list that is empty or
// blank as a whole does not get past the parser.)
bool every_name_given(std::string_view list) {
    for (size_t comma; (comma = list.find(',')) != std::string_view::npos; list.remove_prefix(comma + 1)) {
        std::string_view piece = list.substr(0, comma);
        if (piece.find_first_not_of(" \t") == std::string_view::npos) return false;
    }
    return true;
}

// Callers have checked that a system is selected.
int start_exerciser(_parseblk* pb, const std::string& disks) {
    session_state* s = pb->state;
    char* message = nullptr;
    int code = ss_client().start_dkex(manager_host(s).c_str(), or_empty(s->user_name), or_empty(s->user_password),
                                      disks.c_str(), s->cell_id, &message);
    return finish_exerciser_request(code, message);
}

// How the library's own text begins when a reply held no summary and no
// status message.
constexpr std::string_view no_summary_prefix = "Error:";

}  // namespace

int ss_ar_emversion(_parseblk* pb) {
    pb->state->dispatch = ss_dr_emversion;
    return 0;
}

int ss_dr_emversion(_parseblk* pb) {
    session_state* s = pb->state;
    if (ss_check_manager_set(pb) != 0) return 1;
    char version[ss_version_field_size] = {};
    char build[ss_version_field_size] = {};
    int code = ss_client().get_em_version(manager_host(s).c_str(), or_empty(s->user_name),
                                          or_empty(s->user_password), version, build);
    if (code != 0) return report_library_failure(code);
    std::fprintf(OutFile, "\nElement manager information (at %s)\n  Version: %s\n  Build: %s", s->manager_name,
                 version, build);
    return 0;
}

int ss_ar_rediscover(_parseblk* pb) {
    pb->state->dispatch = ss_dr_rediscover;
    return 0;
}

int ss_dr_rediscover(_parseblk* pb) {
    session_state* s = pb->state;
    if (ss_check_manager_set(pb) != 0) return 1;
    int code = ss_client().discover_storage_cell(manager_host(s).c_str(), or_empty(s->user_name),
                                                 or_empty(s->user_password));
    return code == 0 ? 0 : report_library_failure(code);
}

int ss_ar_exercisestartall(_parseblk* pb) {
    pb->state->dispatch = ss_dr_exercisestartall;
    return 0;
}

int ss_dr_exercisestartall(_parseblk* pb) { return ss_check_cell_set(pb) != 0 ? 1 : start_exerciser(pb, ""); }

int ss_ar_exercisestart(_parseblk* pb) {
    pb->state->dispatch = ss_dr_exercisestart;
    return 0;
}

int ss_dr_exercisestart(_parseblk* pb) {
    // string_value points into the command text, which the dispatch still sees.
    std::string disks(pb->string_value ? pb->string_value : "", pb->string_value ? pb->string_length : 0);
    if (ss_check_cell_set(pb) != 0) return 1;
    if (!every_name_given(disks)) {
        std::fputs("\nError: Empty disk name in the list", OutFile);
        return 1;
    }
    return start_exerciser(pb, disks);
}

int ss_ar_exercisestop(_parseblk* pb) {
    pb->state->dispatch = ss_dr_exercisestop;
    return 0;
}

int ss_dr_exercisestop(_parseblk* pb) {
    session_state* s = pb->state;
    if (ss_check_cell_set(pb) != 0) return 1;
    char* message = nullptr;
    int code = ss_client().stop_dkex(manager_host(s).c_str(), or_empty(s->user_name), or_empty(s->user_password),
                                     s->cell_id, &message);
    return finish_exerciser_request(code, message);
}

int ss_ar_exercisesummary(_parseblk* pb) {
    pb->state->dispatch = ss_dr_exercisesummary;
    return 0;
}

int ss_dr_exercisesummary(_parseblk* pb) {
    session_state* s = pb->state;
    if (ss_check_cell_set(pb) != 0) return 1;
    char* summary = nullptr;
    int is_summary = 0;
    int code = ss_client().dkex_summary(manager_host(s).c_str(), or_empty(s->user_name),
                                        or_empty(s->user_password), s->cell_id, &summary, &is_summary);
    // Without a summary in the reply the command has failed even though the
    // exchange went through: the text is then the server's refusal, shown as
    // an error, or the library's own "Error: ..." placeholder.
    if (summary) {
        bool as_error = !is_summary && !std::string_view(summary).starts_with(no_summary_prefix);
        print_and_release(as_error ? "\nError: " : "\n", summary);
    }
    if (code != 0) return report_library_failure(code);
    return is_summary ? 0 : 1;
}
