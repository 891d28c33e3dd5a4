// Reading one line of input: a command from the keyboard or a command file,
// or the answer to a confirmation prompt.
#pragma once

#include <cstdio>

// Longest line read, newline included.
constexpr int ss_max_line = 2048;

// Reads one line of at most ss_max_line characters into `buffer` (which holds
// ss_max_line + 1). Returns the count read, or -1 when nothing could be read.
int ss_read_line(FILE* stream, char* buffer);
// After ss_read_line filled the buffer without reaching a newline: reads and
// drops the rest of that line, so no part of an over-long line ever runs as
// a command (or answers a prompt) of its own.
void ss_discard_rest_of_line(FILE* stream, const char* buffer, int count);
// Drops trailing blanks, control characters and bytes above 0x7F.
void ss_strip_line_end(char* line);
