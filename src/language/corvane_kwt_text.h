// Keyword texts and "?" help descriptions of the command language, one
// constant per distinct text, shared by every table that uses it.
#pragma once

// Keywords.
inline constexpr char ss_text_command_delay[] = "COMMAND_DELAY";
inline constexpr char ss_text_continue[] = "CONTINUE";
inline constexpr char ss_text_display_width[] = "DISPLAY_WIDTH";
inline constexpr char ss_text_exit[] = "EXIT";
inline constexpr char ss_text_exit_on_error[] = "EXIT_ON_ERROR";
inline constexpr char ss_text_file[] = "FILE";
inline constexpr char ss_text_halt_on_error[] = "HALT_ON_ERROR";
inline constexpr char ss_text_help[] = "HELP";
inline constexpr char ss_text_nocommand_delay[] = "NOCOMMAND_DELAY";
inline constexpr char ss_text_noretries[] = "NORETRIES";
inline constexpr char ss_text_nosafe_delete[] = "NOSAFE_DELETE";
inline constexpr char ss_text_on_error[] = "ON_ERROR";
inline constexpr char ss_text_options[] = "OPTIONS";
inline constexpr char ss_text_retries[] = "RETRIES";
inline constexpr char ss_text_safe_delete[] = "SAFE_DELETE";
inline constexpr char ss_text_set[] = "SET";
inline constexpr char ss_text_show[] = "SHOW";

// Descriptions of free-text values.
inline constexpr char ss_desc_filename[] = "Filename of Corvne commands";
