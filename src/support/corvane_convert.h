// Numeric conversions of typed values: plain numbers in a given base and
// long hexadecimal numbers split into 32-bit words.
#pragma once

#include <cstdint>

// Converts `text` as an unsigned number in `base`; characters after the
// number are ignored. 1 after "\nError: Cannot convert %s to a number" when
// nothing converts or the number does not fit 32 bits, else 0.
int ss_convert(uint32_t* value, const char* text, int base);

// Hexadecimal text ("-" allowed anywhere, then blanks only) into `count`
// words, word 0 least significant. 0 on success, 1 on any error.
int cvt_atox(const char* text, uint32_t* words, int count);

// 0 when `text` holds only blanks, else 1.
int check_end(const char* text);
