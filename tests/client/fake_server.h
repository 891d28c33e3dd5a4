// A scripted server on a loopback address for the cases the simulator has
// no switch for: it answers each request with the next canned reply, or
// accepts connections and never answers at all. Every wait is bounded.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace clienttest {

class FakeServer {
public:
    // Listens on address:port. With replies, each request (read through its
    // Content-Length, or to the NUL a legacy client ends it with) gets the
    // next reply, on a kept-alive connection or, with closeEach, on a
    // connection closed after it; with none, connections are queued by the
    // kernel and never served.
    FakeServer(const std::string& address, int port, std::vector<std::string> replies = {},
               bool closeEach = false);
    ~FakeServer();
    FakeServer(const FakeServer&) = delete;
    FakeServer& operator=(const FakeServer&) = delete;

    bool listening() const { return listen_fd_ >= 0; }
    // From now on each reply goes out one byte at a time, ms apart, as a
    // server does that keeps a connection alive without ever finishing.
    void trickle(int ms) { trickle_ms_ = ms; }
    int requests() const { return requests_.load(); }
    std::vector<std::string> received() const {
        std::lock_guard lock(mutex_);
        return received_;
    }

private:
    void serve();

    int listen_fd_ = -1;
    std::vector<std::string> replies_;
    bool close_each_;
    std::atomic<int> requests_{0};
    mutable std::mutex mutex_;
    std::vector<std::string> received_;
    std::atomic<bool> stop_{false};
    std::atomic<int> trickle_ms_{0};
    std::thread thread_;
};

// A bridge reply carrying document, as the bridge frames it.
std::string bridge_reply(const std::string& document);

}  // namespace clienttest
