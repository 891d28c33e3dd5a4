// Runs the built talo binary as a user would: arguments, standard input and
// files in a private working folder; returns everything it printed on
// standard output and its exit status. A run that hangs is killed.
#pragma once

#include <map>
#include <string>
#include <vector>

struct TaloRun {
    std::string output;
    int status = -1;              // exit status, or -1 when killed or crashed
    std::vector<double> sleeps;   // seconds of each pause, with fast_sleep
};

struct TaloInvocation {
    std::vector<std::string> args = {};
    std::string input = {};                        // standard input
    std::map<std::string, std::string> files = {}; // written to the working folder first
    std::map<std::string, std::string> env = {};   // added to the environment
    int timeout_seconds = 60;
    bool fast_sleep = false;  // every sleep of the program returns at once and is recorded
};

TaloRun run_program(const std::string& program, const TaloInvocation& invocation);
TaloRun run_talo(const TaloInvocation& invocation);

// The banner every run starts with.
inline const std::string talo_banner = "\n\nTALO Build 7 for veltra quillon dorn 3.2\n";

// HELP's text, as the users' documentation gives it.
inline const std::string talo_help_text =
    "\nCommand syntax help is available at any point within a command by\ntyping a '?'\n\n"
    "For example:\n\nTuvel> ADD VDISK Quabex ?\n\n  The options are:\n"
    "    COMMENT\n    DISK_GROUP\n    MIRRORED_WRITEBACK\n    NOMIRRORED_WRITEBACK\n"
    "    OS_UNIT_ID\n    PREFERRED_PATH\n    NOPREFERRED_PATH\n    READ_CACHE\n"
    "    NOREAD_CACHE\n    REDUNDANCY\n    SIZE\n    WORLD_WIDE_LUN_NAME\n"
    "    WRITE_PROTECT\n    NOWRITE_PROTECT\n\n"
    "Arguments that require keywords may also be queried, for example:\n\n"
    "Tuvel> ADD VDISK Ramsot REDUNDANCY=?\n\n  The options are:\n"
    "    VRAID0\n    VRAID1\n    VRAID5\n";
