// The text lines of a case file and the bytes they stand for: placeholders
// (@ADDR@, @SP@, @TAB@, @CR@, @AT@, @xHH@, each optionally "*N") keep bytes
// an editor would lose, or that a run decides, visible in the file; and the
// first line at which an expected text and an actual one part.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace e2e {

// Why a line of a case file cannot stand for its bytes as written (a raw
// tab, carriage return or other control byte, or a blank at its end), or
// empty when it can.
std::string unsafe_text(std::string_view line);

// Whether the line uses @ADDR@, which needs a simulator.
bool uses_address(std::string_view line);

// The bytes a line stands for, `address` taking the place of @ADDR@.
std::string expand(std::string_view line, const std::string& address);

// Bytes written back as the lines of a text section (each ending in a line
// feed), followed by "#> no newline at end" when the bytes do not end in
// one; `address` is written as @ADDR@ again.
std::string as_section(std::string_view bytes, const std::string& address);

// A text in double quotes with C escapes for control bytes, for reports.
std::string quoted(std::string_view text);

// Where two texts part, counting lines (each with its line feed) from 0.
// `actual` holds nothing when the actual text has ended before that line,
// and `expected` nothing when the expected one has.
struct Difference {
    std::size_t line = 0;
    std::optional<std::string> expected, actual;
};
std::optional<Difference> first_difference(std::string_view expected, std::string_view actual);

}  // namespace e2e
