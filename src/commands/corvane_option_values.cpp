#include "corvane_option_values.h"

#include <cstdio>

#include "corvane_sentence.h"

void ss_queue_decimal(_parseblk* pb, const char* name, uint32_t number) {
    // Unsigned: a count typed above 2^31 goes out as typed, not negative.
    char digits[16];
    std::snprintf(digits, sizeof digits, "%u", number);
    ss_replace_soap_sentence(pb, name, digits);
}
