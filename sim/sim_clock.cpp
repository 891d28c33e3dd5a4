#include "sim_clock.h"

#include <cstdio>

namespace talosim {

namespace {

constexpr const char* month_names[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// Days since 1970-01-01 of a date in the proleptic Gregorian calendar, and back.
std::int64_t days_from_civil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void civil_from_days(std::int64_t z, std::int64_t& y, unsigned& m, unsigned& d) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2);
}

bool digits(std::string_view s, size_t pos, size_t n, unsigned& out) {
    out = 0;
    for (size_t i = pos; i < pos + n; ++i) {
        if (s[i] < '0' || s[i] > '9') return false;
        out = out * 10 + static_cast<unsigned>(s[i] - '0');
    }
    return true;
}

}  // namespace

std::string format_time(std::int64_t seconds) {
    std::int64_t days = seconds / 86400, rest = seconds % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    std::int64_t y = 0;
    unsigned m = 1, d = 1;
    civil_from_days(days, y, m, d);
    char text[40];
    std::snprintf(text, sizeof text, "%02u-%s-%04lld %02lld:%02lld:%02lld", d, month_names[m - 1],
                  static_cast<long long>(y), static_cast<long long>(rest / 3600), static_cast<long long>(rest / 60 % 60),
                  static_cast<long long>(rest % 60));
    return text;
}

bool parse_time(std::string_view s, std::int64_t& seconds) {
    // DD-Mon-YYYY hh:mm:ss
    if (s.size() != 20 || s[2] != '-' || s[6] != '-' || s[11] != ' ' || s[14] != ':' || s[17] != ':') return false;
    unsigned day = 0, year = 0, hour = 0, minute = 0, second = 0, month = 0;
    if (!digits(s, 0, 2, day) || !digits(s, 7, 4, year) || !digits(s, 12, 2, hour) || !digits(s, 15, 2, minute) ||
        !digits(s, 18, 2, second))
        return false;
    while (month < 12 && s.substr(3, 3) != month_names[month]) ++month;
    if (month == 12 || year < 1970 || hour > 23 || minute > 59 || second > 59 || day < 1) return false;
    ++month;
    // The day must exist: turned into a day count and back, it must stay the same date.
    const std::int64_t days = days_from_civil(year, month, day);
    std::int64_t y = 0;
    unsigned m = 0, d = 0;
    civil_from_days(days, y, m, d);
    if (m != month || d != day) return false;
    seconds = days * 86400 + hour * 3600 + minute * 60 + second;
    return true;
}

}  // namespace talosim
