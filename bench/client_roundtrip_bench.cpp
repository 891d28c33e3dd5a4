// Request round trips to the simulated management server over loopback:
// through the client library (rewrite, send, Content-Length framed read,
// unwrap) next to bare HTTP exchanges of a pre-built bridge request on a
// raw kept-alive socket. Prints both rates and their ratio. The benchmark
// starts its own simulator on a private loopback address and stops it.
#include <benchmark/benchmark.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "EMClientAPITNG.h"
#include "EMClientAPISocketPool.h"
#include "EMClientAPITNGSteps.h"
#include "sim_process.h"

namespace {

simtest::SimProcess& sim() {
    static simtest::SimProcess process;
    return process;
}

std::string request_for(const std::string& host) {
    return "POST /ResEltTslPyrite/Fenn HTTP/1.1\nHost:" + host +
           "\nContent-Type: text/SOAP\nContent-Length: 512\nSOAP Action:\"Get\"\n\n"
           "<SOAP:Envelope xmlns:SOAP=\"urn:schemas-xmlsoap-org:soap.v1\">\n"
           "<SOAP:Body=tessel-brindle:qxapi.v1>\n"
           "<m:Get xmlns:m=\"FENN-URI\">\n"
           "<UserPassword xsd:type=\"string\">password</UserPassword>\n"
           "<UserName xsd:type=\"string\">administrator</UserName>\n"
           "<Type xsd:type=\"string\">Element</Type>\n"
           "<ID xsd:type=\"string\"></ID>\n"
           "</m:Get>\n</SOAP:Body>\n</SOAP:Envelope>\n";
}

void BM_LibraryRoundTrip(benchmark::State& state) {
    const std::string request = request_for(sim().address() + ":12301");
    for (auto _ : state) {
        char* reply = nullptr;
        int length = 0;
        if (EMClientAPITNGCommandEx(request.c_str(), &reply, &length, 0) != 0) {
            state.SkipWithError("request failed");
            break;
        }
        benchmark::DoNotOptimize(reply);
        delete[] reply;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LibraryRoundTrip)->UseRealTime();

// The same exchange by a minimal client: the bridge request built once,
// then send it and read the reply up to its Content-Length.
void BM_RawRoundTrip(benchmark::State& state) {
    EMClientAPIXMLBuffer request(request_for(sim().address() + ":12301").c_str());
    SString bridge;
    GetSoapSvrXMLRequest(request, bridge);
    const std::string wire = bridge.GetBufferPointer();
    int fd = simtest::connect_to(sim().address(), 12301);
    if (fd < 0) {
        state.SkipWithError("no connection");
        return;
    }
    std::string in;
    char buffer[65536];
    for (auto _ : state) {
        if (!simtest::send_text(fd, wire)) {
            state.SkipWithError("send failed");
            break;
        }
        in.clear();
        size_t need = std::string::npos;
        while (need == std::string::npos || in.size() < need) {
            ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
            if (n <= 0) break;
            in.append(buffer, static_cast<size_t>(n));
            size_t head = in.find("\r\n\r\n");
            size_t field = in.find("Content-Length: ");
            if (need == std::string::npos && head != std::string::npos && field < head)
                need = head + 4 + std::strtoul(in.c_str() + field + 16, nullptr, 10);
        }
        benchmark::DoNotOptimize(in.data());
    }
    ::close(fd);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RawRoundTrip)->UseRealTime();

// Keeps each benchmark's rate so the ratio can be printed at the end.
class RateReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs) {
            auto it = r.counters.find("items_per_second");
            if (it != r.counters.end()) rates[r.benchmark_name()] = it->second.value;
        }
    }
    std::map<std::string, double> rates;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (!sim().start()) {
        std::fprintf(stderr, "talo-sim did not start:\n%s\n", sim().output().c_str());
        return 1;
    }
    RateReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    EMClientAPITNGCleanup();
    EMClientAPIResetPool();
    sim().stop();
    double library = reporter.rates["BM_LibraryRoundTrip/real_time"];
    double raw = reporter.rates["BM_RawRoundTrip/real_time"];
    if (library > 0 && raw > 0)
        std::printf("library %.0f requests/s, bare HTTP %.0f requests/s, library/bare = %.2f\n", library, raw,
                    library / raw);
    benchmark::Shutdown();
    return 0;
}
