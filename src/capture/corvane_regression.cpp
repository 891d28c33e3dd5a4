#include "corvane_regression.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "corvane_command_hook.h"
#include "corvane_line.h"
#include "corvane_prompt.h"
#include "corvane_regression_compare.h"

namespace {

constexpr uint32_t reference_width = 2048;
constexpr size_t max_file_name = 2048;

const char* const tokens_to_ignore[] = {
    "Available_storage_space", "Controller_time", "Created", "ElementRefreshStatus", "Hex_UUID", "ID",
    "Licenses", "LUNWWID", "Node_world_wide_name", "Occupancy", "Storage_space_used", "Total_capacity",
    "Total_controller_shelves", "Total_disks", "Total_disk_groups", "Total_disk_shelves", "Total_grouped_disks",
    "Total_loop_pairs", "Total_locatable_disks", "Total_storage_space", "Total_ungrouped_disks",
    "Total_unlocatable_devices", "World_Wide_ID", "World_Wide_Lun_Name", "",
};

uint32_t differences = 0;

// Recording: whether a command line was written yet, and where the latest
// one starts, so that REGRESSION CAPTURE EXIT can take its own line back out.
bool recorded_any = false;
long latest_command_line = 0;
const char* latest_command_text = nullptr;
bool recorded_before_latest = false;

// Replay: the temporary file of the command being run.
FILE* temp_file = nullptr;

// Recording and replay never nest: one reference file at a time.
int refuse_when_running(_parseblk* pb, ss_routine dispatch) {
    if (pb->state->session_flags & (regression_create | regression_test)) {
        std::fputs("\nError: Regression in some form is already running", stdout);
        return 1;
    }
    pb->state->dispatch = dispatch;
    return 0;
}

// The file name typed, or null after saying why it cannot be one.
bool copy_file_name(_parseblk* pb, char* name) {
    if (pb->string_length > max_file_name) {
        std::fprintf(OutFile, "\nError: Filename too long, limit %u characters", unsigned{max_file_name});
        return false;
    }
    std::memcpy(name, pb->string_value, pb->string_length);
    name[pb->string_length] = '\0';
    return true;
}

// The reference records every command line, credentials included: it is
// private and never written through a link.
FILE* create_reference(const char* name, const char** reason) {
    // Not blocking: a FIFO would otherwise hold the open until a reader came.
    int fd = open(name, O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd < 0) {
        *reason = std::strerror(errno);
        return nullptr;
    }
    // Emptied and made private only when it is a plain file that can be
    // ours: a device or another user's file is left as it was.
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        *reason = "not a regular file";
    } else if (fchmod(fd, 0600) != 0 || ftruncate(fd, 0) != 0 ||
               fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        *reason = std::strerror(errno);
    } else if (FILE* file = fdopen(fd, "w")) {
        return file;
    } else {
        *reason = std::strerror(errno);
    }
    close(fd);
    return nullptr;
}

// A private temporary file that nobody can plant or follow, removed from the
// file system as soon as it is open, so that no way out leaves it behind.
FILE* create_temp_file() {
    const char* dir = std::getenv("TMPDIR");
    if (!dir || !*dir) dir = "/tmp";
    std::snprintf(TempFileName, ss_temp_name_size, "%s/talo-regression-XXXXXX", dir);
    int fd = mkostemp(TempFileName, O_CLOEXEC);
    if (fd < 0) {
        int error = errno;
        std::fprintf(OutFile, "\nError: Cannot create a temporary file in %s, %s", dir, std::strerror(error));
        return nullptr;
    }
    unlink(TempFileName);
    FILE* file = fdopen(fd, "w+");
    if (!file) close(fd);
    return file;
}

// The next command's output starts from an empty file.
void empty_temp_file() {
    std::fflush(temp_file);
    if (ftruncate(fileno(temp_file), 0) != 0) {
        // Keeps comparing what it can: stale bytes then show as differences.
    }
    std::rewind(temp_file);
}

std::string stripped(std::string text) {
    while (!text.empty() && static_cast<signed char>(text.back()) < 32) text.pop_back();
    return text;
}

}  // namespace

int ss_ar_reg_create(_parseblk* pb) { return refuse_when_running(pb, ss_dr_reg_create); }

int ss_ar_reg_create_exit(_parseblk* pb) {
    pb->state->dispatch = ss_dr_reg_create_exit;
    return 0;
}

int ss_ar_reg_filename(_parseblk* pb) { return refuse_when_running(pb, ss_dr_reg_filename); }

int ss_dr_reg_create(_parseblk* pb) {
    char name[max_file_name + 1];
    if (!copy_file_name(pb, name)) return 1;
    const char* reason = "";
    FILE* reference = create_reference(name, &reason);
    if (!reference) {
        std::fprintf(OutFile, "\nError: Open of %s failed, %s", name, reason);
        return 1;
    }
    pb->state->session_flags |= regression_create;
    OutFile = reference;
    command_delay = 0;
    max_line_width = reference_width;
    recorded_any = false;
    latest_command_line = 0;
    latest_command_text = nullptr;
    return 0;
}

