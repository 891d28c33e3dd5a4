#include "corvane_line.h"

#include <cstring>

int ss_read_line(FILE* stream, char* buffer) {
    int count = 0;
    while (count < ss_max_line) {
        int c = getc_unlocked(stream);
        if (c == EOF) break;
        // An embedded NUL would silently cut the command short; make it an
        // illegal character so the parser reports it instead.
        buffer[count++] = c == '\0' ? '\x7f' : static_cast<char>(c);
        if (c == '\n') break;
    }
    buffer[count] = '\0';
    return count == 0 ? -1 : count;
}

void ss_discard_rest_of_line(FILE* stream, const char* buffer, int count) {
    if (count < ss_max_line || buffer[count - 1] == '\n') return;
    for (int c = getc_unlocked(stream); c != EOF && c != '\n'; c = getc_unlocked(stream)) {
    }
}

void ss_strip_line_end(char* line) {
    size_t length = std::strlen(line);
    while (length > 0 && static_cast<signed char>(line[length - 1]) <= 32) line[--length] = '\0';
}
