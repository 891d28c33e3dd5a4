// The client library's only ways to wait, read the clock and look names up.
// Tests swap these out so 30-second retry waits take no time and no test
// needs a resolver, a services database or a real host name.
#pragma once

#include <netinet/in.h>

#include <cstddef>
#include <cstdint>
#include <ctime>

// Whole-second wait used by every retry and polling loop of the library.
using EMClientAPISleepFn = void (*)(unsigned seconds);
void EMClientAPISleepSeconds(unsigned seconds);
void EMClientAPISetSleep(EMClientAPISleepFn fn);  // null restores the real sleep

// Time of day for the debug log's entry stamps.
using EMClientAPIClockFn = time_t (*)();
time_t EMClientAPINow();
void EMClientAPISetClock(EMClientAPIClockFn fn);  // null restores the real clock

// Milliseconds from an arbitrary start that never jump with the time of
// day: what receive deadlines are measured in.
using EMClientAPIMonotonicFn = int64_t (*)();
int64_t EMClientAPIMonotonicMs();
void EMClientAPISetMonotonicClock(EMClientAPIMonotonicFn fn);  // null restores

// The local host name, with gethostname's contract: 0 on success, and the
// name NUL-terminated within size bytes.
using EMClientAPIHostNameFn = int (*)(char* name, size_t size);
int EMClientAPIGetHostName(char* name, size_t size);
void EMClientAPISetHostName(EMClientAPIHostNameFn fn);  // null restores

// First IPv4 address of a host name or dotted address: 0 and *address set,
// non-zero when it does not resolve.
using EMClientAPIResolveFn = int (*)(const char* host, in_addr* address);
int EMClientAPIResolveHost(const char* host, in_addr* address);
void EMClientAPISetResolver(EMClientAPIResolveFn fn);  // null restores

// Port of a named service in the services database, in network byte
// order: 0 and *port set, non-zero when the service is unknown.
using EMClientAPIServiceFn = int (*)(const char* service, uint16_t* port);
int EMClientAPILookupService(const char* service, uint16_t* port);
void EMClientAPISetServiceLookup(EMClientAPIServiceFn fn);  // null restores

// Where the legacy path keeps its session cookie between requests. Tests
// point it into a private directory so they never touch the real file.
const char* EMClientAPIPersistFileName();
void EMClientAPISetPersistFileName(const char* path);  // null restores the default
