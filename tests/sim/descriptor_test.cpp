// The simulator out of file descriptors: it must neither spin nor drop the
// connections it already serves, and it must accept again once some close.
#include <dirent.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "requests.h"
#include "sim_codec.h"
#include "sim_process.h"

namespace {

using Clock = std::chrono::steady_clock;

// UndefinedBehaviorSanitizer's vptr check probes memory through a pipe; in
// a simulator with no descriptor left that fails, and it reports a bad
// object where there is none (suppressions do not reach it).
#if defined(__SANITIZE_ADDRESS__)
constexpr bool sanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool sanitized = true;
#else
constexpr bool sanitized = false;
#endif
#else
constexpr bool sanitized = false;
#endif

// A talo-sim started with a descriptor limit of its own; SimProcess cannot
// set one, and the limit must not touch the test process.
class LimitedSim {
public:
    ~LimitedSim() { stop(); }

    bool start(const std::string& address, rlim_t max_files) {
        int out[2];
        if (pipe(out) != 0) return false;
        pid_t parent = getpid();
        pid_ = fork();
        if (pid_ == 0) {
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            if (getppid() != parent) _exit(127);
            dup2(out[1], 1);
            dup2(out[1], 2);
            // Only the standard three, so the limit counts the simulator's own.
            for (int fd = 3; fd < 1024; ++fd) close(fd);
            rlimit limit{max_files, max_files};
            if (setrlimit(RLIMIT_NOFILE, &limit) != 0) _exit(126);
            std::string a = address;
            char* argv[] = {const_cast<char*>(TALO_SIM_BINARY), const_cast<char*>("--address"), a.data(),
                            const_cast<char*>("--control-port"), const_cast<char*>("0"), nullptr};
            execv(argv[0], argv);
            _exit(127);
        }
        close(out[1]);
        out_ = out[0];
        auto deadline = Clock::now() + std::chrono::seconds(10);
        while (Clock::now() < deadline && output_.find("talo-sim: ready\n") == std::string::npos)
            if (!read_output(100)) break;
        return output_.find("talo-sim: ready\n") != std::string::npos;
    }

    void stop() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        auto deadline = Clock::now() + std::chrono::seconds(5);
        int status = 0;
        while (waitpid(pid_, &status, WNOHANG) == 0) {
            if (Clock::now() > deadline) {
                kill(pid_, SIGKILL);
                waitpid(pid_, &status, 0);
                break;
            }
            read_output(20);
        }
        while (read_output(0)) {
        }
        close(out_);
        pid_ = -1;
    }

    // Clock ticks the process has run, user and system together.
    long cpu_ticks() const {
        std::ifstream in("/proc/" + std::to_string(pid_) + "/stat");
        std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::istringstream fields(stat.substr(stat.rfind(')') + 2));
        std::string skip;
        for (int i = 3; i < 14; ++i) fields >> skip;  // state .. cmajflt
        long utime = 0, stime = 0;
        fields >> utime >> stime;
        return utime + stime;
    }

    int open_descriptors() const {
        DIR* dir = opendir(("/proc/" + std::to_string(pid_) + "/fd").c_str());
        if (dir == nullptr) return -1;
        int n = 0;
        while (dirent* e = readdir(dir))
            if (e->d_name[0] != '.') ++n;
        closedir(dir);
        return n;
    }

    const std::string& output() const { return output_; }

private:
    pid_t pid_ = -1;
    int out_ = -1;
    std::string output_;

    bool read_output(int timeout_ms) {
        pollfd p{out_, POLLIN, 0};
        if (poll(&p, 1, timeout_ms) <= 0) return false;
        char buf[4096];
        ssize_t n = read(out_, buf, sizeof buf);
        if (n <= 0) return false;
        output_.append(buf, static_cast<size_t>(n));
        return true;
    }
};

bool answered(int fd, const std::string& request) {
    if (!simtest::send_text(fd, request)) return false;
    return simtest::read_http_response(fd, 3000).find("SuccessMsg") != std::string::npos;
}

size_t count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

TEST(SimDescriptors, OutOfDescriptorsItBacksOffServesWhatItHasAndAcceptsAgainLater) {
    if (sanitized) GTEST_SKIP() << "the sanitizers' own checks need descriptors this test takes away";
    constexpr rlim_t limit = 32;
    LimitedSim sim;
    std::string address = simtest::unique_loopback_address();
    ASSERT_TRUE(sim.start(address, limit)) << sim.output();
    const std::string request = simtest::bridge_http(
        "Basic " + talosim::base64_encode("administrator:" + talosim::md5_upper_hex("administrator:password")),
        simtest::legacy_doc("Get", {{"ID", ""}, {"Type", "Element"}}));

    int kept = simtest::connect_to(address, 12301);
    ASSERT_GE(kept, 0);
    ASSERT_TRUE(answered(kept, request));

    // More than the limit leaves room for; the rest wait in the backlog.
    std::vector<int> extra;
    for (rlim_t i = 0; i < limit + 8; ++i) {
        int fd = simtest::connect_to(address, 12301);
        ASSERT_GE(fd, 0);
        extra.push_back(fd);
    }
    auto deadline = Clock::now() + std::chrono::seconds(3);
    while (sim.open_descriptors() < static_cast<int>(limit) && Clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_EQ(sim.open_descriptors(), static_cast<int>(limit));

    // A spinning accept loop costs a whole core: about the full interval.
    long ticks_per_second = sysconf(_SC_CLK_TCK);
    long before = sim.cpu_ticks();
    auto start = Clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(1));
    long used = sim.cpu_ticks() - before;
    double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    EXPECT_LT(static_cast<double>(used), 0.3 * elapsed * static_cast<double>(ticks_per_second))
        << used << " ticks in " << elapsed << " s";

    EXPECT_TRUE(answered(kept, request)) << "the established connection went unanswered";

    for (int fd : extra) close(fd);
    int later = -1;
    deadline = Clock::now() + std::chrono::seconds(5);
    bool served = false;
    while (!served && Clock::now() < deadline) {
        later = simtest::connect_to(address, 12301);
        if (later < 0) break;  // refused: the simulator is gone
        served = answered(later, request);
        close(later);
    }
    EXPECT_TRUE(served) << "no new connection was accepted after descriptors were freed";
    EXPECT_TRUE(answered(kept, request));
    close(kept);

    sim.stop();
    // Told once an episode, not once a failed accept; every episode ended.
    size_t episodes = count(sim.output(), "out of file descriptors");
    EXPECT_GE(episodes, 1u) << sim.output();
    EXPECT_LE(episodes, 3u) << sim.output();
    EXPECT_EQ(count(sim.output(), "accepting connections again"), episodes) << sim.output();
}

}  // namespace
