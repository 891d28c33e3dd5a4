#include "Base64Coder.h"

#include <array>
#include <cstring>
#include <new>

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr unsigned char kBad = 0xFE;
constexpr unsigned char kPad = 0xFF;

// Alphabet characters and their top-bit-set copies give their 6-bit value,
// "=" (either way) the pad mark, everything else kBad.
constexpr std::array<unsigned char, 256> make_table() {
    std::array<unsigned char, 256> table{};
    for (auto& entry : table) entry = kBad;
    for (unsigned char v = 0; v < 64; ++v) {
        auto c = static_cast<unsigned char>(kAlphabet[v]);
        table[c] = v;
        table[c | 0x80] = v;
    }
    table['='] = kPad;
    table['=' | 0x80] = kPad;
    return table;
}

constexpr std::array<unsigned char, 256> kTable = make_table();

bool is_skipped(unsigned char c) { return (c >= 7 && c <= 13) || c == ' '; }

// Padding counts as zero only where it may stand; anywhere else its mark
// enters the bit assembly like any unknown character.
unsigned value(unsigned char c, bool pad_allowed) {
    unsigned char v = kTable[c];
    return (v == kPad && pad_allowed) ? 0u : v;
}

}  // namespace

Base64Coder::~Base64Coder() {
    delete[] decoded_;
    delete[] encoded_;
}

bool Base64Coder::Reserve(unsigned char*& buffer, size_t& capacity, size_t n) {
    if (buffer == nullptr || n > capacity) {
        size_t wanted = n / 4096 * 4096 + 4096;
        auto* fresh = new (std::nothrow) unsigned char[wanted];
        if (fresh == nullptr) return false;
        delete[] buffer;
        buffer = fresh;
        capacity = wanted;
    }
    std::memset(buffer, 0, capacity);
    return true;
}

void Base64Coder::Decode(const unsigned char* text, unsigned len) {
    decoded_used_ = 0;
    encoded_used_ = 0;
    if (text == nullptr) len = 0;
    // Room for len + 1 bytes: callers copy as many bytes as the text had
    // characters, and the data must end in a zero.
    if (!Reserve(encoded_, encoded_capacity_, size_t{len} + 1) ||
        !Reserve(decoded_, decoded_capacity_, size_t{len} + 4)) {
        return;
    }
    for (unsigned i = 0; i < len; ++i)
        if (!is_skipped(text[i])) encoded_[encoded_used_++] = text[i];

    const unsigned char* in = encoded_;
    unsigned char* out = decoded_;
    unsigned left = encoded_used_;
    while (left > 0) {
        unsigned n = left < 4 ? left : 4;
        unsigned v0 = value(in[0], false);
        unsigned v1 = n > 1 ? value(in[1], false) : 0;
        unsigned v2 = n > 2 ? value(in[2], true) : 0;
        unsigned v3 = n > 3 ? value(in[3], true) : 0;
        out[0] = static_cast<unsigned char>((v0 << 2) | (v1 >> 4));
        out[1] = static_cast<unsigned char>((v1 << 4) | (v2 >> 2));
        out[2] = static_cast<unsigned char>((v2 << 6) | v3);
        decoded_used_ += n == 4 ? 3 : n;
        out += 3;
        in += n;
        left -= n;
    }
}

void Base64Coder::Decode(const char* text) {
    if (text == nullptr) return;
    Decode(reinterpret_cast<const unsigned char*>(text), static_cast<unsigned>(std::strlen(text)));
}

void Base64Coder::Encode(const unsigned char* data, unsigned len) {
    encoded_used_ = 0;
    if (data == nullptr) len = 0;
    size_t need = (size_t{len} + 2) / 3 * 4 + 1;
    if (!Reserve(encoded_, encoded_capacity_, need)) return;
    unsigned char* out = encoded_;
    for (unsigned i = 0; i < len; i += 3) {
        unsigned rest = len - i;
        unsigned b0 = data[i];
        unsigned b1 = rest > 1 ? data[i + 1] : 0;
        unsigned b2 = rest > 2 ? data[i + 2] : 0;
        *out++ = static_cast<unsigned char>(kAlphabet[b0 >> 2]);
        *out++ = static_cast<unsigned char>(kAlphabet[((b0 & 3) << 4) | (b1 >> 4)]);
        *out++ = rest > 1 ? static_cast<unsigned char>(kAlphabet[((b1 & 15) << 2) | (b2 >> 6)]) : '=';
        *out++ = rest > 2 ? static_cast<unsigned char>(kAlphabet[b2 & 63]) : '=';
    }
    encoded_used_ = static_cast<unsigned>(out - encoded_);
}

void Base64Coder::Encode(const char* text) {
    if (text == nullptr) return;
    Encode(reinterpret_cast<const unsigned char*>(text), static_cast<unsigned>(std::strlen(text)));
}

const char* Base64Coder::DecodedMessage() const { return reinterpret_cast<const char*>(decoded_); }

const char* Base64Coder::EncodedMessage() const {
    return encoded_ ? reinterpret_cast<const char*>(encoded_) : "";
}
