#include "sim_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>

namespace talosim {

namespace {

const char* port_name(Server::Port p) {
    return p == Server::bridge ? "bridge" : p == Server::legacy ? "legacy" : "control";
}

bool send_all(int fd, const char* data, size_t size) {
    while (size > 0) {
        ssize_t n = ::send(fd, data, size, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

using Clock = std::chrono::steady_clock;

// Far above any request the client builds (its request buffer holds 30000
// characters, escaped at most fourfold).
constexpr size_t max_request = 4 * 1024 * 1024;

}  // namespace

bool is_loopback_address(const std::string& address) {
    in_addr a{};
    return inet_pton(AF_INET, address.c_str(), &a) == 1 && (ntohl(a.s_addr) >> 24) == 127;
}

Server::Server(Service& service, Faults& faults, ServerOptions options)
    : service_(service), faults_(faults), options_(std::move(options)) {}

Server::~Server() {
    stop();
    reap(true);
    for (int& fd : listeners_)
        if (fd >= 0) ::close(fd);
    for (int fd : wake_)
        if (fd >= 0) ::close(fd);
}

bool Server::listen_on(Port p, std::uint16_t port, std::string& error) {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
        error = std::string("socket: ") + std::strerror(errno);
        return false;
    }
    int one = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    inet_pton(AF_INET, options_.address.c_str(), &addr.sin_addr);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(fd, 64) != 0) {
        error = options_.address + ":" + std::to_string(port) + ": " + std::strerror(errno);
        ::close(fd);
        return false;
    }
    socklen_t len = sizeof addr;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    ports_[p] = ntohs(addr.sin_port);
    listeners_[p] = fd;
    return true;
}

bool Server::start(std::string& error) {
    if (!is_loopback_address(options_.address)) {
        error = options_.address + " is not a loopback address (127.x.y.z)";
        return false;
    }
    if (!options_.log_path.empty() && !log_.open(options_.log_path, error)) return false;
    if (::pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0) {
        error = std::string("pipe: ") + std::strerror(errno);
        return false;
    }
    if (!listen_on(bridge, options_.bridge_port, error) || !listen_on(legacy, options_.legacy_port, error)) return false;
    if (options_.control_port != 0 && !listen_on(control, options_.control_port, error)) return false;
    return true;
}

void Server::stop() {
    stopping_.store(true);
    if (wake_[1] >= 0) {
        char c = 1;
        [[maybe_unused]] ssize_t n = ::write(wake_[1], &c, 1);
    }
}

std::string Server::status() const {
    return "bridge_connections=" + std::to_string(accepted(bridge)) +
           " legacy_connections=" + std::to_string(accepted(legacy)) +
           " control_connections=" + std::to_string(accepted(control)) +
           " bridge_requests=" + std::to_string(requests(bridge)) +
           " legacy_requests=" + std::to_string(requests(legacy)) + "\n";
}

void Server::run() {
    while (!stopping_.load()) {
        // The bridge port follows its fault switch: closed, it refuses.
        if (faults_.refuse_bridge() && listeners_[bridge] >= 0) {
            ::close(listeners_[bridge]);
            listeners_[bridge] = -1;
        } else if (!faults_.refuse_bridge() && listeners_[bridge] < 0) {
            std::string ignored;
            listen_on(bridge, ports_[bridge], ignored);  // retried on the next round if it fails
        }
        pollfd fds[port_count + 1];
        Port which[port_count];
        nfds_t n = 0;
        int timeout_ms = 100;  // the round that reaps finished workers
        auto now = Clock::now();
        if (now < accept_resume_) {
            auto left = std::chrono::ceil<std::chrono::milliseconds>(accept_resume_ - now).count();
            timeout_ms = static_cast<int>(std::min<long long>(timeout_ms, left));
        } else {
            for (int p = 0; p < port_count; ++p) {
                if (listeners_[p] < 0) continue;
                fds[n] = {listeners_[p], POLLIN, 0};
                which[n++] = static_cast<Port>(p);
            }
        }
        fds[n] = {wake_[0], POLLIN, 0};
        int ready = ::poll(fds, n + 1, timeout_ms);
        if (ready > 0) {
            for (nfds_t i = 0; i < n && Clock::now() >= accept_resume_; ++i)
                if (fds[i].revents & POLLIN) accept_one(which[i]);
        }
        reap(false);
    }
    reap(true);
}

void Server::accept_one(Port p) {
    int fd = ::accept4(listeners_[p], nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) {
        int e = errno;
        if (e != EMFILE && e != ENFILE && e != ENOBUFS && e != ENOMEM) return;
        // The pending connection stays queued and is taken once a worker
        // has closed its own; until then polling the listener would spin.
        // Waiting keeps the queued clients, which closing a spare
        // descriptor to refuse them would not, and works for memory too.
        if (accept_backoff_ms_ == 0)
            std::fprintf(stderr, "talo-sim: out of file descriptors or memory (%s); accepting again shortly\n",
                         std::strerror(e));
        accept_backoff_ms_ = accept_backoff_ms_ == 0 ? 100 : std::min(2 * accept_backoff_ms_, 1000);
        accept_resume_ = Clock::now() + std::chrono::milliseconds(accept_backoff_ms_);
        return;
    }
    if (accept_backoff_ms_ != 0) {
        accept_backoff_ms_ = 0;
        std::fprintf(stderr, "talo-sim: accepting connections again\n");
    }
    accepted_[p].fetch_add(1);
    unsigned long number = connection_numbers_.fetch_add(1) + 1;
    auto done = std::make_shared<std::atomic<bool>>(false);
    std::lock_guard lock(workers_mutex_);
    Worker& w = workers_.emplace_back();
    w.fd = fd;
    w.done = done;
    w.thread = std::thread([this, fd, p, number, done] {
        if (p == control) serve_control(fd);
        else serve(fd, p, number);
        done->store(true);
    });
}

void Server::reap(bool all) {
    std::lock_guard lock(workers_mutex_);
    for (auto it = workers_.begin(); it != workers_.end();) {
        if (!all && !it->done->load()) {
            ++it;
            continue;
        }
        if (all && !it->done->load()) ::shutdown(it->fd, SHUT_RDWR);  // wakes a worker waiting on its peer
        it->thread.join();
        ::close(it->fd);  // closed here, after the join, so the number cannot be reused under a worker
        it = workers_.erase(it);
    }
}

void Server::graceful_close(int fd) {
    // Half-close, then read what the peer still sends (a legacy client's
    // trailing NUL), so the close does not turn into a reset that could
    // destroy the reply before the client has read it.
    ::shutdown(fd, SHUT_WR);
    auto deadline = Clock::now() + std::chrono::seconds(1);
    char sink[512];
    while (!stopping_.load() && Clock::now() < deadline) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 100) <= 0) continue;
        if (::recv(fd, sink, sizeof sink, 0) <= 0) break;
    }
    ::shutdown(fd, SHUT_RDWR);
}

