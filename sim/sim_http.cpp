#include "sim_http.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace talosim {

namespace {

bool iequals(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

// End of the header block: the position after the empty line, with the
// position where the headers stop; npos when there is none yet.
std::pair<size_t, size_t> header_end(std::string_view s, size_t from) {
    for (size_t i = s.find('\n', from); i != std::string_view::npos; i = s.find('\n', i + 1)) {
        size_t j = i + 1;
        if (j < s.size() && s[j] == '\r') ++j;
        if (j < s.size() && s[j] == '\n') return {j + 1, i};
    }
    return {std::string_view::npos, std::string_view::npos};
}

bool parse_head(std::string_view head, HttpRequest& out, std::string& error) {
    size_t line_end = head.find('\n');
    std::string_view line = trim(head.substr(0, line_end));
    size_t sp1 = line.find(' ');
    size_t sp2 = sp1 == std::string_view::npos ? sp1 : line.find(' ', sp1 + 1);
    if (sp1 == std::string_view::npos || sp2 == std::string_view::npos) {
        error = "malformed request line";
        return false;
    }
    out.method.assign(line.substr(0, sp1));
    out.path.assign(line.substr(sp1 + 1, sp2 - sp1 - 1));
    out.version.assign(trim(line.substr(sp2 + 1)));
    while (line_end != std::string_view::npos) {
        size_t start = line_end + 1;
        line_end = head.find('\n', start);
        std::string_view h = head.substr(start, line_end == std::string_view::npos ? std::string_view::npos : line_end - start);
        if (!h.empty() && h.back() == '\r') h.remove_suffix(1);
        if (trim(h).empty()) continue;
        size_t colon = h.find(':');
        if (colon == std::string_view::npos) {
            // A long Basic code carries its encoder's own line breaks: such a
            // line continues the header before it.
            if (!out.headers.empty()) {
                out.headers.back().second += std::string(trim(h));
                continue;
            }
            error = "header line without a colon";
            return false;
        }
        out.headers.emplace_back(std::string(trim(h.substr(0, colon))), std::string(trim(h.substr(colon + 1))));
    }
    return true;
}

}  // namespace

const std::string* HttpRequest::header(std::string_view name) const {
    for (const auto& [key, value] : headers)
        if (iequals(key, name)) return &value;
    return nullptr;
}

bool HttpRequest::method_is(std::string_view m) const { return iequals(method, m); }

Take take_request(std::string& buffer, bool eof, HttpRequest& out, std::string& error, size_t* scanned) {
    size_t known = scanned ? *scanned : 0;
    size_t skip = 0;
    while (skip < buffer.size() && (buffer[skip] == '\0' || buffer[skip] == '\r' || buffer[skip] == '\n')) ++skip;
    buffer.erase(0, skip);
    known = known > skip ? known - skip : 0;
    auto incomplete = [&] {
        if (scanned) *scanned = buffer.size();
        return Take::incomplete;
    };
    if (scanned) *scanned = 0;
    if (buffer.empty()) return Take::incomplete;
    std::string_view s = buffer;
    // Nothing before `known` held a NUL. The end of the headers is looked
    // for afresh each time, but only within the largest header block allowed.
    size_t nul = s.find('\0', known);
    auto [body_start, head_stop] = header_end(s.substr(0, std::min(nul, max_header_bytes + 4)), 0);
    if (body_start == std::string_view::npos) {
        if ((nul == std::string_view::npos ? s.size() : nul) > max_header_bytes) {
            error = "header block too large";
            return Take::bad;
        }
        // No empty line: the request ends at its NUL byte, or where the
        // stream ended.
        if (nul == std::string_view::npos && !eof) return incomplete();
        head_stop = nul == std::string_view::npos ? s.size() : nul;
        body_start = head_stop;
    } else if (head_stop > max_header_bytes) {
        error = "header block too large";
        return Take::bad;
    }
    out = HttpRequest{};
    if (!parse_head(s.substr(0, head_stop), out, error)) return Take::bad;
    size_t end = body_start;
    if (const std::string* cl = out.header("Content-Length")) {
        std::string_view v = trim(*cl);
        size_t digits = 0;
        while (digits < v.size() && std::isdigit(static_cast<unsigned char>(v[digits]))) ++digits;
        if (digits == 0 || digits > 9) {
            error = "bad Content-Length";
            return Take::bad;
        }
        size_t length = std::strtoul(std::string(v.substr(0, digits)).c_str(), nullptr, 10);
        if (nul != std::string_view::npos && nul >= body_start && nul < body_start + length) {
            end = nul;  // the sender's terminator ends the request first
        } else if (s.size() - body_start >= length) {
            end = body_start + length;
        } else if (eof) {
            error = "connection ended before the body was complete";
            return Take::bad;
        } else {
            return incomplete();
        }
    } else if (nul != std::string_view::npos && nul >= body_start) {
        end = nul;
    }
    out.body.assign(s.substr(body_start, end - body_start));
    if (end < s.size() && s[end] == '\0') ++end;
    out.raw.assign(s.substr(0, end));
    buffer.erase(0, end);
    return Take::complete;
}

std::string http_response(std::string_view status_line, std::string_view content_type, std::string_view body,
                          std::string_view extra_headers, bool with_length) {
    std::string out(status_line);
    out += "\r\nContent-Type: ";
    out += content_type;
    out += "\r\n";
    if (with_length) out += "Content-Length: " + std::to_string(body.size()) + "\r\n";
    out += extra_headers;
    out += "\r\n";
    out += body;
    return out;
}

}  // namespace talosim
