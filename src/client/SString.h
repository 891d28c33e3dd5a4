// SString: the client library's own heap string. Never throws; failures come
// back as status codes, buffers come from array new (so one can be handed to
// a caller of the C interface as it is), and a string whose buffer is gone (CleanupBuffer or a
// failed allocation) answers every query in a defined, harmless way.
#pragma once

#include <cstddef>

class SString {
public:
    SString();
    SString(const char* text);  // null gives the empty string
    SString(const SString& other);
    SString(SString&& other) noexcept;  // leaves other with no buffer
    virtual ~SString();

    // Status 0 on success, 1 when the source is null or memory ran out.
    virtual int operator=(const SString& other);
    virtual int operator=(const char* text);

    void InitBuffer();     // empty text
    void Clear();          // empty text
    void CleanupBuffer();  // no buffer at all
    int CopyNewBuffer(const char* text);
    int Concatenate(const char* text);

    int operator+=(const SString& other);
    int operator+=(const char* text);
    SString operator+(const SString& other) const;
    SString operator+(const char* text) const;

    // A missing buffer on either side makes two strings unequal under both
    // operators.
    bool operator==(const SString& other) const;
    bool operator==(const char* text) const;
    bool operator!=(const SString& other) const;
    bool operator!=(const char* text) const;

    char operator[](unsigned index) const;  // NUL outside the text
    const char* GetBufferPointer() const { return buf_; }
    int GetBufferSize() const;  // the length; -1 without a buffer
    bool IsEmpty() const { return buf_ == nullptr || len_ == 0; }

    // Indices of first occurrences, -1 when absent or out of range.
    int Find(char c) const;
    int Find(char c, int from) const;
    int Find(const char* text) const;
    int Find(const SString& text) const;
    int Find(const char* text, int from) const;
    int FindIndex(const char* text) const;
    int FindIndex(const char* text, int from) const;

    SString SubStrFrom(unsigned pos) const;
    // Characters from .. to-1; empty unless from < to and to is below the
    // length, so the last character of the text is never part of it.
    SString SubStrFromTo(unsigned from, unsigned to) const;

    // Spaces (0x20) only: -1 without a buffer, else 0.
    int RemovePrecedingSpaces();
    int RemoveTrailingSpaces();
    // count characters at start replaced by text: 1 for a null buffer or
    // text, -1 for a start outside the text, 1 when memory ran out, else 0.
    int Replace(int start, int count, const char* text);

    // Byte-range forms for the library's own text building. The bytes may
    // lie inside this string's buffer. 0, or 1 with the text unchanged when
    // memory ran out (AppendRange: also when there is no buffer).
    int AssignRange(const char* text, size_t n);
    int AppendRange(const char* text, size_t n);

    // For a large text filled in place, held once: room for n characters
    // in all (0, or 1 with the text unchanged when memory ran out).
    int Reserve(size_t n);
    // Where the next characters go and how many fit before the room ends;
    // CommitAppend(k) then makes k of them part of the text.
    char* SpareSpace(size_t& room);
    void CommitAppend(size_t n);
    // The characters, for rewrites in place that only shorten the text;
    // Truncate then sets the new length. Null without a buffer.
    char* MutableBuffer() { return buf_; }
    void Truncate(size_t n);  // keeps the first n characters (all when n is longer)
    // Hands the NUL-terminated buffer to the caller, who releases it with
    // array delete; the string is left without a buffer. Null when it has
    // none.
    char* Release();

private:
    char* buf_ = nullptr;
    size_t len_ = 0;
    size_t cap_ = 0;  // bytes allocated, terminator included
};

// The text for the C calls, "" for a string without a buffer.
inline const char* TextOf(const SString& s) { return s.GetBufferPointer() ? s.GetBufferPointer() : ""; }
// The length, 0 for a string without a buffer.
inline int SizeOf(const SString& s) { return s.GetBufferSize() > 0 ? s.GetBufferSize() : 0; }
