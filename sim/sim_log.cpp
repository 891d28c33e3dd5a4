#include "sim_log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace talosim {

RequestLog::~RequestLog() {
    if (fd_ >= 0) ::close(fd_);
}

bool RequestLog::open(const std::string& path, std::string& error) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || ::fchmod(fd, 0600) != 0) {
        error = path + ": not a regular file that can be made private";
        ::close(fd);
        return false;
    }
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
    return true;
}

void RequestLog::write(std::string_view port, unsigned long connection, bool request, std::string_view bytes) {
    if (fd_ < 0) return;
    std::string entry = request ? ">>> " : "<<< ";
    entry += port;
    entry += " #" + std::to_string(connection) + (request ? " request " : " reply ") + std::to_string(bytes.size()) + "\n";
    entry += bytes;
    entry += "\n";
    std::lock_guard lock(mutex_);
    const char* p = entry.data();
    size_t left = entry.size();
    while (left > 0) {
        ssize_t n = ::write(fd_, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;  // a full disk must not stop the server
        p += n;
        left -= static_cast<size_t>(n);
    }
}

}  // namespace talosim
