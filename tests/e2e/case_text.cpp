#include "case_text.h"

#include <cctype>
#include <cstdio>

namespace e2e {

namespace {

// The placeholder starting at `text[at]`, if one does: its length, with
// the bytes it stands for in `bytes` (@ADDR@ as the marker itself).
std::size_t placeholder(std::string_view text, std::size_t at, const std::string& address, std::string* bytes) {
    if (text[at] != '@') return 0;
    std::size_t end = text.find('@', at + 1);
    if (end == std::string_view::npos) return 0;
    std::string_view body = text.substr(at + 1, end - at - 1);
    std::size_t times = 1;
    if (std::size_t star = body.find('*'); star != std::string_view::npos) {
        std::string_view count = body.substr(star + 1);
        if (count.empty() || count.size() > 6) return 0;
        times = 0;
        for (char c : count) {
            if (!std::isdigit(static_cast<unsigned char>(c))) return 0;
            times = times * 10 + static_cast<std::size_t>(c - '0');
        }
        body = body.substr(0, star);
    }
    std::string one;
    if (body == "ADDR")
        one = address;
    else if (body == "SP")
        one = " ";
    else if (body == "TAB")
        one = "\t";
    else if (body == "CR")
        one = "\r";
    else if (body == "AT")
        one = "@";
    else if (body.size() == 3 && body[0] == 'x' && std::isxdigit(static_cast<unsigned char>(body[1])) &&
             std::isxdigit(static_cast<unsigned char>(body[2])))
        one = static_cast<char>(std::stoi(std::string(body.substr(1)), nullptr, 16));
    else
        return 0;
    if (bytes) {
        bytes->clear();
        for (std::size_t i = 0; i < times; ++i) *bytes += one;
    }
    return end - at + 1;
}

bool blank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::string unsafe_text(std::string_view line) {
    for (char c : line) {
        if (c == '\t') return "a raw tab (write @TAB@)";
        if (c == '\r') return "a raw carriage return (write @CR@)";
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return "a raw control byte (write @xHH@)";
    }
    if (!line.empty() && blank(line.back())) return "a blank at the end of the line (write the last one as @SP@)";
    return {};
}

bool uses_address(std::string_view line) {
    for (std::size_t at = 0; at < line.size(); ++at) {
        std::string bytes;
        std::size_t length = placeholder(line, at, "@ADDR@", &bytes);
        if (length == 0) continue;
        if (line.substr(at, length).starts_with("@ADDR")) return true;
        at += length - 1;
    }
    return false;
}

std::string expand(std::string_view line, const std::string& address) {
    std::string out;
    for (std::size_t at = 0; at < line.size();) {
        std::string bytes;
        if (std::size_t length = placeholder(line, at, address, &bytes)) {
            out += bytes;
            at += length;
        } else {
            out += line[at++];
        }
    }
    return out;
}

std::string as_section(std::string_view bytes, const std::string& address) {
    std::string out;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        std::string_view line =
            bytes.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        std::string text;
        for (std::size_t at = 0; at < line.size();) {
            if (!address.empty() && line.substr(at).starts_with(address)) {
                text += "@ADDR@";
                at += address.size();
                continue;
            }
            char c = line[at];
            if (c == '@' && placeholder(line, at, address, nullptr))
                text += "@AT@";
            else if (c == '\t')
                text += "@TAB@";
            else if (c == '\r')
                text += "@CR@";
            else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
                char hex[8];
                std::snprintf(hex, sizeof hex, "@x%02X@", static_cast<unsigned char>(c));
                text += hex;
            } else if (c == ' ' && at + 1 == line.size())
                text += "@SP@";
            else
                text += c;
            ++at;
        }
        // A text line must not pass for a directive.
        if (text.starts_with("#>")) text.replace(0, 1, "@x23@");
        out += text + "\n";
        if (end == std::string_view::npos) return out + "#> no newline at end\n";
        start = end + 1;
    }
    return out;
}

std::string quoted(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
                    char hex[8];
                    std::snprintf(hex, sizeof hex, "\\x%02x", static_cast<unsigned char>(c));
                    out += hex;
                } else {
                    out += c;
                }
        }
    }
    return out + "\"";
}

std::optional<Difference> first_difference(std::string_view expected, std::string_view actual) {
    // The next line of a text with its line feed, if it has one; nothing at the end.
    auto next = [](std::string_view& text) -> std::optional<std::string> {
        if (text.empty()) return std::nullopt;
        std::size_t end = text.find('\n');
        std::size_t length = end == std::string_view::npos ? text.size() : end + 1;
        std::string line(text.substr(0, length));
        text.remove_prefix(length);
        return line;
    };
    for (std::size_t line = 0;; ++line) {
        std::optional<std::string> e = next(expected), a = next(actual);
        if (!e && !a) return std::nullopt;
        if (e != a) return Difference{line, e, a};
    }
}

}  // namespace e2e
