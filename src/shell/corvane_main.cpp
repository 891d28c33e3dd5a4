#include "corvane_main.h"

#include <cstdio>
#include <new>

#include "EMClientAPITNG.h"
#include "corvane_loop.h"
#include "corvane_memory.h"
#include "corvane_seams.h"
#include "corvane_session.h"
#include "corvane_state.h"

namespace {
// Library code that allocates with new ends on the same fatal path as ours.
void out_of_memory() {
    std::fputs("\nError: Could not allocate memory for Corvane use in module corvane_main, line 0", OutFile);
    ss_fatal_exit();
}
}  // namespace

int ss_main(int argc, char** argv) {
    OutFile = stdout;
    ss_tune_allocator();
    std::set_new_handler(out_of_memory);
    _parseblk* pb = ss_session_create();

    EMClientAPITNGSetBlockMode(1);
    std::fprintf(OutFile, "\n\nTALO Build %s for veltra quillon dorn %s\n", "7", "3.2");

    if (argc <= 1) {
        input_source = input_keyboard;
        ss_commands_from_keyboard(pb);
    } else {
        input_source = input_invoke_line;
        ss_commands_from_invoke_line(pb, argc, argv);
    }

    uint32_t flags = pb->state->session_flags;
    bool stopped = flags & stopped_on_error;
    bool no_pause = flags & exit_without_pause;
    ss_session_destroy(pb);
    // A recording still going ends with the program: what follows is for the screen.
    if (OutFile != stdout) {
        std::fclose(OutFile);
        OutFile = stdout;
    }

    if (TotalRegressionDifferences != -1)
        std::fprintf(OutFile, "\nTotal regression differences = %u", static_cast<unsigned>(TotalRegressionDifferences));
    if ((stopped && !no_pause) || TotalRegressionDifferences != -1) {
        std::fputs("\n\nPress return to exit", OutFile);
        std::fflush(OutFile);
        std::fgetc(ss_input_stream());
    }
    std::fflush(OutFile);
    EMClientAPITNGCleanup();
    return stopped ? 1 : 0;
}