bool Server::deliver(int fd, Port p, unsigned long number, const Delivery& d) {
    size_t cut = d.cut_mid ? d.bytes.size() / 2 : std::min(d.cut_at, d.bytes.size());
    log_.write(port_name(p), number, false, std::string_view(d.bytes).substr(0, cut));
    if (cut < d.bytes.size()) {
        send_all(fd, d.bytes.data(), cut);
        return false;
    }
    if (d.piece == 0) return send_all(fd, d.bytes.data(), d.bytes.size());
    // In pieces; the first carries the HTTP header and the first piece of
    // the body, so a reader looking for the XML declaration finds it.
    size_t head = d.bytes.find("\r\n\r\n");
    size_t first = head == std::string::npos ? d.piece : std::min(d.bytes.size(), head + 4 + d.piece);
    if (!send_all(fd, d.bytes.data(), first)) return false;
    for (size_t pos = first; pos < d.bytes.size(); pos += d.piece) {
        for (int waited = 0; waited < d.pause_ms && !stopping_.load(); waited += 10)
            std::this_thread::sleep_for(std::chrono::milliseconds(std::min(10, d.pause_ms - waited)));
        if (!send_all(fd, d.bytes.data() + pos, std::min(d.piece, d.bytes.size() - pos))) return false;
    }
    return true;
}

void Server::serve(int fd, Port p, unsigned long number) {
    std::string buffer;
    size_t scanned = 0;
    bool eof = false;
    auto last_data = Clock::now();
    char chunk[8192];
    while (!stopping_.load()) {
        pollfd pfd{fd, POLLIN, 0};
        int ready = ::poll(&pfd, 1, 50);
        if (ready > 0) {
            ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
            if (n > 0) {
                buffer.append(chunk, static_cast<size_t>(n));
                last_data = Clock::now();
            } else if (n == 0 || (errno != EINTR && errno != EAGAIN)) {
                eof = true;
            }
        }
        // On the legacy port, a request with no empty line and no NUL (a
        // login typed by hand) is taken as it stands once it stops arriving.
        bool quiet = p == legacy && !buffer.empty() && Clock::now() - last_data > std::chrono::milliseconds(options_.idle_ms) &&
                     buffer.find("\n\n") == std::string::npos && buffer.find("\r\n\r\n") == std::string::npos;
        if (buffer.size() > max_request) {
            log_.write(port_name(p), number, true, buffer);
            deliver(fd, p, number, {http_response("HTTP/1.1 413 Payload Too Large", "text/plain", "Request too large.\n"), true});
            graceful_close(fd);
            return;
        }
        for (;;) {
            HttpRequest req;
            std::string error;
            Take t = take_request(buffer, eof || quiet, req, error, &scanned);
            if (t == Take::incomplete) break;
            if (t == Take::bad) {
                log_.write(port_name(p), number, true, buffer);
                Delivery d{http_response("HTTP/1.1 400 Bad Request", "text/plain", error + "\n"), true};
                deliver(fd, p, number, d);
                graceful_close(fd);
                return;
            }
            requests_[p].fetch_add(1);
            log_.write(port_name(p), number, true, req.raw);
            Delivery d = p == bridge ? service_.bridge(req) : service_.legacy(req);
            if (!deliver(fd, p, number, d) || d.close_after) {
                graceful_close(fd);
                return;
            }
        }
        if (eof) break;
    }
    ::shutdown(fd, SHUT_RDWR);
}

void Server::serve_control(int fd) {
    std::string buffer;
    char chunk[1024];
    while (!stopping_.load()) {
        pollfd pfd{fd, POLLIN, 0};
        if (::poll(&pfd, 1, 100) <= 0) continue;
        ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
        if (n <= 0) break;
        buffer.append(chunk, static_cast<size_t>(n));
        if (buffer.size() > 65536) break;  // no command is that long
        for (size_t nl; (nl = buffer.find('\n')) != std::string::npos;) {
            std::string line = buffer.substr(0, nl);
            buffer.erase(0, nl + 1);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line == "quit") {
                ::shutdown(fd, SHUT_RDWR);
                return;
            }
            std::string answer;
            if (line == "status") answer = status();
            else if (!service_.control(line, answer)) answer = faults_.command(line);
            if (!send_all(fd, answer.data(), answer.size())) return;
        }
    }
    ::shutdown(fd, SHUT_RDWR);
}

}  // namespace talosim
