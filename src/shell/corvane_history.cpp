#include "corvane_history.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>

namespace {
// O_NOFOLLOW refuses a link in the last place of the path, O_NONBLOCK keeps
// a FIFO planted there from hanging the prompt; what opens must then be a
// regular file.
int open_regular(const std::string& path, int flags) {
    int fd = ::open(path.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd < 0) return -1;
    struct stat st{};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    // A file left readable by others is made private again.
    if ((st.st_mode & 077) && st.st_uid == ::geteuid()) ::fchmod(fd, 0600);
    return fd;
}
}  // namespace

std::string ss_history_path() {
    const char* own = std::getenv("TALO_HISTORY");
    if (own && *own) return own;
    const char* home = std::getenv("HOME");
    if (home && *home) return std::string(home) + "/.talo_history";
    return {};
}

bool ss_history_keeps(const std::string& line) {
    if (line.find_first_not_of(' ') == std::string::npos) return false;
    static const char key[] = "PASSWORD=";
    for (size_t i = 0; i + sizeof key - 1 <= line.size(); ++i) {
        size_t k = 0;
        while (key[k] && std::toupper(static_cast<unsigned char>(line[i + k])) == key[k]) ++k;
        if (!key[k]) return false;
    }
    return true;
}

std::vector<std::string> ss_history_load(const std::string& path) {
    std::vector<std::string> lines;
    if (path.empty()) return lines;
    int fd = open_regular(path, O_RDONLY);
    if (fd < 0) return lines;
    std::string text;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<size_t>(n));
    ::close(fd);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        if (end > start) lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

bool ss_history_append(const std::string& path, const std::string& line) {
    if (path.empty()) return false;
    int fd = open_regular(path, O_WRONLY | O_APPEND | O_CREAT);
    if (fd < 0) return false;
    // One write, so two sessions appending at once do not interleave a line.
    std::string record = line + "\n";
    bool ok = ::write(fd, record.data(), record.size()) == static_cast<ssize_t>(record.size());
    ::close(fd);
    return ok;
}
