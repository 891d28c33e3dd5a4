// The parse block and session state record: the two records every action
// and dispatch routine receives, with the session flags and parse statuses.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

struct _object_info;
struct _token_info;
struct _soap_sent_info;
struct session_state;

// Bits of session_state::session_flags.
inline constexpr uint32_t exit_requested = 0x01;
inline constexpr uint32_t debug_dump = 0x02;
inline constexpr uint32_t stop_on_error = 0x04;
inline constexpr uint32_t exit_without_pause = 0x08;
inline constexpr uint32_t stopped_on_error = 0x10;
inline constexpr uint32_t regression_create = 0x20;
inline constexpr uint32_t regression_test = 0x40;

// Bits of session_state::command_flags.
inline constexpr uint8_t show_full = 0x01;
inline constexpr uint8_t request_succeeded = 0x02;
inline constexpr uint8_t request_failed = 0x04;

// Results of ss_parse.
enum : int {
    parse_ok = 0,
    parse_action_failed = 1,
    parse_help_shown = 2,
    parse_token_not_found = 3,
    parse_ambiguous = 4,
    parse_incomplete = 5,
    parse_syntax_error = 6,
    parse_no_resources = 7,
};

// Where commands come from (input_source).
enum : int {
    input_none = 0,
    input_keyboard = 1,
    input_command_file = 2,
    input_invoke_line = 3,
};

constexpr int ss_object_kinds = 17;
constexpr size_t ss_soap_buffer_size = 30000;
constexpr int ss_max_numbers = 20;

struct _parseblk {
    char* command_start;
    char* cursor;
    uint32_t remaining;
    uint32_t number;
    uint32_t number_count;
    uint32_t number_list[ss_max_numbers];
    uint32_t string_length;
    char* string_value;  // points into the command text, not terminated
    session_state* state;
};

using ss_routine = int (*)(_parseblk*);

struct session_state {
    // Persistent part: kept from command to command.
    uint32_t session_flags;
    _object_info* object_list;
    char* manager_name;
    char* cell_name;
    char* cell_id;
    char* user_name;
    char* user_password;
    char* fenn_flags;
    // Working part: zeroed before every command, from here to the end.
    uint32_t duplicate_name_count[ss_object_kinds];
    uint8_t command_flags;
    uint32_t option_flags;
    ss_routine dispatch;
    uint32_t soap_length;
    uint32_t option_retries;
    uint32_t option_command_delay;
    uint8_t option_safe_delete;
    uint32_t option_width;
    _token_info* tokens;
    _soap_sent_info* sentences;
    char* label_path;
    char* object_name;
    char* new_name;
    char* soap_command;
    char* host_name;
    char* vdisk_name;
    char* dr_disk_group_name;
    uint8_t dr_storage_added;
    char* folder_name;
    char* dr_destination_name;
    char* remove_disk_name;
    char* source_name;
    char* content_length_field;  // points into soap_buffer
    char* storage_group_name;
    char* capture_file_name;
    char* capture_extension;  // points into capture_file_name
    char soap_buffer[ss_soap_buffer_size];
    char* response;  // owned by the client library's allocator (array delete)
};

constexpr size_t ss_working_state_offset = offsetof(session_state, duplicate_name_count);

// Session-wide globals.
extern _parseblk* GLOBAL_PARSEBLOCK;
extern FILE* OutFile;
extern uint32_t max_line_width;
extern uint32_t minutes_to_retry;
extern uint32_t command_delay;
extern uint8_t safe_delete;
extern int input_source;
inline constexpr size_t ss_temp_name_size = 4096;
extern char TempFileName[ss_temp_name_size];
extern int32_t TotalRegressionDifferences;
