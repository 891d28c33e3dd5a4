// The simulator's network side: listeners on the bridge, legacy and control
// ports of one loopback address, a thread per connection, the request log,
// and the counts of accepted connections.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "sim_faults.h"
#include "sim_log.h"
#include "sim_service.h"

namespace talosim {

struct ServerOptions {
    std::string address = "127.0.0.1";
    std::uint16_t bridge_port = 12301;
    std::uint16_t legacy_port = 2301;
    std::uint16_t control_port = 12399;  // 0: no control channel
    std::string log_path;                // empty: no request log
    int idle_ms = 500;  // a partial request that stops arriving this long is taken as it is
};

// True for a dotted IPv4 address in 127.0.0.0/8.
bool is_loopback_address(const std::string& address);

class Server {
public:
    enum Port { bridge, legacy, control, port_count };

    Server(Service& service, Faults& faults, ServerOptions options);
    ~Server();
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    // Opens the log and binds every listener; false with a message.
    bool start(std::string& error);
    // Serves until stop(); returns after every connection has ended.
    void run();
    // Safe to call from a signal handler or another thread.
    void stop();

    std::uint16_t port(Port p) const { return ports_[p]; }
    unsigned long accepted(Port p) const { return accepted_[p].load(); }
    unsigned long requests(Port p) const { return requests_[p].load(); }
    // "bridge_connections=N legacy_connections=N control_connections=N
    // bridge_requests=N legacy_requests=N" and a line feed.
    std::string status() const;

private:
    struct Worker {
        std::thread thread;
        int fd = -1;
        std::shared_ptr<std::atomic<bool>> done;
    };

    Service& service_;
    Faults& faults_;
    ServerOptions options_;
    RequestLog log_;
    int listeners_[port_count] = {-1, -1, -1};
    std::uint16_t ports_[port_count] = {};
    int wake_[2] = {-1, -1};
    std::atomic<bool> stopping_{false};
    std::atomic<unsigned long> accepted_[port_count] = {};
    std::atomic<unsigned long> requests_[port_count] = {};
    std::atomic<unsigned long> connection_numbers_{0};
    std::mutex workers_mutex_;
    std::list<Worker> workers_;
    // Out of descriptors (or kernel memory), accept fails while the listener
    // stays readable: the listeners rest until then, the connections do not.
    std::chrono::steady_clock::time_point accept_resume_{};
    int accept_backoff_ms_ = 0;  // 0: accepting normally

    bool listen_on(Port p, std::uint16_t port, std::string& error);
    void accept_one(Port p);
    void reap(bool all);
    void serve(int fd, Port p, unsigned long number);
    void serve_control(int fd);
    bool deliver(int fd, Port p, unsigned long number, const Delivery& d);
    void graceful_close(int fd);
};

}  // namespace talosim
