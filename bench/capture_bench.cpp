// CAPTURE CONFIGURATION of a generated system on a real simulator process,
// at a base size and its doubles. The capture runs in this process through
// the session API, so this process's CPU time is TALO's alone (the
// simulator's is its own process's). The simulator's control channel
// counts the requests and connections the capture made: one list read per
// kind and one read per object, on one connection, is all a capture needs.
// After the runs a table gives each figure and its growth per doubling,
// which must stay near 2.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "capture_scenario.h"
#include "corvane_loop.h"
#include "corvane_session.h"
#include "corvane_state.h"
#include "sim_process.h"

namespace {

using benchscen::Shape;

// The counts of the simulator's control-channel status line.
std::map<std::string, unsigned long> sim_status(const std::string& address) {
    std::map<std::string, unsigned long> out;
    std::string line = simtest::control(address, "status");
    for (size_t pos = 0; pos < line.size();) {
        size_t eq = line.find('=', pos);
        if (eq == std::string::npos) break;
        size_t end = line.find_first_of(" \n", eq);
        if (end == std::string::npos) end = line.size();
        out[line.substr(pos, eq - pos)] = std::strtoul(line.substr(eq + 1, end - eq - 1).c_str(), nullptr, 10);
        pos = end + 1;
    }
    return out;
}

double cpu_ms() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec * 1e3 + usage.ru_utime.tv_usec / 1e3 + usage.ru_stime.tv_sec * 1e3 +
           usage.ru_stime.tv_usec / 1e3;
}

// A simulator serving the shape, and a session that has selected its system.
struct Bench {
    explicit Bench(const Shape& shape) {
        char path[] = "/tmp/talo-capture-bench-XXXXXX";
        if (mkdtemp(path) != nullptr) dir = path;
        std::ofstream(dir / "scenario.json") << scenario(shape);
        if (!sim.start({"--scenario", (dir / "scenario.json").string()})) {
            error = "talo-sim did not start: " + sim.output();
            return;
        }
        sink = std::fopen("/dev/null", "w");
        OutFile = sink;
        pb = ss_session_create();
        command_delay = 0;
        run("SELECT MANAGER " + sim.address() + " USERNAME=administrator PASSWORD=password");
        run("SELECT SYSTEM Big");
        if (!ok()) error = "no session with the simulator";
    }
    ~Bench() {
        if (pb != nullptr) ss_session_destroy(pb);
        if (sink != nullptr) std::fclose(sink);
        OutFile = stdout;
        sim.stop();
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }
    void run(std::string command) { ss_parse_command(pb, command.data(), nullptr); }
    bool ok() const { return pb->state->cell_id && !(pb->state->session_flags & stopped_on_error); }

    std::filesystem::path dir;
    simtest::SimProcess sim;
    FILE* sink = nullptr;
    _parseblk* pb = nullptr;
    std::string error;
};

struct Figures {
    Shape shape;
    double requests = 0, connections = 0, wall_ms = 0, cpu_ms = 0;
    double session_connections = 0;  // since the simulator started, the selections' included
};
std::vector<Figures> results;

void BM_Capture(benchmark::State& state) {
    const Shape shape{static_cast<int>(state.range(0)), static_cast<int>(state.range(1))};
    Bench bench(shape);
    if (!bench.error.empty()) {
        state.SkipWithError(bench.error.c_str());
        return;
    }
    Figures sum{shape};
    int runs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::filesystem::path out = bench.dir / ("run" + std::to_string(runs));
        std::filesystem::create_directory(out);
        auto before = sim_status(bench.sim.address());
        state.ResumeTiming();

        const double cpu0 = cpu_ms();
        const auto wall0 = std::chrono::steady_clock::now();
        bench.run("CAPTURE CONFIGURATION " + (out / "cap.txt").string());
        const double wall = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wall0).count();
        const double cpu = cpu_ms() - cpu0;

        state.PauseTiming();
        auto after = sim_status(bench.sim.address());
        const bool written = std::filesystem::exists(out / "cap.txt");
        std::filesystem::remove_all(out);
        if (!bench.ok() || !written) {
            state.SkipWithError("the capture failed or wrote no cap.txt");
            break;
        }
        sum.requests += static_cast<double>(after["bridge_requests"] + after["legacy_requests"] -
                                            before["bridge_requests"] - before["legacy_requests"]);
        sum.connections += static_cast<double>(after["bridge_connections"] + after["legacy_connections"] -
                                               before["bridge_connections"] - before["legacy_connections"]);
        sum.wall_ms += wall;
        sum.cpu_ms += cpu;
        ++runs;
        state.ResumeTiming();
    }
    if (runs == 0) return;
    auto total = sim_status(bench.sim.address());
    Figures mean{shape, sum.requests / runs, sum.connections / runs, sum.wall_ms / runs, sum.cpu_ms / runs,
                 static_cast<double>(total["bridge_connections"] + total["legacy_connections"])};
    results.push_back(mean);
    state.counters["objects_read"] = shape.objects_read();
    state.counters["requests"] = mean.requests;
    state.counters["requests_over_objects"] = mean.requests - shape.objects_read();
    state.counters["connections"] = mean.connections;
    state.counters["session_connections"] = mean.session_connections;
    state.counters["wall_ms"] = mean.wall_ms;
    state.counters["talo_cpu_ms"] = mean.cpu_ms;
}
// Virtual disks and hosts; every disk has two LUNs.
BENCHMARK(BM_Capture)
    ->Args({2000, 500})
    ->Args({4000, 1000})
    ->Args({8000, 2000})
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void print_growth() {
    if (results.empty()) return;
    std::printf("\nconns: opened during one capture; session: by the whole session, selections included\n");
    std::printf("%7s %6s %6s %8s %9s %6s %8s %9s %9s   growth per doubling: requests wall cpu\n", "vdisks", "hosts",
                "luns", "objects", "requests", "conns", "session", "wall_ms", "cpu_ms");
    for (size_t i = 0; i < results.size(); ++i) {
        const Figures& f = results[i];
        std::printf("%7d %6d %6d %8d %9.0f %6.0f %8.0f %9.1f %9.1f", f.shape.vdisks, f.shape.hosts, f.shape.luns(),
                    f.shape.objects_read(), f.requests, f.connections, f.session_connections, f.wall_ms, f.cpu_ms);
        if (i > 0 && results[i - 1].shape.vdisks * 2 == f.shape.vdisks) {
            const Figures& p = results[i - 1];
            std::printf("   %8.2f %4.2f %4.2f", f.requests / p.requests, f.wall_ms / p.wall_ms, f.cpu_ms / p.cpu_ms);
        }
        std::printf("\n");
    }
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    print_growth();
    return 0;
}
