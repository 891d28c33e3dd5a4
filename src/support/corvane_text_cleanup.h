// In-place clean-ups of texts taken from replies or lines before they are
// displayed or compared.
#pragma once

// Deletes every character outside 32 to 126 (high-bit bytes included).
void ss_remove_unprintable_chars(char* text);
// Collapses each run of blanks into one blank.
void ss_pack_string(char* text);
// Cuts trailing characters below 32 (high-bit bytes included); blanks stay.
void ss_strip_special_from_end(char* text);
