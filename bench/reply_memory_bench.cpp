// Peak memory while one large bridge reply is taken in, as a multiple of
// the reply's size. A scripted server in a child process serves the reply;
// the client runs in a second child forked before the reply text exists, so
// its peak resident size (VmHWM) grows by what TALO itself holds.
// BM_ReplyPeakMemory: the client library alone. BM_ReplyTokenizedPeakMemory:
// the library, then the tokenizer as a command runs it (in place, the way
// the exchange does; or copying the texts, for comparison), with the tree
// searched and still held. Counter "peak_ratio" = growth / reply bytes on
// the wire; "doc_ratio" = growth / bytes of the reply document.
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
#include "corvane_memory.h"
#include "corvane_session.h"
#include "corvane_state.h"
#include "corvane_token.h"
#include "corvane_tokenizer.h"

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
// document listing as many virtual disks as it takes. Reusable by any benchmark
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
    // The version-3 document as the management server writes it.
    append_escaped(body, "<SOAP:Envelope>\n<SOAP:Body>\n<version>3.2</version>\n<statuscode>0</statuscode>\n"
                         "<statusdescription>Success</statusdescription>\n");
    const std::string closing = "<SuccessMsg>Success</SuccessMsg>\n</SOAP:Body>\n</SOAP:Envelope>\n";
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

enum class tokenize { none, in_place, copying };

// What a client child reports: the growth of its peak resident size in
// kilobytes (-1 when the command failed) and the reply document's length.
struct measured {
    long growth_kb;
    long document_bytes;
};

// Child process: one command, tokenized as `mode` says; writes what it
// measured to out.
[[noreturn]] void client(const std::string& host, int out, tokenize mode) {
    FILE* sink = std::fopen("/dev/null", "w");
    OutFile = sink;
    _parseblk* pb = ss_session_create();
    pb->state->label_path = ss_copy_string("");
    long before = status_kb("VmRSS:");
    char* reply = nullptr;
    int length = 0;
    int rc = EMClientAPITNGCommandEx(request_for(host).c_str(), &reply, &length, 0);
    _token_info* root = ss_allocate_token();
    if (rc == 0 && mode == tokenize::in_place) {
        rc = ss_parse_soap_reply_in_place(pb, reply, root);
        reply = nullptr;  // the tree holds it now
    } else if (rc == 0 && mode == tokenize::copying) {
        rc = ss_parse_soap_buffer(pb, reply, root);
    }
    if (mode != tokenize::none && ss_tokens_find_name(root, "statuscode") == nullptr) rc = -1;
    long peak = status_kb("VmHWM:");
    measured m{rc == 0 && length > 0 ? peak - before : -1, length};
    ss_deallocate_tokens(root);
    delete[] reply;
    if (::write(out, &m, sizeof m) != sizeof m) _exit(1);
    _exit(0);
}

void measure(benchmark::State& state, tokenize mode) {
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
    double document_ratio = 0;
    for (auto _ : state) {
        int result[2];
        if (::pipe(result) != 0) break;
        pid_t child = ::fork();
        if (child == 0) client(host, result[1], mode);
        ::close(result[1]);
        measured m{-1, 0};
        if (::read(result[0], &m, sizeof m) != sizeof m) m.growth_kb = -1;
        ::close(result[0]);
        ::waitpid(child, nullptr, 0);
        if (m.growth_kb < 0) {
            state.SkipWithError("command failed");
            break;
        }
        ratio = static_cast<double>(m.growth_kb) * 1024.0 / static_cast<double>(bytes);
        document_ratio = static_cast<double>(m.growth_kb) * 1024.0 / static_cast<double>(m.document_bytes);
    }
    state.counters["reply_MB"] = static_cast<double>(bytes) / 1e6;
    state.counters["peak_ratio"] = ratio;
    state.counters["doc_ratio"] = document_ratio;
    ::kill(server, SIGKILL);
    ::waitpid(server, nullptr, 0);
    ::close(ready[0]);
    ::close(ready[1]);
}
void BM_ReplyPeakMemory(benchmark::State& state) { measure(state, tokenize::none); }
void BM_ReplyTokenizedPeakMemory(benchmark::State& state) { measure(state, tokenize::in_place); }
void BM_ReplyTokenizedCopyingPeakMemory(benchmark::State& state) { measure(state, tokenize::copying); }

BENCHMARK(BM_ReplyPeakMemory)->Arg(10)->Arg(100)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReplyTokenizedPeakMemory)->Arg(10)->Arg(100)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReplyTokenizedCopyingPeakMemory)
    ->Arg(10)
    ->Arg(100)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
