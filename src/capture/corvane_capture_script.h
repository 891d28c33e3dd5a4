// The capture scripts themselves: the step files' names, their comment
// header, the checksum sealing everything from the start marker to the end
// line, the removal of failed or unnecessary step files, the overwrite
// confirmation and CAPTURE VALIDATE.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "corvane_state.h"

inline constexpr int ss_capture_step_count = 5;
extern const char* const step_names[ss_capture_step_count];

inline constexpr uint32_t ss_edc_seed = 69;
// Folds bytes into a checksum: XOR with each byte, then rotate left by one.
uint32_t ss_edc_fold(uint32_t value, const char* bytes, size_t count);

// The script being written, and what the writing helpers keep track of.
struct ss_capture_script {
    FILE* config_file = nullptr;  // the step's file, or stdout without a file name
    bool to_file = false;
    std::string file_name;  // the open step file's
    bool write_failed = false;  // a write failed and was reported
    uint8_t file_needed = 0;
    uint32_t checksum = ss_edc_seed;  // over what was written since the start marker
    bool sealing = false;             // the start marker has been written
    char time_text[64] = {};          // the capture time, taken once per capture
};
extern ss_capture_script config_script;

// Takes the capture time text (the seam's time, in ctime form, no newline).
void ss_take_capture_time();
// Points capture_extension at the first "." of the file name's last path
// component, or at its end.
void ss_set_capture_extension(session_state* s);

// Writes text to the script (and into the checksum once sealing began):
// 0, or 1 after printing the write failure.
int ss_write_script(const char* text, size_t length);

char* ss_generate_capture_filename(_parseblk* pb, int step);
int ss_open_config_file(_parseblk* pb, int step);
int ss_close_config_file(_parseblk* pb, int status, int step);
int ss_do_edc();
int check_for_overwrite(_parseblk* pb);
// Removes the open step file without sealing it (the program is about to end).
void ss_abandon_config_file();

// Finds the start marker: 0 and the number of lines before it (stream
// rewound), or 1 when there is none.
int ss_validate_header(FILE* stream, uint32_t* lines_before);
// The checksum check of an open stream, with its messages: 0 when unmodified.
int ss_validate_stream(FILE* stream);
