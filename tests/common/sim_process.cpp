#include "sim_process.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

namespace simtest {

namespace {
using Clock = std::chrono::steady_clock;
}

std::string unique_loopback_address() {
    static std::atomic<int> counter{0};
    unsigned pid = static_cast<unsigned>(getpid());
    int n = counter.fetch_add(1);
    return "127." + std::to_string(2 + (n + pid / (254u * 256u)) % 250) + "." + std::to_string((pid / 254) % 256) + "." +
           std::to_string(pid % 254 + 1);
}

SimProcess::~SimProcess() { stop(); }

bool SimProcess::start(const std::vector<std::string>& args, const std::string& address) {
    address_ = address.empty() ? unique_loopback_address() : address;
    int pipe_fds[2];
    if (pipe(pipe_fds) != 0) return false;
    std::vector<std::string> argv_s = {TALO_SIM_BINARY, "--address", address_};
    argv_s.insert(argv_s.end(), args.begin(), args.end());
    pid_t parent = getpid();
    pid_ = fork();
    if (pid_ == 0) {
        // A test killed for its time limit takes its simulator with it.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent) _exit(127);
        dup2(pipe_fds[1], 1);
        dup2(pipe_fds[1], 2);
        close(pipe_fds[0]);
        close(pipe_fds[1]);
        std::vector<char*> argv;
        for (std::string& a : argv_s) argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(pipe_fds[1]);
    out_fd_ = pipe_fds[0];
    auto deadline = Clock::now() + std::chrono::seconds(10);
    while (Clock::now() < deadline) {
        pollfd p{out_fd_, POLLIN, 0};
        if (poll(&p, 1, 100) <= 0) continue;
        char buf[1024];
        ssize_t n = read(out_fd_, buf, sizeof buf);
        if (n <= 0) break;
        output_.append(buf, static_cast<size_t>(n));
        if (output_.find("talo-sim: ready\n") != std::string::npos) return true;
    }
    stop();
    return false;
}

int SimProcess::stop() {
    if (pid_ <= 0) return -1;
    kill(pid_, SIGTERM);
    int status = -1;
    auto deadline = Clock::now() + std::chrono::seconds(5);
    bool exited = false;
    while (Clock::now() < deadline) {
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            exited = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (!exited) {
        kill(pid_, SIGKILL);
        waitpid(pid_, &status, 0);
        status = -1;
    }
    char buf[4096];
    for (ssize_t n; (n = read(out_fd_, buf, sizeof buf)) > 0;) output_.append(buf, static_cast<size_t>(n));
    close(out_fd_);
    out_fd_ = -1;
    pid_ = -1;
    return status;
}

int connect_to(const std::string& address, int port) {
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(port));
    inet_pton(AF_INET, address.c_str(), &a.sin_addr);
    timeval tv{5, 0};
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
    if (connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

bool send_text(int fd, const std::string& text) {
    size_t sent = 0;
    while (sent < text.size()) {
        ssize_t n = send(fd, text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return false;
        sent += static_cast<size_t>(n);
    }
    return true;
}

namespace {
// One read with a time limit: bytes appended, 0 at close, -1 on time-out.
ssize_t read_some(int fd, std::string& out, int timeout_ms) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, timeout_ms) <= 0) return -1;
    char buf[65536];
    ssize_t n = recv(fd, buf, sizeof buf, 0);
    if (n > 0) out.append(buf, static_cast<size_t>(n));
    return n < 0 ? 0 : n;
}
}  // namespace

std::string read_until_close(int fd, int timeout_ms, int* reads) {
    std::string out;
    for (ssize_t n; (n = read_some(fd, out, timeout_ms)) > 0;)
        if (reads) ++*reads;
    return out;
}

std::string read_http_response(int fd, int timeout_ms, int* reads) {
    std::string out;
    for (;;) {
        size_t head = out.find("\r\n\r\n");
        if (head != std::string::npos) {
            size_t cl = out.find("Content-Length: ");
            if (cl != std::string::npos && cl < head && out.size() >= head + 4 + std::stoul(out.substr(cl + 16)))
                return out;
        }
        if (read_some(fd, out, timeout_ms) <= 0) return out;
        if (reads) ++*reads;
    }
}

std::string control(const std::string& address, const std::string& command) {
    int fd = connect_to(address, 12399);
    if (fd < 0) return "no control channel";
    send_text(fd, command + "\nquit\n");
    std::string answer = read_until_close(fd);
    close(fd);
    return answer;
}

}  // namespace simtest
