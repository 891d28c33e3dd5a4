// e2e_case_runner: runs one end-to-end case file (tests/e2e/cases/*.case)
// against the real talo, and a real talo-sim when the case starts one, and
// reports the first thing that differs with the case file's line number:
//   tests/e2e/cases/NAME.case:LINE: expected "..." got "..."
// followed, for output and file-is, by the whole actual output or file
// written as a section.
//
// Usage: e2e_case_runner CASE_FILE
//        e2e_case_runner --expect-failure TEXT CASE_FILE   (the runner's own
//            tests: succeeds only when the case fails with TEXT in its report)
//
// The format. Lines before the first directive describe the case. A
// directive is a line starting with "#> "; directives take effect in file
// order, in one working folder shared by every run of talo and the simulator.
//
//   #> sim                      start talo-sim with the demo array, on a loopback
//   #> sim: OPTIONS             address of its own (@ADDR@); OPTIONS such as
//                               "--scenario array.json" (a file written before).
//                               A later one stops the simulator and starts the new
//                               one on the same address; its request log and
//                               counts start empty. "--address 127.1.0.N" pins
//                               the address, for files that hold it (a capture's
//                               checksum covers it); the runner's own addresses
//                               never have 1 as second number, so each such case
//                               takes an N of its own
//   #> sim-control: COMMAND     a control-channel command, answered "OK"; after
//                               "refuse on" the runner waits until the bridge refuses
//   #> file NAME:               text section: a file in the working folder
//   #> append NAME, N times:    text section appended N times (", N times" optional)
//   #> file NAME < PATH         a copy of PATH from the source tree
//   #> symlink NAME: TARGET     a symbolic link NAME to TARGET, as written (/dev/full)
//   #> arg: COMMAND             one invocation-line argument of the next run
//   #> stdin:                   text section: standard input of the next run
//   #> env: NAME=VALUE          environment of the next run
//   #> clock: SECONDS           the next run's time() starts there (seconds since 1970)
//
// A block of consecutive check lines runs talo once, with what was set up
// since the previous run, then checks it:
//   #> output:                  text section: the whole standard output
//   #> output has: TEXT         TEXT appears in it ("has:" alone: a text section)
//   #> output lacks: TEXT       TEXT does not
//   #> status: N                the exit status; every run states it
//   #> sleeps: S S ...          the pauses, in seconds; without it talo must not pause
// After a run:
//   #> sim-count NAME: N        a count of the simulator's "status" answer
//                               (bridge_requests, legacy_connections, ...); "> N" for more than N
//   #> sim-log has:             text section: bytes that appear in the request log
//   #> sim-log lacks:           (both also take ": TEXT" on one line)
//   #> file-is NAME:            text section: the whole of file NAME, reported
//                               like output
//   #> no file: NAME            nothing named NAME, not even a dangling symlink
//   #> same file: A B           files A and B hold the same bytes
//   #> # ...                    a comment
//
// Text sections: the lines up to the next "#> " line, each standing for
// itself and a line feed; "#> no newline at end" right after the last line
// drops that line's feed. Bytes are exact, with placeholders for what an
// editor would lose or the run decides: @SP@ (a space; a blank at the end of
// a line must be written so), @TAB@, @CR@, @xHH@ (any byte), @AT@ ("@" where
// a placeholder would be read), @ADDR@ (the simulator's address); "@SP*40@"
// repeats. A text line starting "#>" is written "@x23@>". The same
// placeholders work in one-line values.
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "case_file.h"
#include "case_text.h"
#include "sim_process.h"
#include "talo_runner.h"

