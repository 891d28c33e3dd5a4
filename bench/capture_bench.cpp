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

#include <algorithm>
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
#include "corvane_memory.h"
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

// One capture's figures.
struct Figures {
    double requests = 0, connections = 0, wall_ms = 0, cpu_ms = 0;
};
// Every capture of every shape (by its number of virtual disks), and the
// connections the whole session to that shape's simulator opened.
struct ShapeRuns {
    Shape shape;
    std::vector<Figures> runs;
    unsigned long session_connections = 0;
};
std::map<int, ShapeRuns> results;

unsigned long sum(std::map<std::string, unsigned long>& status, const char* a, const char* b) {
    return status[a] + status[b];
}

void BM_Capture(benchmark::State& state) {
    const Shape shape{static_cast<int>(state.range(0)), static_cast<int>(state.range(1))};
    Bench bench(shape);
    if (!bench.error.empty()) {
        state.SkipWithError(bench.error.c_str());
        return;
    }
    ShapeRuns& mine = results.try_emplace(shape.vdisks, ShapeRuns{shape, {}, 0}).first->second;
    Figures total;
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
        Figures f;
        f.wall_ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wall0).count();
        f.cpu_ms = cpu_ms() - cpu0;

        state.PauseTiming();
        auto after = sim_status(bench.sim.address());
        const bool written = std::filesystem::exists(out / "cap_Step1A.txt");  // the step every system has
        std::filesystem::remove_all(out);
        if (!bench.ok() || !written) {
            state.SkipWithError("the capture failed or wrote no cap_Step1A.txt");
            break;
        }
        f.requests = static_cast<double>(sum(after, "bridge_requests", "legacy_requests") -
                                         sum(before, "bridge_requests", "legacy_requests"));
        f.connections = static_cast<double>(sum(after, "bridge_connections", "legacy_connections") -
                                            sum(before, "bridge_connections", "legacy_connections"));
        mine.runs.push_back(f);
        total.requests += f.requests;
        total.connections += f.connections;
        total.wall_ms += f.wall_ms;
        total.cpu_ms += f.cpu_ms;
        ++runs;
        state.ResumeTiming();
    }
    if (runs == 0) return;
    auto end = sim_status(bench.sim.address());
    mine.session_connections = sum(end, "bridge_connections", "legacy_connections");
    state.counters["objects"] = shape.objects_read();
    state.counters["requests"] = total.requests / runs;
    // Should be the number of list reads, the same at every size.
    state.counters["requests_beyond_objects"] = total.requests / runs - shape.objects_read();
    state.counters["connections"] = total.connections / runs;
    state.counters["session_connections"] = static_cast<double>(mine.session_connections);
    state.counters["wall_ms"] = total.wall_ms / runs;
    state.counters["talo_cpu_ms"] = total.cpu_ms / runs;
}
// Virtual disks and hosts; every disk has two LUNs.
BENCHMARK(BM_Capture)
    ->Args({2000, 500})
    ->Args({4000, 1000})
    ->Args({8000, 2000})
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The median over every capture of a shape, repetitions included: the
// machine may be shared, and the median ignores a capture that waited.
double median(const std::vector<Figures>& runs, double Figures::*field) {
    std::vector<double> values;
    for (const Figures& f : runs) values.push_back(f.*field);
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void print_table() {
    if (results.empty()) return;
    std::printf("\nMedians per capture. conns: opened during a capture; session: by the whole session, the\n"
                "selections included. beyond: requests less one per object, i.e. the list reads and any re-read.\n");
    std::printf("%7s %6s %6s %8s %9s %7s %6s %8s %9s %9s   growth per doubling: requests wall cpu\n", "vdisks",
                "hosts", "luns", "objects", "requests", "beyond", "conns", "session", "wall_ms", "cpu_ms");
    const ShapeRuns* previous = nullptr;
    for (const auto& [vdisks, r] : results) {
        if (r.runs.empty()) continue;
        const double requests = median(r.runs, &Figures::requests), wall = median(r.runs, &Figures::wall_ms),
                     cpu = median(r.runs, &Figures::cpu_ms);
        std::printf("%7d %6d %6d %8d %9.0f %7.0f %6.0f %8lu %9.1f %9.1f", vdisks, r.shape.hosts, r.shape.luns(),
                    r.shape.objects_read(), requests, requests - r.shape.objects_read(),
                    median(r.runs, &Figures::connections), r.session_connections, wall, cpu);
        if (previous != nullptr && previous->shape.vdisks * 2 == vdisks) {
            std::printf("   %8.2f %4.2f %4.2f", requests / median(previous->runs, &Figures::requests),
                        wall / median(previous->runs, &Figures::wall_ms), cpu / median(previous->runs, &Figures::cpu_ms));
        }
        std::printf("\n");
        previous = &r;
    }
}

}  // namespace

int main(int argc, char** argv) {
    ss_tune_allocator();  // as the program does at start-up
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    print_table();
    return 0;
}
