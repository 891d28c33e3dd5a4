// Taking HTTP requests off a connection's byte stream, tolerant of what the
// client sends: line feeds without carriage returns, "Content-Length:" with
// or without a blank, the NUL byte that ends each legacy send, and a login
// request that stops after its last header with no empty line.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace talosim {

struct HttpRequest {
    std::string method;  // as sent ("POST", "Get", ...)
    std::string path;
    std::string version;
    std::vector<std::pair<std::string, std::string>> headers;  // value without surrounding blanks
    std::string body;
    std::string raw;  // every byte the request took from the stream

    // The first header of that name (compared without regard to case).
    const std::string* header(std::string_view name) const;
    bool method_is(std::string_view m) const;  // without regard to case
};

enum class Take { incomplete, complete, bad };

// Header blocks longer than this are refused.
inline constexpr std::size_t max_header_bytes = 65536;

// Tries to take one request from the front of `buffer`; on `complete` the
// request's bytes leave the buffer. `eof` says no more bytes will come (the
// peer closed, or went quiet after a partial request). Stray NUL, CR and LF
// bytes before a request line are dropped. A caller that feeds a growing
// buffer passes the same `scanned` each time (0 at first), so bytes already
// searched for the end of the headers or a NUL are not searched again.
Take take_request(std::string& buffer, bool eof, HttpRequest& out, std::string& error, std::size_t* scanned = nullptr);

// A full response: status line, headers with CR LF line ends, body.
std::string http_response(std::string_view status_line, std::string_view content_type, std::string_view body,
                          std::string_view extra_headers = {}, bool with_length = true);

}  // namespace talosim