namespace {

using e2e::CaseFile;
using e2e::Directive;

std::string read_file(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// Runs a case's directives in order; `report` receives what went wrong.
class CaseRun {
public:
    CaseRun(const CaseFile& c, std::ostream& report) : case_(c), report_(report) {}

    bool run(const std::filesystem::path& dir) {
        dir_ = dir;
        const auto& ds = case_.directives;
        for (std::size_t i = 0; i < ds.size();) {
            if (ds[i].checks_run()) {
                std::size_t end = i;
                while (end < ds.size() && ds[end].checks_run()) ++end;
                if (!run_talo_and_check(i, end)) return false;
                i = end;
            } else if (!step(ds[i++])) {
                return false;
            }
        }
        return true;
    }

private:
    // "path:line: " for a report.
    std::string at(int line) const { return case_.path + ":" + std::to_string(line) + ": "; }
    std::string address() const { return sim_ ? sim_->address() : std::string(); }
    std::string expand(const std::string& value) const { return e2e::expand(value, address()); }

    bool fail(int line, const std::string& what) {
        report_ << at(line) << what << "\n";
        return false;
    }

    bool step(const Directive& d) {
        switch (d.kind) {
            case Directive::arg:
                next_.args.push_back(expand(d.value));
                return true;
            case Directive::input:
                next_.input = d.text.bytes(address());
                return true;
            case Directive::env: {
                std::string value = expand(d.value);
                std::size_t equals = value.find('=');
                next_.env[value.substr(0, equals)] = value.substr(equals + 1);
                return true;
            }
            case Directive::clock:
                next_.env["TALO_CLOCK_START"] = std::to_string(d.number);
                return true;
            case Directive::file:
            case Directive::append: {
                std::filesystem::path path = dir_ / d.name;
                std::filesystem::create_directories(path.parent_path());
                std::ofstream file(path,
                                   std::ios::binary | (d.kind == Directive::append ? std::ios::app : std::ios::trunc));
                std::string text = d.text.bytes(address());
                for (int i = 0; i < d.times; ++i) file << text;
                return file.good() || fail(d.line, "cannot write " + d.name);
            }
            case Directive::copy: {
                std::string text = read_file(std::filesystem::path(TALO_SOURCE_DIR) / d.value);
                if (text.empty()) return fail(d.line, "cannot read " + d.value + " in the source tree");
                std::filesystem::path path = dir_ / d.name;
                std::filesystem::create_directories(path.parent_path());
                std::ofstream(path, std::ios::binary) << text;
                return true;
            }
            case Directive::symlink: {
                std::filesystem::path path = dir_ / d.name;
                std::filesystem::create_directories(path.parent_path());
                std::error_code error;
                std::filesystem::create_symlink(expand(d.value), path, error);
                return !error || fail(d.line, "cannot make symlink " + d.name + ": " + error.message());
            }
            case Directive::file_is:
                return file_is(d);
            case Directive::no_file: {
                std::error_code error;
                auto status = std::filesystem::symlink_status(dir_ / d.name, error);
                if (!std::filesystem::exists(status)) return true;
                if (!std::filesystem::is_symlink(status)) return fail(d.line, d.name + " exists");
                return fail(d.line, d.name + " exists, a symlink to " +
                                        e2e::quoted(std::filesystem::read_symlink(dir_ / d.name, error).string()));
            }
            case Directive::same_file:
                return same_file(d);
            case Directive::sim:
                return start_sim(d);
            case Directive::sim_control:
                return control(d);
            case Directive::sim_count:
                return count(d);
            case Directive::sim_log_has:
            case Directive::sim_log_lacks: {
                std::string log = read_file(dir_ / ".sim.log");
                std::string text = d.text.bytes(address());
                bool found = log.find(text) != std::string::npos;
                if (found == (d.kind == Directive::sim_log_has)) return true;
                return fail(d.line, std::string(found ? "the request log holds " : "the request log lacks ") +
                                        e2e::quoted(text) + "; the log:\n" + log);
            }
            default:
                return fail(d.line, "not a step");  // checks are handled by run_talo_and_check
        }
    }

    // A later simulator takes the place of the one before, on its address, so
    // @ADDR@ means one thing for the whole case.
    bool start_sim(const Directive& d) {
        std::vector<std::string> options{"--log", (dir_ / ".sim.log").string()};
        std::string address;
        std::istringstream words(expand(d.value));
        for (std::string word; words >> word;) {
            if (word == "--address" && words >> address) continue;
            options.push_back(word);
        }
        bridge_port_ = "12301";
        for (std::size_t i = 2; i + 1 < options.size(); ++i)
            if (options[i] == "--bridge-port") bridge_port_ = options[i + 1];
        if (sim_) {
            address = sim_->address();
            sim_->stop();  // waits for its exit, which frees the ports
        }
        sim_ = std::make_unique<simtest::SimProcess>();
        return sim_->start(options, address) || fail(d.line, "talo-sim did not start:\n" + sim_->output());
    }

    // Reads NAME in the working folder into `text`; false, reported, when there is none.
    bool read_case_file(const Directive& d, const std::string& name, std::string& text) {
        std::filesystem::path path = dir_ / name;
        std::error_code error;
        if (std::filesystem::is_directory(path, error)) return fail(d.line, name + " is a folder, not a file");
        std::ifstream file(path, std::ios::binary);
        if (!file) return fail(d.line, "no file " + name);
        std::ostringstream bytes;
        bytes << file.rdbuf();
        text = bytes.str();
        return true;
    }

    bool file_is(const Directive& d) {
        std::string actual;
        if (!read_case_file(d, d.name, actual)) return false;
        auto diff = e2e::first_difference(d.text.bytes(address()), actual);
        if (!diff) return true;
        int line = d.text.first_line + static_cast<int>(diff->line);
        report_ << at(line) << "expected " << (diff->expected ? e2e::quoted(*diff->expected) : "end of file")
                << " got " << (diff->actual ? e2e::quoted(*diff->actual) : "end of file") << "\n"
                << "The whole file " << d.name << ", written as a section:\n"
                << e2e::as_section(actual, address());
        return false;
    }

    bool same_file(const Directive& d) {
        std::string a, b;
        if (!read_case_file(d, d.name, a) || !read_case_file(d, d.value, b)) return false;
        auto diff = e2e::first_difference(a, b);
        if (!diff) return true;
        auto shown = [](const std::optional<std::string>& line) { return line ? e2e::quoted(*line) : "end of file"; };
        return fail(d.line, d.name + " and " + d.value + " differ at line " + std::to_string(diff->line + 1) + " of " +
                                d.name + ": " + shown(diff->expected) + " in " + d.name + ", " + shown(diff->actual) +
                                " in " + d.value);
    }

    bool control(const Directive& d) {
        std::string command = expand(d.value);
        std::string answer = simtest::control(sim_->address(), command);
        if (answer != "OK\n") return fail(d.line, "the simulator answered " + e2e::quoted(answer));
        if (command != "refuse on") return true;
        // The simulator closes its bridge port shortly after the switch.
        for (int tries = 0; tries < 250; ++tries) {
            int fd = simtest::connect_to(sim_->address(), std::stoi(bridge_port_));
            if (fd < 0) return true;
            close(fd);
            usleep(20000);
        }
        return fail(d.line, "the bridge port stays open");
    }

    bool count(const Directive& d) {
        std::string status = simtest::control(sim_->address(), "status");
        std::istringstream words(status);
        for (std::string word; words >> word;) {
            if (!word.starts_with(d.name + "=")) continue;
            long value = std::stol(word.substr(d.name.size() + 1));
            if (d.more_than ? value > d.number : value == d.number) return true;
            return fail(d.line, "expected " + d.name + (d.more_than ? " > " : " = ") + std::to_string(d.number) +
                                    " got " + std::to_string(value) + " (" + status.substr(0, status.size() - 1) + ")");
        }
        return fail(d.line, "no count " + d.name + " in " + e2e::quoted(status));
    }

    // One run of talo for the check lines [begin, end), then each check.
    bool run_talo_and_check(std::size_t begin, std::size_t end) {
        next_.dir = dir_.string();
        TaloRun run = run_talo(next_);
        next_ = {};
        bool ok = true, sleeps_stated = false, output_shown = false;
        auto show_output = [&] {
            if (output_shown) return;
            output_shown = true;
            report_ << "The whole output, written as a section:\n" << e2e::as_section(run.output, address());
        };
        for (std::size_t i = begin; i < end; ++i) {
            const Directive& d = case_.directives[i];
            switch (d.kind) {
                case Directive::output: {
                    std::string expected = d.text.bytes(address());
                    auto diff = e2e::first_difference(expected, run.output);
                    if (!diff) break;
                    ok = false;
                    int line = d.text.first_line + static_cast<int>(diff->line);
                    report_ << at(line) << "expected "
                            << (diff->expected ? e2e::quoted(*diff->expected) : "end of output") << " got "
                            << (diff->actual ? e2e::quoted(*diff->actual) : "end of output") << "\n";
                    show_output();
                    break;
                }
                case Directive::output_has:
                case Directive::output_lacks: {
                    std::string text = d.text.bytes(address());
                    bool found = run.output.find(text) != std::string::npos;
                    if (found == (d.kind == Directive::output_has)) break;
                    ok = fail(d.line,
                              std::string(found ? "the output holds " : "the output lacks ") + e2e::quoted(text));
                    show_output();
                    break;
                }
                case Directive::status:
                    if (run.status != d.number)
                        ok = fail(d.line,
                                  "expected status " + std::to_string(d.number) + " got " + std::to_string(run.status));
                    break;
                case Directive::sleeps: {
                    sleeps_stated = true;
                    std::vector<double> expected;
                    std::istringstream seconds(d.value);
                    for (double s; seconds >> s;) expected.push_back(s);
                    if (run.sleeps != expected)
                        ok = fail(d.line,
                                  "expected sleeps " + e2e::quoted(d.value) + " got " + e2e::quoted(sleeps(run)));
                    break;
                }
                default:
                    break;
            }
        }
        if (!sleeps_stated && !run.sleeps.empty())
            ok = fail(case_.directives[begin].line, "talo paused (" + sleeps(run) + ") and no \"#> sleeps:\" says so");
        return ok;
    }

    static std::string sleeps(const TaloRun& run) {
        std::string out;
        for (double s : run.sleeps) {
            char text[32];
            std::snprintf(text, sizeof text, "%s%g", out.empty() ? "" : " ", s);
            out += text;
        }
        return out;
    }

    const CaseFile& case_;
    std::ostream& report_;
    std::filesystem::path dir_;
    std::unique_ptr<simtest::SimProcess> sim_;
    std::string bridge_port_ = "12301";
    TaloInvocation next_;
};

// The case file's name as reports give it: from the source tree's top when inside it.
std::string shown_path(const std::string& path) {
    std::error_code error;
    std::filesystem::path relative =
        std::filesystem::relative(std::filesystem::weakly_canonical(path, error), TALO_SOURCE_DIR, error);
    if (error || relative.empty() || relative.string().starts_with("..")) return path;
    return relative.string();
}

bool run_case(const std::string& path, std::ostream& report) {
    CaseFile c;
    std::string error;
    if (!e2e::read_case(path, shown_path(path), c, error)) {
        report << error << "\n";
        return false;
    }
    char pattern[] = "/tmp/talo-case-XXXXXX";
    if (!mkdtemp(pattern)) {
        report << "cannot make a working folder\n";
        return false;
    }
    // The simulator takes relative paths (--scenario NAME) from the working folder too.
    std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(pattern);
    bool ok;
    {
        CaseRun run(c, report);
        ok = run.run(pattern);
    }  // the simulator stops before its folder goes
    std::filesystem::current_path(before);
    std::filesystem::remove_all(pattern);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    // A reader that stops early (| head) must not keep the runner from
    // stopping its simulator.
    std::signal(SIGPIPE, SIG_IGN);
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 3 && args[0] == "--expect-failure") {
        std::ostringstream report;
        bool passed = run_case(args[2], report);
        std::cout << report.str();
        if (passed) {
            std::cout << "the case passed, but it should fail with: " << args[1] << "\n";
            return 1;
        }
        if (report.str().find(args[1]) == std::string::npos) {
            std::cout << "the report lacks: " << args[1] << "\n";
            return 1;
        }
        return 0;
    }
    if (args.size() != 1) {
        std::cerr << "usage: e2e_case_runner [--expect-failure TEXT] CASE_FILE\n";
        return 2;
    }
    return run_case(args[0], std::cout) ? 0 : 1;
}
