#include "corvane_main.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "EMClientAPITNG.h"
#include "corvane_check.h"
#include "corvane_loop.h"
#include "corvane_memory.h"
#include "corvane_seams.h"
#include "corvane_session.h"
#include "corvane_state.h"

namespace {
const char build_number[] = "7";
const char build_version[] = "3.2";

const char usage_text[] =
    "Usage: talo [COMMAND ...]\n"
    "       talo --check FILE ...\n"
    "       talo --help | -h | --version\n"
    "\n"
    "TALO runs storage-array commands from three sources:\n"
    "  the invocation line  each argument is one command, run in order\n"
    "  the keyboard         with no arguments, commands are read at the prompt\n"
    "  command files        FILE NAME runs the file's lines as commands (blank\n"
    "                       lines and lines starting \"!\" are skipped); files\n"
    "                       may name further files\n"
    "\n"
    "  --check FILE ...     parse every line of the command files, and of the\n"
    "                       files their FILE lines name, and report each faulty\n"
    "                       line as FILE:LINE; nothing is sent. Exit status 1\n"
    "                       when a line is faulty, 0 when all are clean\n"
    "  --help, -h           this text\n"
    "  --version            the build\n"
    "\n"
    "Type \"?\" anywhere in a command for the choices there, or HELP.\n"
    "talo-sim is a simulated management server to try scripts on\n"
    "(talo-sim --help).\n"
    "\n"
    "More: man talo, man talo-sim, and the README.\n";

// A lone "--..." argument is a program option; anything else, even with
// such an argument among others, stays a command as it always was.
// Returns the exit status when the argument was an option, -1 otherwise.
int program_option(const char* argument) {
    if (std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0) {
        std::fputs(usage_text, stdout);
        return 0;
    }
    if (std::strcmp(argument, "--version") == 0) {
        std::printf("talo %s (TALO Build %s for veltra quillon dorn %s)\n", build_number, build_number,
                    build_version);
        return 0;
    }
    if (std::strcmp(argument, "--check") == 0) {
        std::fprintf(stderr, "talo: --check needs one or more command files\n\n%s", usage_text);
        return 2;
    }
    if (std::strncmp(argument, "--", 2) == 0) {
        std::fprintf(stderr, "talo: unknown option %s\n\n%s", argument, usage_text);
        return 2;
    }
    return -1;
}

// Library code that allocates with new ends on the same fatal path as ours.
void out_of_memory() {
    std::fputs("\nError: Could not allocate memory for Corvane use in module corvane_main, line 0", OutFile);
    ss_fatal_exit();
}
}  // namespace

int ss_main(int argc, char** argv) {
    if (argc == 2) {
        int status = program_option(argv[1]);
        if (status >= 0) return status;
    }

    OutFile = stdout;
    ss_tune_allocator();
    std::set_new_handler(out_of_memory);
    if (argc > 2 && std::strcmp(argv[1], "--check") == 0) return ss_check_main(argc - 2, argv + 2);
    _parseblk* pb = ss_session_create();

    EMClientAPITNGSetBlockMode(1);
    std::fprintf(OutFile, "\n\nTALO Build %s for veltra quillon dorn %s\n", build_number, build_version);

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
