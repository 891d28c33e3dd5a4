#include "EMClientAPISeams.h"

#include <netdb.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <string>

namespace {

void real_sleep(unsigned seconds) {
    // sleep() returns early on a signal; finish the whole wait.
    while (seconds > 0) seconds = ::sleep(seconds);
}

time_t real_clock() { return ::time(nullptr); }

int64_t real_monotonic() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

int real_host_name(char* name, size_t size) {
    if (name == nullptr || size == 0) return -1;
    if (::gethostname(name, size) != 0) return -1;
    name[size - 1] = '\0';  // gethostname need not terminate a cut name
    return 0;
}

int real_resolve(const char* host, in_addr* address) {
    if (host == nullptr || address == nullptr) return -1;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host, nullptr, &hints, &found) != 0 || found == nullptr) return -1;
    *address = reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr;
    ::freeaddrinfo(found);
    return 0;
}

int real_service(const char* service, uint16_t* port) {
    if (service == nullptr || port == nullptr) return -1;
    servent entry{};
    servent* result = nullptr;
    char scratch[1024];
    if (::getservbyname_r(service, nullptr, &entry, scratch, sizeof scratch, &result) != 0 ||
        result == nullptr)
        return -1;
    *port = static_cast<uint16_t>(result->s_port);
    return 0;
}

EMClientAPISleepFn g_sleep = nullptr;
EMClientAPIClockFn g_clock = nullptr;
EMClientAPIMonotonicFn g_monotonic = nullptr;
EMClientAPIHostNameFn g_host_name = nullptr;
EMClientAPIResolveFn g_resolve = nullptr;
EMClientAPIServiceFn g_service = nullptr;

}  // namespace

void EMClientAPISleepSeconds(unsigned seconds) { (g_sleep ? g_sleep : real_sleep)(seconds); }
void EMClientAPISetSleep(EMClientAPISleepFn fn) { g_sleep = fn; }

time_t EMClientAPINow() { return (g_clock ? g_clock : real_clock)(); }
void EMClientAPISetClock(EMClientAPIClockFn fn) { g_clock = fn; }

int64_t EMClientAPIMonotonicMs() { return (g_monotonic ? g_monotonic : real_monotonic)(); }
void EMClientAPISetMonotonicClock(EMClientAPIMonotonicFn fn) { g_monotonic = fn; }

int EMClientAPIGetHostName(char* name, size_t size) {
    return (g_host_name ? g_host_name : real_host_name)(name, size);
}
void EMClientAPISetHostName(EMClientAPIHostNameFn fn) { g_host_name = fn; }

int EMClientAPIResolveHost(const char* host, in_addr* address) {
    return (g_resolve ? g_resolve : real_resolve)(host, address);
}
void EMClientAPISetResolver(EMClientAPIResolveFn fn) { g_resolve = fn; }

int EMClientAPILookupService(const char* service, uint16_t* port) {
    return (g_service ? g_service : real_service)(service, port);
}
void EMClientAPISetServiceLookup(EMClientAPIServiceFn fn) { g_service = fn; }

namespace {
std::string g_persist_file;
}

const char* EMClientAPIPersistFileName() {
    return g_persist_file.empty() ? "/tmp/EMClientAPIPersist.txt" : g_persist_file.c_str();
}

void EMClientAPISetPersistFileName(const char* path) { g_persist_file = path != nullptr ? path : ""; }
