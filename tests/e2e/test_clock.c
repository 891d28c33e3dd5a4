/* Preloaded into talo by the end-to-end cases: a clock of its own.
 * Every sleep returns at once, and the seconds asked for are appended to the
 * file named by TALO_SLEEP_LOG, so 10-second retry pauses take no time and a
 * case can still see each one. time() starts at TALO_CLOCK_START (seconds
 * since 1970; the real time when unset) and moves on by the seconds slept,
 * so time-of-day output is exact and time limits see the pauses they waited. */
#define _GNU_SOURCE
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

static double slept;

static void record(double seconds) {
    slept += seconds;
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

time_t time(time_t* out) {
    static int started;
    static time_t start;
    if (!started) {
        const char* text = getenv("TALO_CLOCK_START");
        struct timespec now;
        clock_gettime(CLOCK_REALTIME, &now);
        start = text && *text ? (time_t)strtoll(text, NULL, 10) : now.tv_sec;
        started = 1;
    }
    time_t now = start + (time_t)slept;
    if (out) *out = now;
    return now;
}
