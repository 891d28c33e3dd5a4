// The keyword tree under load: one long option-laden command parsed against
// the whole tree, and the keyword-conflict check for a name that equals no
// keyword (the walk that visits the most of the tree).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "corvane_kwt.h"
#include "corvane_parse.h"
#include "corvane_session.h"
#include "corvane_state.h"

namespace {

struct Session {
    Session() {
        sink = std::fopen("/dev/null", "w");
        OutFile = sink;
        pb = ss_session_create();
    }
    ~Session() {
        ss_session_destroy(pb);
        OutFile = stdout;
        std::fclose(sink);
    }
    FILE* sink;
    _parseblk* pb;
};

// ADD VDISK with its options repeated up to the longest command line.
std::string long_add_vdisk() {
    std::string line = "ADD VDISK \"\\Virtual Disks\\Quabex\"";
    const std::string options =
        " SIZE=100 REDUNDANCY=VRAID5 READ_CACHE MIRRORED_WRITEBACK PREFERRED_PATH=PATH_A_BOTH"
        " OS_UNIT_ID=12 DISK_GROUP=\"Default Disk Group\" NOWRITE_PROTECT";
    while (line.size() + options.size() < 2046) line += options;
    return line;
}

void BM_ParseLongCommand(benchmark::State& state) {
    Session session;
    std::string text = long_add_vdisk();
    std::string line;
    for (auto _ : state) {
        line = text;
        session.pb->cursor = line.data();
        session.pb->remaining = static_cast<uint32_t>(line.size());
        // As the command loop runs a command: working memory reset before, released after.
        ss_session_begin_command(session.pb);
        int status = ss_parse(Corvane_kwt, session.pb);
        ss_release_working_mem();
        if (status != parse_ok) {
            state.SkipWithError("the command did not parse");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_ParseLongCommand);

void BM_ConflictScanMiss(benchmark::State& state) {
    Session session;
    const char* name = "Quabex";
    for (auto _ : state)
        benchmark::DoNotOptimize(cci_scan_for_noconflict(static_cast<uint32_t>(std::strlen(name)), name, Corvane_kwt));
}
BENCHMARK(BM_ConflictScanMiss);

}  // namespace

BENCHMARK_MAIN();