void ss_regression_record_command(const char* line) {
    latest_command_text = line;
    recorded_before_latest = recorded_any;
    // The first command line opens the file: no blank line before it, or
    // the replay would find a line of output before the first command.
    if (recorded_any) std::fputc('\n', OutFile);
    std::fflush(OutFile);
    latest_command_line = std::ftell(OutFile);
    std::fprintf(OutFile, "%s%s\n", "> ", line);
    recorded_any = true;
}

void ss_regression_take_back_command(_parseblk* pb) {
    if (!(pb->state->session_flags & regression_create) || pb->command_start != latest_command_text) return;
    std::fflush(OutFile);
    if (ftruncate(fileno(OutFile), latest_command_line) != 0) return;
    std::fseek(OutFile, latest_command_line, SEEK_SET);
    recorded_any = recorded_before_latest;
    latest_command_text = nullptr;
}

int ss_dr_reg_create_exit(_parseblk* pb) {
    session_state* s = pb->state;
    if (!(s->session_flags & regression_create)) {
        std::fputs("\nError: Regression capture is not already in progress", stdout);
        return 1;
    }
    s->session_flags &= ~regression_create;
    // The line of this command is no part of the session recorded: replayed,
    // it would only fail.
    std::fflush(OutFile);
    if (pb->command_start == latest_command_text && latest_command_line >= 0 &&
        ftruncate(fileno(OutFile), latest_command_line) != 0) {
        // The reference keeps the line; its replay reports it as a difference.
    }
    int closed = std::fclose(OutFile);
    OutFile = stdout;
    if (closed != 0) {
        std::fprintf(OutFile, "\nError: Cannot close the regression file:\n       %s", std::strerror(errno));
        return 1;
    }
    return 0;
}

bool ss_reg_ignore_token(_parseblk* pb, const char* name) {
    if (!(pb->state->session_flags & regression_create)) return false;
    for (const char* const* ignored = tokens_to_ignore; **ignored; ++ignored)
        if (std::strcmp(*ignored, name) == 0) return true;
    return false;
}

bool ss_regression_compare(FILE* reference, char* line) {
    ss_line_pieces expected(reference);
    ss_line_pieces actual(temp_file);
    long start = expected.tell();
    std::fflush(temp_file);
    std::rewind(temp_file);

    std::string want, got;
    size_t matched = 0;
    bool differ = false, more = false;
    for (;;) {
        more = expected.next(want);
        if (!more || ss_regression_command_line(expected, want)) break;
        if (!actual.next(got) || ss_regression_difference(want, got)) {
            differ = true;
            break;
        }
        ++matched;
    }
    if (!differ && actual.next(got)) differ = true;

    if (differ) {
        expected.seek(start);
        std::fputs("\nReference:", stdout);
        size_t n = 0;
        while ((more = expected.next(want)) && !ss_regression_command_line(expected, want))
            std::printf("\n %c %s", n++ < matched ? ' ' : '*', stripped(want).c_str());
        std::rewind(temp_file);
        ss_line_pieces again(temp_file);
        std::fputs("\n\nSystem under test:", stdout);
        n = 0;
        while (again.next(got)) std::printf("\n %c %s", n++ < matched ? ' ' : '*', stripped(got).c_str());
        std::fputs("\n", stdout);
        ++differences;
    }
    if (!more) return false;
    std::string command = stripped(want).substr(2);
    std::memcpy(line, command.c_str(), command.size() + 1);
    return true;
}

int ss_regression_test(_parseblk* pb, FILE* reference) {
    session_state* s = pb->state;
    char* caller_label_path = s->label_path;
    differences = 0;
    temp_file = create_temp_file();
    if (!temp_file) return 1;
    OutFile = temp_file;
    char line[ss_max_line + ss_regression_line_size + 1];
    while (ss_regression_compare(reference, line) && !(s->session_flags & exit_requested)) {
        empty_temp_file();
        std::printf("\n%s> %s\n", ss_prompt_name(pb), line);
        ss_run_command(pb, line, &command_delay);
        std::fputs("\n", OutFile);
    }
    OutFile = stdout;
    std::fclose(temp_file);
    temp_file = nullptr;
    s->label_path = caller_label_path;
    if (differences != 0) {
        std::printf("\n\n\nNumber of regression differences found: %u\n", differences);
        TotalRegressionDifferences += static_cast<int32_t>(differences);
    } else {
        std::fputs("\n\n\nNo regression differences found\n", stdout);
    }
    return 0;
}

int ss_dr_reg_filename(_parseblk* pb) {
    uint32_t caller_delay = command_delay;
    uint32_t caller_width = max_line_width;
    int caller_source = input_source;
    char name[max_file_name + 1];
    if (!copy_file_name(pb, name)) return 1;
    FILE* reference = std::fopen(name, "r");
    if (!reference) {
        std::fprintf(OutFile, "\nError: Open of %s failed, %s", name, std::strerror(errno));
        return 1;
    }
    command_delay = 0;
    max_line_width = reference_width;
    if (TotalRegressionDifferences == -1) TotalRegressionDifferences = 0;
    input_source = input_command_file;
    session_state* s = pb->state;
    s->session_flags |= regression_test;
    int status = ss_regression_test(pb, reference);
    s->session_flags &= ~regression_test;
    input_source = caller_source;
    std::fclose(reference);
    command_delay = caller_delay;
    max_line_width = caller_width;
    return status;
}
