// The request log: every request as it came off the wire and every reply as
// it went out, so tests can check what the client sent. The file is created
// private (0600) and never through a symbolic link.
#pragma once

#include <mutex>
#include <string>
#include <string_view>

namespace talosim {

class RequestLog {
public:
    RequestLog() = default;
    ~RequestLog();
    RequestLog(const RequestLog&) = delete;
    RequestLog& operator=(const RequestLog&) = delete;

    // Creates (or empties) the file; false with a message on failure.
    bool open(const std::string& path, std::string& error);
    bool is_open() const { return fd_ >= 0; }

    // One entry: a heading line ">>> PORT #CONNECTION request BYTES" (or
    // "<<<" and "reply"), the bytes exactly, and a line feed.
    void write(std::string_view port, unsigned long connection, bool request, std::string_view bytes);

private:
    std::mutex mutex_;
    int fd_ = -1;
};

}  // namespace talosim
