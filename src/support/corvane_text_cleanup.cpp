#include "corvane_text_cleanup.h"

#include <cstring>

namespace {
bool printable(char c) { return c >= 32 && c <= 126; }
}  // namespace

void ss_remove_unprintable_chars(char* text) {
    char* out = text;
    for (const char* in = text; *in; ++in)
        if (printable(*in)) *out++ = *in;
    *out = '\0';
}

void ss_pack_string(char* text) {
    char* out = text;
    for (const char* in = text; *in; ++in)
        if (!(in[0] == ' ' && in[1] == ' ')) *out++ = *in;
    *out = '\0';
}

void ss_strip_special_from_end(char* text) {
    size_t length = std::strlen(text);
    while (length && static_cast<signed char>(text[length - 1]) < 32) text[--length] = '\0';
}
