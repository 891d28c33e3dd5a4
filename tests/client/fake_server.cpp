#include "fake_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>

namespace clienttest {

FakeServer::FakeServer(const std::string& address, int port, std::vector<std::string> replies, bool closeEach)
    : replies_(std::move(replies)), close_each_(closeEach) {
    listen_fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int on = 1;
    ::setsockopt(listen_fd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(port));
    ::inet_pton(AF_INET, address.c_str(), &a.sin_addr);
    if (::bind(listen_fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(listen_fd_, 16) != 0) {
        ::close(listen_fd_);
        listen_fd_ = -1;
        return;
    }
    if (!replies_.empty()) thread_ = std::thread([this] { serve(); });
}

FakeServer::~FakeServer() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    if (listen_fd_ >= 0) ::close(listen_fd_);
}

namespace {

// True once a whole request (headers and Content-Length body) is in text.
bool complete(const std::string& text) {
    if (text.find('\0') != std::string::npos) return true;
    size_t head = text.find("\n\n");
    if (head == std::string::npos) return false;
    size_t field = text.find("Content-Length:");
    size_t length = field < head ? std::strtoul(text.c_str() + field + 15, nullptr, 10) : 0;
    return text.size() >= head + 2 + length;
}

}  // namespace

void FakeServer::serve() {
    size_t next = 0;
    while (!stop_ && next < replies_.size()) {
        pollfd p{listen_fd_, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0) continue;
        int fd = ::accept(listen_fd_, nullptr, nullptr);
        if (fd < 0) continue;
        std::string text;
        while (!stop_ && next < replies_.size()) {
            pollfd q{fd, POLLIN, 0};
            if (::poll(&q, 1, 50) <= 0) continue;
            char buf[8192];
            ssize_t n = ::recv(fd, buf, sizeof buf, 0);
            if (n <= 0) break;
            text.append(buf, static_cast<size_t>(n));
            if (!complete(text)) continue;
            {
                std::lock_guard lock(mutex_);
                received_.push_back(text);
            }
            text.clear();
            ++requests_;
            const std::string& reply = replies_[next++];
            if (trickle_ms_ > 0) {
                for (size_t i = 0; i < reply.size() && !stop_; ++i) {
                    if (::send(fd, reply.data() + i, 1, MSG_NOSIGNAL) != 1) break;
                    std::this_thread::sleep_for(std::chrono::milliseconds(trickle_ms_.load()));
                }
            } else {
                ::send(fd, reply.data(), reply.size(), MSG_NOSIGNAL);
            }
            if (close_each_) break;
        }
        ::close(fd);
    }
}

std::string bridge_reply(const std::string& document) {
    std::string escaped;
    for (char c : document) {
        if (c == '<')
            escaped += "&lt;";
        else if (c == '>')
            escaped += "&gt;";
        else
            escaped += c;
    }
    std::string body = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<soap:Envelope>\n<soap:Body>\n<xmlPayload>" +
                       escaped + "</xmlPayload>\n</soap:Body>\n</soap:Envelope>\n";
    return "HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nContent-Length: " + std::to_string(body.size()) +
           "\r\n\r\n" + body;
}

}  // namespace clienttest
