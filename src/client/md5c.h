// MD5 digest of a text as 32 upper-case hexadecimal digits: the proof of
// credentials on both the bridge and the legacy login.
#pragma once

// Digest of text's bytes up to its terminator (a null text counts as
// empty), written with "%02X" per byte into digest, which must hold 33
// characters. A null digest buffer is left alone.
void TslKlmoMD5Buffer(const char* text, char* digest);
