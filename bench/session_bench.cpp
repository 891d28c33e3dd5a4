// Whole commands against the simulated management server, in process: the
// command side builds each request, the client library carries it over one
// kept-alive loopback connection, and the reply is tokenized, turned into
// the object list and printed (to /dev/null). Rates are commands per
// second; the CPU time per command is this process's, i.e. the client's
// (the simulator runs in its own process).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <unistd.h>
#include <string>

#include "corvane_file.h"
#include "corvane_loop.h"
#include "corvane_session.h"
#include "corvane_state.h"
#include "sim_process.h"

namespace {

// A system with 2000 virtual disks (and a disk group for them).
std::string big_scenario() {
    std::string json = R"({"manager": {"version": "SIM", "build": "bench"}, "systems": [{"name": "Big",
      "disks": [{"group": "\\Disk Groups\\Default Disk Group", "count": 12, "capacity": "146 GB"}],
      "objects": [{"type": "DiskGroup", "name": "\\Disk Groups\\Default Disk Group", "props": {"Total_Disks": "12"}})";
    for (int i = 0; i < 2000; ++i)
        json += ",\n{\"type\": \"Storage\", \"name\": \"\\\\Virtual Disks\\\\vd" + std::to_string(i) +
                "\\\\ACTIVE\", \"props\": {\"Capacity_Req\": \"10 GB\", \"Redundancy\": \"VRAID5\"}}";
    return json + "]}]}\n";
}

struct Session {
    Session() {
        char path[] = "/tmp/talo-bench-scenario-XXXXXX";
        int fd = mkstemp(path);
        if (fd >= 0) close(fd);
        scenario = path;
        std::ofstream(scenario) << big_scenario();
        if (!sim.start({"--scenario", scenario})) std::fprintf(stderr, "talo-sim: %s\n", sim.output().c_str());
        sink = std::fopen("/dev/null", "w");
        OutFile = sink;
        pb = ss_session_create();
        command_delay = 0;
        run("SELECT MANAGER " + sim.address() + " USERNAME=administrator PASSWORD=password");
        run("SELECT SYSTEM Big");
    }
    ~Session() {
        ss_session_destroy(pb);
        std::fclose(sink);
        OutFile = stdout;
        sim.stop();
        std::remove(scenario.c_str());
    }
    void run(std::string command) { ss_parse_command(pb, command.data(), nullptr); }
    bool ok() const { return pb->state->cell_id && !(pb->state->session_flags & stopped_on_error); }

    simtest::SimProcess sim;
    std::string scenario;
    FILE* sink = nullptr;
    _parseblk* pb = nullptr;
};

Session& session() {
    static Session s;
    return s;
}

void BM_ShowVdiskList2000(benchmark::State& state) {
    Session& s = session();
    if (!s.ok()) state.SkipWithError("no session with the simulator");
    for (auto _ : state) s.run("SHOW VDISK");
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ShowVdiskList2000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CommandScript1000(benchmark::State& state) {
    Session& s = session();
    if (!s.ok()) state.SkipWithError("no session with the simulator");
    std::string script;
    for (int i = 0; i < 1000; ++i) script += i % 2 ? "SHOW DISK_GROUP\n" : "SHOW SYSTEM\n";
    for (auto _ : state) {
        FILE* file = fmemopen(script.data(), script.size(), "r");
        ss_commands_from_file(file, s.pb);
        std::fclose(file);
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_CommandScript1000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
