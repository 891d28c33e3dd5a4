#include "md5c.h"

#include <openssl/evp.h>

#include <cstring>

void TslKlmoMD5Buffer(const char* text, char* digest) {
    if (digest == nullptr) return;
    if (text == nullptr) text = "";
    unsigned char raw[EVP_MAX_MD_SIZE];
    unsigned int raw_len = 0;
    if (EVP_Digest(text, std::strlen(text), raw, &raw_len, EVP_md5(), nullptr) != 1 || raw_len != 16) {
        digest[0] = '\0';  // no digest to be had; an empty proof fails at the server
        return;
    }
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (unsigned i = 0; i < raw_len; ++i) {
        digest[2 * i] = kHex[raw[i] >> 4];
        digest[2 * i + 1] = kHex[raw[i] & 15];
    }
    digest[2 * raw_len] = '\0';
}
