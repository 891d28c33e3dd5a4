// Base64Coder: decodes the Base64 text in which the management server sends
// controller data. Tolerant by design: white space anywhere is skipped,
// top-bit-set copies of alphabet characters count as the characters, and
// nothing is rejected. The decoded bytes are always followed by zero bytes.
#pragma once

#include <cstddef>

class Base64Coder {
public:
    Base64Coder() = default;
    virtual ~Base64Coder();
    Base64Coder(const Base64Coder&) = delete;
    Base64Coder& operator=(const Base64Coder&) = delete;

    virtual void Encode(const unsigned char* data, unsigned len);
    virtual void Decode(const unsigned char* text, unsigned len);
    virtual void Encode(const char* text);  // NUL-terminated; null does nothing
    virtual void Decode(const char* text);  // NUL-terminated; null does nothing

    // After Decode(text, len) the buffer holds at least len + 1 bytes: the
    // decoded bytes, then zeros. Null before the first decode.
    virtual const char* DecodedMessage() const;
    virtual const char* EncodedMessage() const;  // NUL-terminated
    // Bytes counted by the last decode: three per group of four, the number
    // of characters for a short last group.
    unsigned DecodedSize() const { return decoded_used_; }
    unsigned EncodedSize() const { return encoded_used_; }

private:
    // Grows a buffer in 4096-byte steps to hold at least n bytes and zero
    // fills it. False when memory ran out.
    static bool Reserve(unsigned char*& buffer, size_t& capacity, size_t n);

    unsigned char* decoded_ = nullptr;
    unsigned char* encoded_ = nullptr;
    size_t decoded_capacity_ = 0;
    size_t encoded_capacity_ = 0;
    unsigned decoded_used_ = 0;
    unsigned encoded_used_ = 0;
};
