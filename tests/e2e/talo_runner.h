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
