// Starts a real talo-sim process on a loopback address of its own, so tests
// can run in parallel although the ports are fixed, and stops it again.
#pragma once

#include <string>
#include <vector>

namespace simtest {

class SimProcess {
public:
    SimProcess() = default;
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // Starts the binary with --address and the extra arguments and waits
    // (at most 10 s) until it says it is ready. False with its output on failure.
    // `address` empty picks one of its own; a given one lets a simulator take
    // the place of one stopped before, for clients that keep its address.
    bool start(const std::vector<std::string>& args = {}, const std::string& address = {});
    // SIGTERM, then waits at most 5 s (SIGKILL after that); the exit status
    // as waitpid reports it, or -1 when it had to be killed.
    int stop();

    const std::string& address() const { return address_; }
    const std::string& output() const { return output_; }

private:
    int pid_ = -1;
    int out_fd_ = -1;
    std::string address_;
    std::string output_;
};

// An address in 127.0.0.0/8 that no other test process uses at the same time.
std::string unique_loopback_address();

// Connects to address:port with a 5 s limit; -1 when refused.
int connect_to(const std::string& address, int port);
// Sends everything; false on failure.
bool send_text(int fd, const std::string& text);
// Reads until the peer closes or `timeout_ms` passes without data.
std::string read_until_close(int fd, int timeout_ms = 5000, int* reads = nullptr);
// Reads one HTTP response framed by its Content-Length.
std::string read_http_response(int fd, int timeout_ms = 5000, int* reads = nullptr);
// One control-channel command and its answer line(s).
std::string control(const std::string& address, const std::string& command);

}  // namespace simtest
