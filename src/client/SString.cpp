#include "SString.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace {

char* allocate(size_t n) { return new (std::nothrow) char[n]; }

// First occurrence of needle in haystack; memmem is linear in glibc, so
// long texts never cost quadratic time.
const char* search(const char* hay, size_t hay_len, const char* needle, size_t needle_len) {
    if (needle_len == 0) return hay;
    return static_cast<const char*>(memmem(hay, hay_len, needle, needle_len));
}

}  // namespace

SString::SString() { AssignRange("", 0); }

SString::SString(const char* text) {
    if (text == nullptr) text = "";
    AssignRange(text, std::strlen(text));
}

SString::SString(const SString& other) {
    if (other.buf_ == nullptr)
        AssignRange("", 0);
    else
        AssignRange(other.buf_, other.len_);
}

SString::SString(SString&& other) noexcept
    : buf_(std::exchange(other.buf_, nullptr)),
      len_(std::exchange(other.len_, 0)),
      cap_(std::exchange(other.cap_, 0)) {}

SString::~SString() { delete[] buf_; }

int SString::AssignRange(const char* text, size_t n) {
    // No text is that long; refusing it also keeps n + 1 from wrapping.
    if (n >= PTRDIFF_MAX) return 1;
    // Reuse the block when it fits and is not wastefully large; memmove
    // because text may point into it.
    if (buf_ != nullptr && n + 1 <= cap_ && cap_ <= 2 * (n + 1) + 64) {
        std::memmove(buf_, text, n);
        buf_[n] = '\0';
        len_ = n;
        return 0;
    }
    char* fresh = allocate(n + 1);
    if (fresh == nullptr) return 1;
    std::memcpy(fresh, text, n);  // text may lie in the old block
    fresh[n] = '\0';
    delete[] buf_;
    buf_ = fresh;
    len_ = n;
    cap_ = n + 1;
    return 0;
}

int SString::AppendRange(const char* text, size_t n) {
    if (buf_ == nullptr) return 1;
    size_t need = len_ + n + 1;
    if (need <= cap_) {
        std::memmove(buf_ + len_, text, n);
    } else {
        // Geometric growth keeps repeated appends (a reply read in chunks)
        // linear overall.
        size_t grown = cap_ * 2 > need ? cap_ * 2 : need;
        char* fresh = allocate(grown);
        if (fresh == nullptr) return 1;
        std::memcpy(fresh, buf_, len_);
        std::memcpy(fresh + len_, text, n);  // text may lie in the old block
        delete[] buf_;
        buf_ = fresh;
        cap_ = grown;
    }
    len_ += n;
    buf_[len_] = '\0';
    return 0;
}

int SString::operator=(const SString& other) { return CopyNewBuffer(other.buf_); }
int SString::operator=(const char* text) { return CopyNewBuffer(text); }

void SString::InitBuffer() { AssignRange("", 0); }
void SString::Clear() { AssignRange("", 0); }

void SString::CleanupBuffer() {
    delete[] buf_;
    buf_ = nullptr;
    len_ = cap_ = 0;
}

int SString::CopyNewBuffer(const char* text) {
    if (text == nullptr) return 1;
    if (AssignRange(text, std::strlen(text)) == 0) return 0;
    CleanupBuffer();  // the old text is gone as far as callers know
    return 1;
}

int SString::Concatenate(const char* text) {
    if (text == nullptr || buf_ == nullptr) return 1;
    return AppendRange(text, std::strlen(text));
}

int SString::operator+=(const SString& other) { return Concatenate(other.buf_); }
int SString::operator+=(const char* text) { return Concatenate(text); }

SString SString::operator+(const SString& other) const {
    SString result(*this);
    result.Concatenate(other.buf_);
    return result;
}

SString SString::operator+(const char* text) const {
    SString result(*this);
    result.Concatenate(text);
    return result;
}

bool SString::operator==(const SString& other) const {
    if (buf_ == nullptr || other.buf_ == nullptr) return false;
    return len_ == other.len_ && std::memcmp(buf_, other.buf_, len_) == 0;
}

bool SString::operator==(const char* text) const {
    if (buf_ == nullptr || text == nullptr) return false;
    return std::strcmp(buf_, text) == 0;
}

bool SString::operator!=(const SString& other) const {
    if (buf_ == nullptr || other.buf_ == nullptr) return true;
    return !(*this == other);
}

bool SString::operator!=(const char* text) const {
    if (buf_ == nullptr || text == nullptr) return true;
    return !(*this == text);
}

char SString::operator[](unsigned index) const {
    if (buf_ == nullptr || index >= len_) return '\0';
    return buf_[index];
}

