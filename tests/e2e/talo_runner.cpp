#include "talo_runner.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
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

TaloRun run_talo(const TaloInvocation& invocation) {
    std::filesystem::path dir = invocation.dir;
    // Hidden names, so a case's own files cannot clash with them.
    std::string in_path = dir / ".talo-stdin", out_path = dir / ".talo-stdout", sleep_log = dir / ".talo-sleeps";
    write_file(in_path, invocation.input);
    std::filesystem::remove(sleep_log);

    std::map<std::string, std::string> env;
    for (char** e = environ; *e; ++e) {
        std::string entry = *e;
        size_t equals = entry.find('=');
        if (equals != std::string::npos) env[entry.substr(0, equals)] = entry.substr(equals + 1);
    }
    env.erase("TALO_CLOCK_START");
    for (const auto& [name, value] : invocation.env) env[name] = value;
    env["LD_PRELOAD"] = TALO_TEST_CLOCK;
    env["TALO_SLEEP_LOG"] = sleep_log;
    // The sanitizer runtime would insist on being loaded first.
    std::string& asan = env["ASAN_OPTIONS"];
    asan += (asan.empty() ? "" : ":") + std::string("verify_asan_link_order=0");
    std::vector<std::string> env_text;
    for (const auto& [name, value] : env) env_text.push_back(name + "=" + value);
    std::vector<char*> envp;
    for (auto& e : env_text) envp.push_back(e.data());
    envp.push_back(nullptr);

    std::string program = TALO_BINARY;
    std::vector<std::string> arg_text{program};
    arg_text.insert(arg_text.end(), invocation.args.begin(), invocation.args.end());
    std::vector<char*> argv;
    for (auto& a : arg_text) argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
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
    bool killed = false;
    for (;;) {
        pid_t done = waitpid(pid, &wait_status, WNOHANG);
        if (done == pid) break;
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &wait_status, 0);
            killed = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    run.output = read_file(out_path);
    if (killed) run.output += "\n<killed: timeout>";
    std::istringstream sleeps(read_file(sleep_log));
    for (double seconds; sleeps >> seconds;) run.sleeps.push_back(seconds);
    if (!killed && WIFEXITED(wait_status)) run.status = WEXITSTATUS(wait_status);
    for (const std::string& path : {in_path, out_path, sleep_log}) std::filesystem::remove(path);
    return run;
}
