#include "talo_runner.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace {

void write_file(const std::filesystem::path& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary);
    file << text;
}

std::string read_file(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

}  // namespace

TaloRun run_program(const std::string& program, const TaloInvocation& invocation) {
    char pattern[] = "/tmp/talo-e2e-XXXXXX";
    if (!mkdtemp(pattern)) throw std::runtime_error("mkdtemp failed");
    std::filesystem::path dir = pattern;
    for (const auto& [name, text] : invocation.files) write_file(dir / name, text);
    write_file(dir / ".stdin", invocation.input);

    std::map<std::string, std::string> env;
    for (char** e = environ; *e; ++e) {
        std::string entry = *e;
        size_t equals = entry.find('=');
        if (equals != std::string::npos) env[entry.substr(0, equals)] = entry.substr(equals + 1);
    }
    for (const auto& [name, value] : invocation.env) env[name] = value;
    std::string sleep_log = dir / ".sleeps";
    if (invocation.fast_sleep) {
        env["LD_PRELOAD"] = TALO_FAST_SLEEP;
        env["TALO_SLEEP_LOG"] = sleep_log;
        // The sanitizer runtime would insist on being loaded first.
        std::string& asan = env["ASAN_OPTIONS"];
        asan += (asan.empty() ? "" : ":") + std::string("verify_asan_link_order=0");
    }
    std::vector<std::string> env_text;
    for (const auto& [name, value] : env) env_text.push_back(name + "=" + value);
    std::vector<char*> envp;
    for (auto& e : env_text) envp.push_back(e.data());
    envp.push_back(nullptr);

    std::vector<std::string> arg_text{program};
    arg_text.insert(arg_text.end(), invocation.args.begin(), invocation.args.end());
    std::vector<char*> argv;
    for (auto& a : arg_text) argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    std::string in_path = dir / ".stdin", out_path = dir / ".stdout";
    posix_spawn_file_actions_addopen(&actions, 0, in_path.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addchdir_np(&actions, dir.c_str());

    pid_t pid = 0;
    int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) throw std::runtime_error("cannot start " + program);

    TaloRun run;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(invocation.timeout_seconds);
    int wait_status = 0;
    for (;;) {
        pid_t done = waitpid(pid, &wait_status, WNOHANG);
        if (done == pid) break;
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &wait_status, 0);
            run.output = read_file(out_path) + "\n<killed: timeout>";
            std::filesystem::remove_all(dir);
            return run;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    run.output = read_file(out_path);
    std::istringstream sleeps(read_file(sleep_log));
    for (double seconds; sleeps >> seconds;) run.sleeps.push_back(seconds);
    if (WIFEXITED(wait_status)) run.status = WEXITSTATUS(wait_status);
    std::filesystem::remove_all(dir);
    return run;
}

TaloRun run_talo(const TaloInvocation& invocation) { return run_program(TALO_BINARY, invocation); }
