#include "corvane_convert.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "corvane_state.h"

int ss_convert(uint32_t* value, const char* text, int base) {
    char* end = nullptr;
    errno = 0;
    unsigned long number = std::strtoul(text, &end, base);
    // strtoul takes "-5" as a huge number and saturates on overflow; neither
    // may pass for a value the user meant.
    if (end == text || errno == ERANGE || number > UINT32_MAX) {
        std::fprintf(OutFile, "\nError: Cannot convert %s to a number", text);
        return 1;
    }
    *value = static_cast<uint32_t>(number);
    return 0;
}

int check_end(const char* text) {
    for (; *text; ++text)
        if (*text != ' ') return 1;
    return 0;
}

int cvt_atox(const char* text, uint32_t* words, int count) {
    if (count <= 0) return 1;
    for (int i = 0; i < count; ++i) words[i] = 0;
    while (*text == ' ') ++text;
    bool digits = false;
    for (; *text && *text != ' '; ++text) {
        int c = std::toupper(static_cast<unsigned char>(*text));
        if (c == '-') continue;
        uint32_t digit;
        if (c >= '0' && c <= '9')
            digit = static_cast<uint32_t>(c - '0');
        else if (c >= 'A' && c <= 'F')
            digit = static_cast<uint32_t>(c - 'A' + 10);
        else
            return 1;
        if (words[count - 1] & 0xF0000000u) return 1;  // one more digit would not fit
        for (int i = count - 1; i > 0; --i) words[i] = (words[i] << 4) | (words[i - 1] >> 28);
        words[0] = (words[0] << 4) | digit;
        digits = true;
    }
    // Nothing but separators is no number either.
    return digits ? check_end(text) : 1;
}
