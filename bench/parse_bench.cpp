// Command lines per second through the whole command loop: a generated
// command file read, echoed, parsed and executed (output to /dev/null).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "corvane_file.h"
#include "corvane_session.h"
#include "corvane_state.h"

namespace {

std::string command_file(int lines) {
    static const char* const commands[] = {
        "SET OPTIONS DISPLAY_WIDTH=100 NORETRIES SAFE_DELETE ON_ERROR=CONTINUE NOCOMMAND_DELAY",
        "! a comment line that the loop skips",
        "show opt",
        "FILE ?",
        "SET OPTIONS DISPLAY_WIDTH=?",
        "exit now",
    };
    constexpr int count = sizeof commands / sizeof commands[0];
    std::string text;
    for (int i = 0; i < lines; ++i) {
        text += commands[i % count];
        text += '\n';
    }
    return text;
}

void BM_CommandFile(benchmark::State& state) {
    const int lines = static_cast<int>(state.range(0));
    std::string text = command_file(lines);
    FILE* sink = std::fopen("/dev/null", "w");
    OutFile = sink;
    _parseblk* pb = ss_session_create();
    command_delay = 0;
    for (auto _ : state) {
        FILE* file = fmemopen(text.data(), text.size(), "r");
        ss_commands_from_file(file, pb);
        std::fclose(file);
    }
    state.SetItemsProcessed(state.iterations() * lines);
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
    ss_session_destroy(pb);
    std::fclose(sink);
}
BENCHMARK(BM_CommandFile)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
