#include "corvane_capture_script.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

#include "corvane_catalogue.h"
#include "corvane_configuration.h"
#include "corvane_confirm.h"
#include "corvane_memory.h"
#include "corvane_seams.h"

const char* const step_names[ss_capture_step_count] = {"Step1A", "Step1B", "Step1C", "Step2", "Step3"};

ss_capture_script config_script;

namespace {

constexpr char ss_module[] = "corvane_capture_script";
constexpr char start_marker[] = "TALO CAPTURE script checksum start";
constexpr char end_marker[] = "TALO CAPTURE script checksum end: ";
constexpr size_t start_length = sizeof start_marker - 1;
constexpr size_t end_length = sizeof end_marker - 1;

inline uint32_t fold_byte(uint32_t value, unsigned char byte) {
    value ^= byte;
    return (value << 1) | (value >> 31);
}

int write_text(const char* text) { return ss_write_script(text, std::strlen(text)); }

int write_comment(const char* text) {
    return write_text("! ") || write_text(text) || write_text("\n");
}

void print_write_failure(int error) {
    std::fprintf(OutFile, "\nError: Cannot write ouput file.  Error detected:\n       %s", std::strerror(error));
}

void print_stream_error() { std::fprintf(OutFile, "\nError: Input stream error:\n       %s", std::strerror(errno)); }

// Reads the first `limit` bytes of the next line into `prefix` (stopping
// after a line feed): the count read, 0 at the end of the stream.
size_t read_prefix(FILE* stream, char* prefix, size_t limit) {
    size_t n = 0;
    int c;
    while (n < limit && (c = std::getc(stream)) != EOF) {
        prefix[n++] = static_cast<char>(c);
        if (c == '\n') break;
    }
    return n;
}

// Reads past the rest of a line whose prefix did not end it, folding its
// bytes when `sum` is given.
void finish_line(FILE* stream, const char* prefix, size_t n, uint32_t* sum) {
    if (n == 0 || prefix[n - 1] == '\n') return;
    for (int c; (c = std::getc(stream)) != EOF;) {
        if (sum) *sum = fold_byte(*sum, static_cast<unsigned char>(c));
        if (c == '\n') return;
    }
}

bool is_marker_line(const char* prefix, size_t n, const char* marker, size_t length) {
    return n >= 2 + length && std::memcmp(prefix + 2, marker, length) == 0;
}

// The number after the end marker, read in base 16 up to the first other
// character; false when it does not fit in 64 bits (it cannot match then).
bool read_hex(FILE* stream, unsigned long long& value) {
    value = 0;
    bool fits = true;
    for (int c; (c = std::getc(stream)) != EOF;) {
        int digit = c >= '0' && c <= '9'   ? c - '0'
                    : c >= 'a' && c <= 'f' ? c - 'a' + 10
                    : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                           : -1;
        if (digit < 0) break;
        if (value >> 60) fits = false;
        value = (value << 4) | static_cast<unsigned>(digit);
    }
    return fits;
}

}  // namespace

uint32_t ss_edc_fold(uint32_t value, const char* bytes, size_t count) {
    for (size_t i = 0; i < count; ++i) value = fold_byte(value, static_cast<unsigned char>(bytes[i]));
    return value;
}

void ss_take_capture_time() {
    time_t now = ss_time_now();
    char text[64] = {};
    if (!ctime_r(&now, text)) std::snprintf(text, sizeof text, "%lld", static_cast<long long>(now));
    size_t n = std::strlen(text);
    while (n > 0 && static_cast<unsigned char>(text[n - 1]) < 33) text[--n] = '\0';
    std::memcpy(config_script.time_text, text, sizeof text);
}

void ss_set_capture_extension(session_state* s) {
    char* name = s->capture_file_name;
    if (!name) return;
    // A dot in a folder name is not the file's extension.
    char* base = std::strrchr(name, '/');
    base = base ? base + 1 : name;
    char* dot = std::strchr(base, '.');
    s->capture_extension = dot ? dot : base + std::strlen(base);
}

