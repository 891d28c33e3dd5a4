#include "corvane_regression_compare.h"

#include <cstring>

namespace {
void strip_end(std::string& text) {
    while (!text.empty() && static_cast<signed char>(text.back()) < 32) text.pop_back();
}
}  // namespace

bool ss_regression_difference(std::string expected, std::string actual) {
    strip_end(expected);
    strip_end(actual);
    size_t marker = expected.find(ss_regression_ignore_marker);
    if (marker == std::string::npos) return expected != actual;
    return actual.size() < marker || actual.compare(0, marker, expected, 0, marker) != 0;
}

bool ss_line_pieces::next(std::string& piece) {
    piece.clear();
    // Byte by byte, so that a NUL in the data is compared like any other byte.
    int c;
    while (piece.size() < ss_regression_line_size && (c = std::getc(stream_)) != EOF) {
        piece.push_back(static_cast<char>(c));
        if (c == '\n') break;
    }
    if (piece.empty()) return false;
    began_line_ = at_line_start_;
    at_line_start_ = piece.back() == '\n';
    return true;
}

void ss_line_pieces::seek(long position) {
    std::fseek(stream_, position, SEEK_SET);
    at_line_start_ = true;
    began_line_ = true;
}

bool ss_regression_command_line(const ss_line_pieces& reader, const std::string& piece) {
    return reader.began_line() && piece.compare(0, 2, "> ") == 0;
}
