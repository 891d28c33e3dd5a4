// Peak memory of the client library while it takes in one large bridge
// reply, as a multiple of the reply's size. A scripted server in a child
// process serves the reply; the client runs in a second child forked before
// the reply text exists, so its peak resident size (VmHWM) grows by what
// the library itself holds. Counter "peak_ratio" = growth / reply bytes.
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "EMClientAPITNG.h"

namespace replybench {

// The escaped form a bridge reply carries its document in.
inline void append_escaped(std::string& out, const std::string& text) {
    for (char c : text) {
        if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else
            out += c;
    }
}

// A whole bridge reply (status line, headers, SOAP envelope) of about
// `bytes` bytes, never fewer: its xmlPayload holds a version-3 reply
// document listing as many objects as it takes. Reusable by any benchmark
// that needs a large, realistic reply.
inline std::string bridge_reply_of_size(size_t bytes) {
    const std::string head =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
        "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\">\n<soap:Body>\n"
        "<m:executeTextTransportResponse xmlns:m=\"urn:VELTRA-Kestrel:BridgeXMLInterface.v3\">\n<xmlPayload>";
    const std::string tail = "</xmlPayload>\n</m:executeTextTransportResponse>\n</soap:Body>\n</soap:Envelope>\n";
    std::string body;
    body.reserve(bytes + 4096);
    body += head;
    append_escaped(body, "<Envelope xmlns='http://vendor.example/qxapiv32'>\n<Header>\n<version>3.2</version>\n"
                         "</Header>\n<Body>\n<statuscode>0</statuscode>\n<objects>\n");
    const std::string closing = "</objects>\n</Body>\n</Envelope>\n";
    std::string escaped_closing;
    append_escaped(escaped_closing, closing);
    char object[512];
    for (long id = 1; body.size() + escaped_closing.size() + tail.size() + 120 < bytes; ++id) {
        std::snprintf(object, sizeof object,
                      "<object>\n<objectname>\\Virtual Disks\\vdisk%06ld</objectname>\n"
                      "<objectid>00200710b4080560a1b2%012ld</objectid>\n<objecttype>virtualdisk</objecttype>\n"
                      "<operationalstate>good</operationalstate>\n<allocatedcapacity>%ld</allocatedcapacity>\n"
                      "</object>\n",
                      id, id, 1024L * (id % 97 + 1));
        append_escaped(body, object);
    }
    body += escaped_closing;
    body += tail;
    std::string reply = "HTTP/1.1 200 OK\r\nContent-Type: text/xml; charset=utf-8\r\nContent-Length: ";
    reply += std::to_string(body.size()) + "\r\n\r\n";
    reply += body;
    return reply;
}

}  // namespace replybench

namespace {

// Kilobytes of a /proc/self/status field, -1 when it is missing.
long status_kb(const char* field) {
    std::ifstream in("/proc/self/status");
    std::string line;
    size_t n = std::strlen(field);
    while (std::getline(in, line))
        if (line.compare(0, n, field) == 0) return std::atol(line.c_str() + n + 1);
    return -1;
}

bool send_all(int fd, const char* p, size_t n) {
    while (n > 0) {
        ssize_t sent = ::send(fd, p, n, MSG_NOSIGNAL);
        if (sent <= 0) return false;
        p += sent;
        n -= static_cast<size_t>(sent);
    }
    return true;
}

// Child process: answers every request on every connection with the reply.
[[noreturn]] void serve(int listener, size_t bytes, int ready) {
    const std::string reply = replybench::bridge_reply_of_size(bytes);
    char ok = 1;
    if (::write(ready, &ok, 1) != 1) _exit(1);
    for (;;) {
        int fd = ::accept(listener, nullptr, nullptr);
        if (fd < 0) continue;
        std::string in;
        char buffer[8192];
        for (;;) {
            ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
            if (n <= 0) break;
            in.append(buffer, static_cast<size_t>(n));
            size_t head = in.find("\n\n");
            size_t field = in.find("Content-Length:");
            if (head == std::string::npos || field > head) continue;
            size_t need = head + 2 + std::strtoul(in.c_str() + field + 15, nullptr, 10);
            if (in.size() < need) continue;
            in.erase(0, need);
            if (!send_all(fd, reply.data(), reply.size())) break;
        }
        ::close(fd);
    }
}

std::string request_for(const std::string& host) {
    return "POST /ResEltTslPyrite/XMLIntr HTTP/1.1\nHost:" + host +
           "\nContent-Type: text/SOAP\nSOAPAction:'urn:VELTRA-Kestrel:BridgeXMLInterface.v3'\n"
           "Content-Length: 0000\n\n\n<Envelope xmlns='http://vendor.example/qxapiv32'>\n"
           "<Header>\n<version>3.2</version>\n</Header>\n<Body>\n<username>administrator</username>\n"
           "<userpassword>password</userpassword>\n<NsaServerOperation>\n<getlist>\n"
           "<objecttype>virtualdisk</objecttype>\n</getlist>\n</NsaServerOperation>\n</Body>\n</Envelope>\n";
}

// Child process: one command; writes the growth of its peak resident size
// in kilobytes (or -1 when the command failed) to out.
[[noreturn]] void client(const std::string& host, int out) {
    long before = status_kb("VmRSS:");
    char* reply = nullptr;
    int length = 0;
    int rc = EMClientAPITNGCommandEx(request_for(host).c_str(), &reply, &length, 0);
    long peak = status_kb("VmHWM:");
    long growth = rc == 0 && reply != nullptr && length > 0 ? peak - before : -1;
    delete[] reply;
    if (::write(out, &growth, sizeof growth) != sizeof growth) _exit(1);
    _exit(0);
}

void BM_ReplyPeakMemory(benchmark::State& state) {
    const size_t bytes = static_cast<size_t>(state.range(0)) * 1000 * 1000;
    int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof a;
    if (::bind(listener, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(listener, 4) != 0 ||
        ::getsockname(listener, reinterpret_cast<sockaddr*>(&a), &size) != 0) {
        state.SkipWithError("no listening socket");
        return;
    }
    const std::string host = std::string("127.0.0.1:") + std::to_string(ntohs(a.sin_port));
    int ready[2];
    if (::pipe(ready) != 0) {
        state.SkipWithError("no pipe");
        return;
    }
    pid_t server = ::fork();
    if (server == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        serve(listener, bytes, ready[1]);
    }
    ::close(listener);
    char ok = 0;
    if (::read(ready[0], &ok, 1) != 1) state.SkipWithError("server did not start");

    double ratio = 0;
    for (auto _ : state) {
        int result[2];
        if (::pipe(result) != 0) break;
        pid_t child = ::fork();
        if (child == 0) client(host, result[1]);
        ::close(result[1]);
        long growth = -1;
        if (::read(result[0], &growth, sizeof growth) != sizeof growth) growth = -1;
        ::close(result[0]);
        ::waitpid(child, nullptr, 0);
        if (growth < 0) {
            state.SkipWithError("command failed");
            break;
        }
        ratio = static_cast<double>(growth) * 1024.0 / static_cast<double>(bytes);
    }
    state.counters["reply_MB"] = static_cast<double>(bytes) / 1e6;
    state.counters["peak_ratio"] = ratio;
    ::kill(server, SIGKILL);
    ::waitpid(server, nullptr, 0);
    ::close(ready[0]);
    ::close(ready[1]);
}
BENCHMARK(BM_ReplyPeakMemory)->Arg(10)->Arg(100)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
