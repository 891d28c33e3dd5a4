// Runs the built talo binary as a user would, in a given working folder,
// with arguments and standard input, under the test clock (instant,
// recorded sleeps); returns everything it printed on standard output and
// its exit status. A run that hangs is killed.
#pragma once

#include <map>
#include <string>
#include <vector>

struct TaloRun {
    std::string output;
    int status = -1;             // exit status, or -1 when killed or crashed
    std::vector<double> sleeps;  // seconds of each pause
};

struct TaloInvocation {
    std::string dir;  // working folder; it must exist
    std::vector<std::string> args = {};
    std::string input = {};                       // standard input
    std::map<std::string, std::string> env = {};  // added to the environment
    int timeout_seconds = 60;
};

TaloRun run_talo(const TaloInvocation& invocation);
