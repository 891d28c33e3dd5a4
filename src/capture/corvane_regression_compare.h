// Comparing a replayed command's output with its reference: line by line,
// trailing control characters ignored, "##IGNORE##" ending what counts.
#pragma once

#include <cstdio>
#include <string>

inline constexpr char ss_regression_ignore_marker[] = "##IGNORE##";
inline constexpr size_t ss_regression_line_size = 2048;

// True when the lines differ.
bool ss_regression_difference(std::string expected, std::string actual);

// Reads a stream in pieces of at most 2048 characters (a longer line gives
// several), knowing which pieces begin a line.
class ss_line_pieces {
public:
    explicit ss_line_pieces(FILE* stream) : stream_(stream) {}
    // The next piece, its line feed included; false at the end.
    bool next(std::string& piece);
    bool began_line() const { return began_line_; }
    // Back to a position taken at the start of a line.
    void seek(long position);
    long tell() const { return std::ftell(stream_); }

private:
    FILE* stream_;
    bool at_line_start_ = true;
    bool began_line_ = true;
};

// Whether a piece is a command line of a reference: "> " starting a line.
bool ss_regression_command_line(const ss_line_pieces& reader, const std::string& piece);