int ss_write_script(const char* text, size_t length) {
    ss_capture_script& cs = config_script;
    if (cs.write_failed) return 1;
    if (length && std::fwrite(text, 1, length, cs.config_file) != length) {
        cs.write_failed = true;
        print_write_failure(errno ? errno : EIO);
        return 1;
    }
    if (cs.sealing) cs.checksum = ss_edc_fold(cs.checksum, text, length);
    return 0;
}

char* ss_generate_capture_filename(_parseblk* pb, int step) {
    session_state* s = pb->state;
    const char* name = s->capture_file_name;
    const char* extension = s->capture_extension ? s->capture_extension : name + std::strlen(name);
    size_t head = static_cast<size_t>(extension - name);
    size_t size = head + 1 + std::strlen(step_names[step]) + std::strlen(extension) + 1;
    auto* file_name = static_cast<char*>(ss_allocate_mem(size, ss_module, __LINE__));
    std::snprintf(file_name, size, "%.*s_%s%s", static_cast<int>(head), name, step_names[step], extension);
    return file_name;
}

int ss_open_config_file(_parseblk* pb, int step) {
    session_state* s = pb->state;
    ss_capture_script& cs = config_script;
    if (ss_check_cell_set(pb) != 0) return 1;
    cs.file_needed = 0;
    cs.write_failed = false;
    cs.sealing = false;
    cs.checksum = ss_edc_seed;
    cs.to_file = s->capture_file_name != nullptr;
    if (cs.to_file) {
        char* name = ss_generate_capture_filename(pb, step);
        std::fprintf(OutFile, "\nGenerating file %s", name);
        int fd = open(name, O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        cs.config_file = fd >= 0 ? fdopen(fd, "w+") : nullptr;
        if (!cs.config_file) {
            std::fprintf(OutFile, "\nError: Open of %s failed, %s", name, std::strerror(errno));
            if (fd >= 0) {
                close(fd);
                std::remove(name);
            }
            ss_deallocate_mem(name, ss_module, __LINE__);
            return 1;
        }
        cs.file_name = name;
        ss_deallocate_mem(name, ss_module, __LINE__);
        if (write_comment("")) return 1;
        cs.sealing = true;
        if (write_comment(start_marker)) return 1;
    } else {
        cs.config_file = stdout;
        std::fputs("\n\n\n", OutFile);
    }
    char line[256];
    std::snprintf(line, sizeof line, "CAPTURE CONFIGURATION %s on %s", step_names[step], cs.time_text);
    if (write_comment("") || write_comment(line) || write_comment("")) return 1;
    if (ss_write_script("! Manager: ", 11) || write_text(s->manager_name ? s->manager_name : "") ||
        write_text("\n") || ss_write_script("! System: ", 10) || write_text(s->cell_name ? s->cell_name : "") ||
        write_text("\n"))
        return 1;
    std::snprintf(line, sizeof line, "TALO Build %s for DORN Version %s", "7", "3.2");
    return write_comment("") || write_comment(line) || write_comment("");
}

int ss_do_edc() {
    ss_capture_script& cs = config_script;
    if (write_comment("")) return 1;
    cs.sealing = false;
    char line[64];
    std::snprintf(line, sizeof line, "%s%x", end_marker, cs.checksum);
    if (write_comment(line)) return 1;
    // Buffered writes fail here, not when they were made.
    if (std::fflush(cs.config_file) != 0) {
        cs.write_failed = true;
        print_write_failure(errno);
        return 1;
    }
    return 0;
}

int ss_close_config_file(_parseblk*, int status, int step) {
    ss_capture_script& cs = config_script;
    if (cs.to_file && cs.config_file) {
        if (status == 0 && ss_do_edc() != 0) status = 1;
        int closed = std::fclose(cs.config_file);
        int error = errno;
        cs.config_file = nullptr;
        if (closed != 0 && !cs.write_failed) {
            std::fprintf(OutFile, "\nError: Cannot close ouput file.  Error detected:\n       %s", std::strerror(error));
            status = 1;
        }
        if (status != 0 || !cs.file_needed) std::remove(cs.file_name.c_str());
    } else if (cs.config_file) {
        std::fflush(cs.config_file);
        cs.config_file = nullptr;
    }
    if (status != 0)
        std::fprintf(OutFile, "\n    CAPTURE CONFIGURATION %s failed", step_names[step]);
    else if (!cs.to_file || cs.file_needed)
        std::fprintf(OutFile, "\n    CAPTURE CONFIGURATION %s complete and successful", step_names[step]);
    else
        std::fprintf(OutFile,
                     "\n    CAPTURE CONFIGURATION %s complete and successful, but it was\n    determined that it was "
                     "unnecessary.  File not generated.",
                     step_names[step]);
    return status;
}

void ss_abandon_config_file() {
    ss_capture_script& cs = config_script;
    if (!cs.to_file || !cs.config_file) return;
    std::fclose(cs.config_file);
    cs.config_file = nullptr;
    std::remove(cs.file_name.c_str());
}

int check_for_overwrite(_parseblk* pb) {
    bool any = false;
    for (int step = 0; step < ss_capture_step_count; ++step) {
        char* name = ss_generate_capture_filename(pb, step);
        if (FILE* existing = std::fopen(name, "r")) {
            std::fclose(existing);
            if (!any) std::fputs("\nThe following file(s) already exist:", OutFile);
            any = true;
            std::fprintf(OutFile, "\n   %s", name);
        }
        ss_deallocate_mem(name, ss_module, __LINE__);
    }
    if (!any) return 0;
    return ss_are_you_sure("\n\nThe above file(s) will be overwritten if you continue") == 0 ? 0 : 1;
}

int ss_validate_header(FILE* stream, uint32_t* lines_before) {
    char prefix[2 + start_length];
    uint32_t count = 0;
    for (;;) {
        size_t n = read_prefix(stream, prefix, sizeof prefix);
        if (n == 0) return 1;
        if (is_marker_line(prefix, n, start_marker, start_length)) break;
        finish_line(stream, prefix, n, nullptr);
        ++count;
    }
    std::rewind(stream);
    *lines_before = count;
    return 0;
}

int ss_validate_stream(FILE* stream) {
    uint32_t before = 0;
    if (ss_validate_header(stream, &before) != 0) {
        if (std::ferror(stream)) {
            print_stream_error();
            return 1;
        }
        std::fputs("\nError: Not a CAPTURE generated script", OutFile);
        return 1;
    }
    char prefix[2 + end_length];
    for (uint32_t i = 0; i < before; ++i) finish_line(stream, prefix, read_prefix(stream, prefix, sizeof prefix), nullptr);
    uint32_t sum = ss_edc_seed;
    for (;;) {
        size_t n = read_prefix(stream, prefix, sizeof prefix);
        if (std::ferror(stream)) {
            print_stream_error();
            return 1;
        }
        if (n == 0) break;
        if (is_marker_line(prefix, n, end_marker, end_length)) {
            unsigned long long written = 0;
            if (read_hex(stream, written) && written == sum) {
                std::fputs("\nUnmodified CAPTURE script between checksum start and end", OutFile);
                return 0;
            }
            std::fputs("\nError: CAPTURE script has been modified", OutFile);
            return 1;
        }
        sum = ss_edc_fold(sum, prefix, n);
        finish_line(stream, prefix, n, &sum);
    }
    std::fputs("\nError: CAPTURE script has been modified", OutFile);
    return 1;
}

int ss_validate_configuration_dispatch(_parseblk* pb) {
    const char* name = pb->state->capture_file_name ? pb->state->capture_file_name : "";
    FILE* stream = std::fopen(name, "r");
    if (!stream) {
        std::fprintf(OutFile, "\nError: Open of %s failed, %s", name, std::strerror(errno));
        return 1;
    }
    int status = ss_validate_stream(stream);
    std::fclose(stream);
    return status;
}
