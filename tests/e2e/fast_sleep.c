/* Preloaded into talo by the end-to-end tests: every sleep returns at once,
 * and the seconds asked for are appended to the file named by TALO_SLEEP_LOG,
 * so tests of 10-second retry pauses run in milliseconds and can still see
 * each pause. */
#define _GNU_SOURCE
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

static void record(double seconds) {
    const char* path = getenv("TALO_SLEEP_LOG");
    if (!path || !*path) return;
    int fd = open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0) return;
    char line[64];
    int length = snprintf(line, sizeof line, "%g\n", seconds);
    if (length > 0) {
        ssize_t written = write(fd, line, (size_t)length);
        (void)written;
    }
    close(fd);
}

unsigned int sleep(unsigned int seconds) {
    record(seconds);
    return 0;
}

int usleep(useconds_t microseconds) {
    record(microseconds / 1e6);
    return 0;
}

int nanosleep(const struct timespec* request, struct timespec* remaining) {
    record((double)request->tv_sec + request->tv_nsec / 1e9);
    if (remaining) memset(remaining, 0, sizeof *remaining);
    return 0;
}

int clock_nanosleep(clockid_t clock, int flags, const struct timespec* request, struct timespec* remaining) {
    (void)clock;
    (void)flags;
    return nanosleep(request, remaining);
}
