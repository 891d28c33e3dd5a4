// The few ways the command side reaches the outside world besides OutFile:
// standard input, whole-second sleeps and the time of day. Tests replace
// them so they never wait or need a terminal.
#pragma once

#include <cstdio>
#include <ctime>

// The stream keyboard lines, confirmations and "Press return" are read from.
FILE* ss_input_stream();
void ss_set_input_stream(FILE* stream);  // null restores stdin

using ss_sleep_fn = void (*)(unsigned seconds);
void ss_sleep(unsigned seconds);
void ss_set_sleep(ss_sleep_fn fn);  // null restores the real sleep

using ss_time_fn = time_t (*)();
time_t ss_time_now();
void ss_set_time(ss_time_fn fn);  // null restores the real clock

// The manager client library as the command side uses it; tests put a fake
// server behind it.
// Size of each version text field (EMVERSION's and DEBUG INFORMATION's).
constexpr int ss_version_field_size = 80;
struct ss_manager_client {
    int (*command_ex)(const char* request, char** response, int* length, int retries);
    int (*retries_required)(const char* response);
    int (*get_error_description)(int code, char* text, int size);
    void (*set_debug_mode)(int level, const char* file_name);
    // The ready-made diagnostic requests (see EMClientAPITNGDiag.h).
    int (*get_em_version)(const char* server, const char* user, const char* password, char* version, char* build);
    int (*discover_storage_cell)(const char* server, const char* user, const char* password);
    int (*start_dkex)(const char* server, const char* user, const char* password, const char* disks,
                      const char* cell, char** message);
    int (*stop_dkex)(const char* server, const char* user, const char* password, const char* cell, char** message);
    // is_summary: 1 when the reply held a summary, 0 for a refusal's text.
    int (*dkex_summary)(const char* server, const char* user, const char* password, const char* cell,
                        char** summary, int* is_summary);
    // The library's own version and build date, into two fields of
    // ss_version_field_size characters; a local call, no request.
    int (*get_version_information)(char* version, char* build_date);
};
const ss_manager_client& ss_client();
void ss_set_client(const ss_manager_client* client);  // null restores the library
// What last kept the library's debug log from working (0 none, else its
// code, with a line for the user in text); reading it clears it.
int ss_client_debug_log_status(char* text, int size);