int SString::GetBufferSize() const { return buf_ ? static_cast<int>(len_) : -1; }

int SString::Find(char c) const { return Find(c, 0); }

int SString::Find(char c, int from) const {
    if (buf_ == nullptr || c == '\0') return -1;
    if (from < 0) from = 0;  // "at or after from" starts at the text's start
    if (static_cast<size_t>(from) >= len_) return -1;
    const void* hit = std::memchr(buf_ + from, c, len_ - static_cast<size_t>(from));
    return hit ? static_cast<int>(static_cast<const char*>(hit) - buf_) : -1;
}

int SString::Find(const char* text) const { return FindIndex(text); }
int SString::Find(const SString& text) const { return FindIndex(text.buf_); }
int SString::Find(const char* text, int from) const { return FindIndex(text, from); }

int SString::FindIndex(const char* text) const {
    if (buf_ == nullptr || text == nullptr) return -1;
    const char* hit = search(buf_, len_, text, std::strlen(text));
    return hit ? static_cast<int>(hit - buf_) : -1;
}

int SString::FindIndex(const char* text, int from) const {
    if (buf_ == nullptr || text == nullptr) return -1;
    if (from < 0) from = 0;
    if (static_cast<size_t>(from) >= len_) return -1;
    const char* hit = search(buf_ + from, len_ - static_cast<size_t>(from), text, std::strlen(text));
    return hit ? static_cast<int>(hit - buf_) : -1;
}

SString SString::SubStrFrom(unsigned pos) const {
    SString result;
    if (buf_ != nullptr && pos < len_) result.AssignRange(buf_ + pos, len_ - pos);
    return result;
}

SString SString::SubStrFromTo(unsigned from, unsigned to) const {
    SString result;
    if (buf_ != nullptr && from < to && to < len_) result.AssignRange(buf_ + from, to - from);
    return result;
}

int SString::RemovePrecedingSpaces() {
    if (buf_ == nullptr) return -1;
    size_t lead = 0;
    while (lead < len_ && buf_[lead] == ' ') ++lead;
    if (lead > 0) return AssignRange(buf_ + lead, len_ - lead);
    return 0;
}

int SString::RemoveTrailingSpaces() {
    if (buf_ == nullptr) return -1;
    size_t keep = len_;
    while (keep > 0 && buf_[keep - 1] == ' ') --keep;
    if (keep < len_) return AssignRange(buf_, keep);
    return 0;
}

int SString::Replace(int start, int count, const char* text) {
    if (buf_ == nullptr || text == nullptr) return 1;
    if (start < 0 || count < 0 || static_cast<size_t>(start) >= len_) return -1;
    size_t head = static_cast<size_t>(start);
    // A count running past the end replaces the rest rather than reading
    // beyond the text.
    size_t cut = static_cast<size_t>(count) < len_ - head ? static_cast<size_t>(count) : len_ - head;
    size_t insert = std::strlen(text);
    size_t n = len_ - cut + insert;
    char* fresh = allocate(n + 1);
    if (fresh == nullptr) return 1;
    std::memcpy(fresh, buf_, head);
    std::memcpy(fresh + head, text, insert);
    std::memcpy(fresh + head + insert, buf_ + head + cut, len_ - head - cut);
    fresh[n] = '\0';
    delete[] buf_;
    buf_ = fresh;
    len_ = n;
    cap_ = n + 1;
    return 0;
}

int SString::Reserve(size_t n) {
    if (n >= PTRDIFF_MAX) return 1;
    if (buf_ != nullptr && n + 1 <= cap_) return 0;
    char* fresh = allocate(n + 1);
    if (fresh == nullptr) return 1;
    if (buf_ != nullptr) std::memcpy(fresh, buf_, len_);
    fresh[buf_ != nullptr ? len_ : 0] = '\0';
    if (buf_ == nullptr) len_ = 0;
    delete[] buf_;
    buf_ = fresh;
    cap_ = n + 1;
    return 0;
}

char* SString::SpareSpace(size_t& room) {
    room = buf_ != nullptr ? cap_ - len_ - 1 : 0;
    return buf_ != nullptr ? buf_ + len_ : nullptr;
}

void SString::CommitAppend(size_t n) {
    if (buf_ == nullptr) return;
    if (n > cap_ - len_ - 1) n = cap_ - len_ - 1;
    len_ += n;
    buf_[len_] = '\0';
}

void SString::Truncate(size_t n) {
    if (buf_ == nullptr || n >= len_) return;
    len_ = n;
    buf_[len_] = '\0';
}

char* SString::Release() {
    char* out = std::exchange(buf_, nullptr);
    len_ = cap_ = 0;
    return out;
}
