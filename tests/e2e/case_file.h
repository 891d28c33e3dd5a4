// A case file read into its directives, in file order, each with its line
// number; every mistake in the file is found here, before anything runs.
// The format is described at the top of case_runner.cpp.
#pragma once

#include <string>
#include <vector>

namespace e2e {

// The lines of a text section as written, and whether its text ends in a
// line feed; `first_line` is the file line of `lines[0]`.
struct Text {
    int first_line = 0;
    std::vector<std::string> lines;
    bool final_newline = true;

    std::string bytes(const std::string& address) const;
};

struct Directive {
    enum Kind {
        arg,            // value: one invocation-line argument
        input,          // text: standard input
        env,            // name=value
        clock,          // value: seconds since 1970
        file,           // name, text
        append,         // name, text, times
        copy,           // name, value: path in the source tree
        symlink,        // name, value: the target as written
        file_is,        // name, text
        no_file,        // name
        same_file,      // name, value: the other file's name
        sim,            // value: more options
        sim_control,    // value: the command
        sim_count,      // name, more_than, number
        output,         // text
        output_has,     // text
        output_lacks,   // text
        sim_log_has,    // text
        sim_log_lacks,  // text
        status,         // number
        sleeps,         // value: the seconds, separated by spaces
    };
    Kind kind;
    int line = 0;
    std::string name, value;
    Text text;
    long number = 0;
    int times = 1;
    bool more_than = false;  // sim-count "> N" rather than "N"

    // The checks of one run of talo, which together start it.
    bool checks_run() const;
};

struct CaseFile {
    std::string path;
    std::vector<Directive> directives;
};

// False with "NAME:LINE: what is wrong" in `error`, NAME being the path as
// reports show it (`out.path`).
bool read_case(const std::string& path, const std::string& shown_as, CaseFile& out, std::string& error);

}  // namespace e2e
