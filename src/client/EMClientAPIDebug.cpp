#include "EMClientAPIDebug.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "EMClientAPIErrors.h"
#include "EMClientAPISeams.h"

int gnDebugMode = 0;
SString gstrDebugFilename;
SString gstrOldDebugFilename;
int gnFileSize = 0;

int gnTNGDebugMode = 0;
SString gstrTNGDebugFilename;
SString gstrTNGOldDebugFilename;
int gnTNGFileSize = 0;

int gnTNGDebugBusy = 0;

namespace {

constexpr const char* kDefaultFile = "/tmp/EMClientAPIDebug.txt";
constexpr int kDefaultSize = 5000000;
constexpr int kSmallestSize = 500;

// Decimal value of an environment setting, clamped to int (atoi has no
// defined result on overflow).
int env_int(const char* text) {
    long value = std::strtol(text, nullptr, 10);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

// What last kept the log from working as set, until a caller reads it.
int g_status = 0;
char g_problem[1024] = {};

void note(int code, const char* format, const char* name, const char* reason) {
    g_status = code;
    std::snprintf(g_problem, sizeof g_problem, format, name, reason);
}

// Opens the log for appending. Refuses a symbolic link (O_NOFOLLOW), anything
// but a plain file, a file of another user and a file with other names (a
// planted link would let its owner read the credentials we write); a file we
// own that is readable by others is made private. -1 on refusal, with why.
int open_log(const char* name, const char*& why) {
    int fd = ::open(name, O_RDWR | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0600);
    if (fd < 0) {
        why = errno == ELOOP ? "it is a symbolic link" : std::strerror(errno);
        return -1;
    }
    struct stat st {};
    why = nullptr;
    if (::fstat(fd, &st) != 0)
        why = std::strerror(errno);
    else if (!S_ISREG(st.st_mode))
        why = "it is not a plain file";
    else if (st.st_uid != ::geteuid())
        why = "it belongs to another user";
    else if (st.st_nlink != 1)
        why = "it has other names (hard links)";
    if (why != nullptr) {
        ::close(fd);
        return -1;
    }
    if ((st.st_mode & 077) != 0) ::fchmod(fd, st.st_mode & 0700);
    return fd;
}

int open_failed(const char* name, const char* why) {
    note(EMCLIENTAPI_OPENDEBUGFILE_ERROR, "Cannot open the debug log %s: %s; nothing is logged", name, why);
    return EMCLIENTAPI_OPENDEBUGFILE_ERROR;
}

off_t file_size(int fd) {
    struct stat st {};
    return ::fstat(fd, &st) == 0 ? st.st_size : 0;
}

void write_all(int fd, iovec* parts, int count) {
    while (count > 0) {
        ssize_t done = ::writev(fd, parts, count);
        if (done < 0) {
            if (errno == EINTR) continue;
            return;
        }
        while (count > 0 && static_cast<size_t>(done) >= parts->iov_len) {
            done -= static_cast<ssize_t>(parts->iov_len);
            ++parts;
            --count;
        }
        if (count > 0) {
            parts->iov_base = static_cast<char*>(parts->iov_base) + done;
            parts->iov_len -= static_cast<size_t>(done);
        }
    }
}

}  // namespace

void EMClientAPISetDebugMode(int level, const char* fileName) {
    gnDebugMode = level;
    if (fileName != nullptr) gstrDebugFilename = fileName;
}

void EMClientAPITNGSetDebugMode(int level, const char* fileName) {
    gnTNGDebugMode = level;
    if (fileName != nullptr) gstrTNGDebugFilename = fileName;
    EMClientAPISetDebugMode(level, fileName);
}

int EMClientAPIWriteDebugFile(const char* text) {
    if (const char* name = std::getenv("FILE_NAME")) gstrDebugFilename = name;
    if (const char* size = std::getenv("FILE_SIZE")) gnFileSize = env_int(size);
    if (const char* level = std::getenv("LOG_LEVEL")) gnDebugMode = env_int(level);

    if (gnDebugMode == 0) return EMCLIENTAPI_SUCCESS;
    if ((gnDebugMode != 1 && gnDebugMode != 2) || text == nullptr) return EMCLIENTAPI_INVALIDPARAMETER_ERROR;
    if (gstrDebugFilename.IsEmpty()) gstrDebugFilename = kDefaultFile;
    if (gnFileSize == 0) gnFileSize = kDefaultSize;
    // Checked before the file is touched, so a refused write creates nothing.
    if (gnFileSize < kSmallestSize) return EMCLIENTAPI_INVALIDPARAMETER_ERROR;
    gstrOldDebugFilename = gstrDebugFilename + ".old";

    const char* name = gstrDebugFilename.GetBufferPointer();
    const char* old_name = gstrOldDebugFilename.GetBufferPointer();
    if (name == nullptr || old_name == nullptr) return EMCLIENTAPI_ALLOCATION_ERROR;
    const char* why = nullptr;
    int fd = open_log(name, why);
    if (fd < 0) return open_failed(name, why);

    int result = EMCLIENTAPI_SUCCESS;
    if (file_size(fd) > gnFileSize) {
        ::close(fd);
        // rename() replaces whatever stands at the old name, a planted link
        // included, without following it.
        ::unlink(old_name);
        bool rotated = ::rename(name, old_name) == 0;
        int rename_error = errno;
        fd = open_log(name, why);
        if (fd < 0) return open_failed(name, why);
        if (!rotated) {
            // Something we may not replace stands at the old name (another
            // user's file in /tmp, a directory). The limit still holds: the
            // log starts again empty.
            if (::ftruncate(fd, 0) != 0) {
                ::close(fd);
                return open_failed(name, std::strerror(errno));
            }
            note(EMCLIENTAPI_ROTATEDEBUGFILE_ERROR,
                 "Cannot rotate the debug log: %s cannot be replaced (%s); the log is emptied instead", old_name,
                 std::strerror(rename_error));
            result = EMCLIENTAPI_ROTATEDEBUGFILE_ERROR;
        }
    }

    time_t now = EMClientAPINow();
    char stamp[64];
    const char* when = ::ctime_r(&now, stamp);
    iovec parts[4];
    int count = 0;
    auto add = [&](const char* p, size_t n) { parts[count++] = iovec{const_cast<char*>(p), n}; };
    if (when != nullptr) {
        add(when, std::strlen(when));
        add("\n", 1);
    } else {
        add("Time Null\n", 10);
    }
    add(text, std::strlen(text));
    add("\n", 1);
    write_all(fd, parts, count);
    ::close(fd);
    return result;
}

int EMClientAPIDebugLogStatus(char* text, int size) {
    int code = g_status;
    if (text != nullptr && size > 0) std::snprintf(text, static_cast<size_t>(size), "%s", code != 0 ? g_problem : "");
    g_status = 0;
    g_problem[0] = '\0';
    return code;
}

int EMClientAPIWriteDebugFile(const SString& text) {
    if (gnDebugMode == 0) return EMCLIENTAPI_SUCCESS;
    return EMClientAPIWriteDebugFile(text.GetBufferPointer());
}

int EMClientAPITNGWriteDebugFile(const char* text) {
    while (gnTNGDebugBusy != 0) EMClientAPISleepSeconds(1);
    gnTNGDebugBusy = 1;
    int rc = EMClientAPIWriteDebugFile(text);
    gnTNGDebugBusy = 0;
    return rc;
}

int EMClientAPITNGDebugLog(const char* text) {
    if (gnTNGDebugMode == 0) return EMCLIENTAPI_SUCCESS;
    return EMClientAPITNGWriteDebugFile(text);
}

int EMClientAPITNGDebugLog(const SString& text) { return EMClientAPITNGDebugLog(text.GetBufferPointer()); }

void EMClientAPILogAt(int level, const char* line, const SString* text) {
    if (gnDebugMode < level || gnDebugMode == 0) return;
    EMClientAPIWriteDebugFile(line);
    if (text != nullptr) EMClientAPIWriteDebugFile(*text);
}

void EMClientAPITNGLogAt(int level, const char* line, const SString* text) {
    if (gnTNGDebugMode < level || gnTNGDebugMode == 0) return;
    EMClientAPITNGWriteDebugFile(line);
    if (text != nullptr && text->GetBufferPointer() != nullptr) EMClientAPITNGWriteDebugFile(text->GetBufferPointer());
}
