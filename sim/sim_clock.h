// The controllers' clock: time stamps as the array writes them
// ("09-Dec-2026 09:00:05"), kept as whole seconds with no time zone.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace talosim {

// Seconds since 01-Jan-1970 00:00:00 as "DD-Mon-YYYY hh:mm:ss".
std::string format_time(std::int64_t seconds);

// Reads that form back; false for anything else (a day past its month's end,
// a year before 1970, an hour past 23, ...).
bool parse_time(std::string_view text, std::int64_t& seconds);

}  // namespace talosim
