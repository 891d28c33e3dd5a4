// Keyword texts and "?" help descriptions of the command language, one
// constant per distinct text, shared by every table that uses it.
#pragma once

// Keywords.
inline constexpr char ss_text_exit[] = "EXIT";
inline constexpr char ss_text_file[] = "FILE";
inline constexpr char ss_text_help[] = "HELP";

// Descriptions of free-text values.
inline constexpr char ss_desc_filename[] = "Filename of Corvne commands";
