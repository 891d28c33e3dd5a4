#include "EMClientAPISocket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "EMClientAPIErrors.h"
#include "EMClientAPISeams.h"

namespace {

constexpr int kChunk = 5120;

// Errors after which reading again cannot help: the connection is gone.
bool lasting_read_error(int error) {
    switch (error) {
        case EINTR:
        case ENOMEM:
        case ENOBUFS:
            return false;
        default:
            return true;
    }
}

}  // namespace

EMClientAPISocket::EMClientAPISocket(int blockMode, int timeout) : block_mode_(blockMode), timeout_(timeout) {}

EMClientAPISocket::~EMClientAPISocket() {
    if (open_ || fd_ >= 0) CloseConnection();
}

int EMClientAPISocket::OpenSoapConnection(SString serverName, SString port) {
    return Open(serverName, port, IPPROTO_TCP);
}

int EMClientAPISocket::OpenConnection(SString serverName, SString port) { return Open(serverName, port, 0); }

int EMClientAPISocket::Open(SString& serverName, SString& port, int protocol) {
    if (open_ || fd_ >= 0) CloseConnection();
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, protocol);
    if (fd_ < 0) return EMCLIENTAPISOCKET_CREATESOCKET_ERROR;

    sockaddr_in address{};
    address.sin_family = AF_INET;
    if (port == "wbem") {
        uint16_t service = 0;
        if (EMClientAPILookupService("wbem", &service) != 0) {
            CloseConnection();
            return EMCLIENTAPISOCKET_FINDWBEMSERVICEPORT_ERROR;
        }
        address.sin_port = service;
    } else {
        address.sin_port = htons(static_cast<uint16_t>(std::atoi(TextOf(port))));
    }
    if (::inet_pton(AF_INET, TextOf(serverName), &address.sin_addr) != 1 &&
        EMClientAPIResolveHost(TextOf(serverName), &address.sin_addr) != 0) {
        CloseConnection();
        return EMCLIENTAPISOCKET_RESOLVESERVERNAME_ERROR;
    }
    // A server that stops answering must end a read or a send with an
    // error, never leave the caller waiting for good.
    timeval limit{timeout_ > 0 ? timeout_ : 60, 0};
    ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    ::setsockopt(fd_, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    int rc;
    do {
        rc = ::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        CloseConnection();
        return EMCLIENTAPISOCKET_CONNECT_ERROR;
    }
    open_ = 1;
    // A fresh connection holds nothing of an earlier exchange.
    delete_ = 0;
    deadline_ = -1;
    return EMCLIENTAPI_SUCCESS;
}

int EMClientAPISocket::Adopt(int fd) {
    if (open_ || fd_ >= 0) CloseConnection();
    if (fd < 0) return EMCLIENTAPISOCKET_SOCKETNOTOPEN_ERROR;
    fd_ = fd;
    open_ = 1;
    delete_ = 0;
    deadline_ = -1;
    return EMCLIENTAPI_SUCCESS;
}

int EMClientAPISocket::CloseConnection() {
    open_ = 0;
    if (fd_ >= 0) {
        ::shutdown(fd_, SHUT_RDWR);
        ::close(fd_);
    }
    fd_ = -1;
    return EMCLIENTAPI_SUCCESS;
}

namespace {

// All of n bytes, or false. A blocking socket sends everything unless a
// signal or the send time-out cuts it short; the rest then goes after it.
bool send_all(int fd, const char* data, size_t n) {
    while (n > 0) {
        ssize_t sent = ::send(fd, data, n, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) continue;
        if (sent <= 0) return false;
        data += sent;
        n -= static_cast<size_t>(sent);
    }
    return true;
}

}  // namespace

int EMClientAPISocket::SendSoapRequest(const SString& text) {
    if (!open_) return EMCLIENTAPISOCKET_SOCKETNOTOPEN_ERROR;
    deadline_ = -1;  // the answer's time starts with its first read
    size_t n = text.GetBufferSize() > 0 ? static_cast<size_t>(text.GetBufferSize()) : 0;
    return send_all(fd_, TextOf(text), n) ? EMCLIENTAPI_SUCCESS : EMCLIENTAPISOCKET_SEND_ERROR;
}

int EMClientAPISocket::Send(const SString& text) {
    if (!open_) return EMCLIENTAPISOCKET_SOCKETNOTOPEN_ERROR;
    deadline_ = -1;
    size_t n = text.GetBufferSize() > 0 ? static_cast<size_t>(text.GetBufferSize()) : 0;
    return send_all(fd_, TextOf(text), n + 1) ? EMCLIENTAPI_SUCCESS : EMCLIENTAPISOCKET_SEND_ERROR;
}

int EMClientAPISocket::SetSocketOptions() {
    int on = 1;
    if (::setsockopt(fd_, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on) != 0)
        return EMCLIENTAPISOCKET_SETSOCKETOPTION_ERROR;
    return EMCLIENTAPI_SUCCESS;
}

bool EMClientAPISocket::HasStaleBytes() const {
    if (fd_ < 0) return false;
    char c;
    return ::recv(fd_, &c, 1, MSG_PEEK | MSG_DONTWAIT) > 0;
}

int EMClientAPISocket::WaitReadable() {
    // A server that sends a byte now and then would restart a per-read
    // time-out for good: the reply as a whole gets the time-out.
    int64_t now = EMClientAPIMonotonicMs();
    if (deadline_ < 0) deadline_ = now + static_cast<int64_t>(timeout_ > 0 ? timeout_ : 60) * 1000;
    for (;;) {
        int64_t left = deadline_ - now;
        if (left <= 0) return EMCLIENTAPISOCKET_RECEIVETIMEOUT_ERROR;
        pollfd p{fd_, POLLIN, 0};
        int rc = ::poll(&p, 1, left < INT_MAX ? static_cast<int>(left) : INT_MAX);
        if (rc > 0) return EMCLIENTAPI_SUCCESS;  // data, the close, or an error the read reports
        if (rc < 0 && errno != EINTR) return EMCLIENTAPISOCKET_RECEIVE_ERROR;
        now = EMClientAPIMonotonicMs();  // a signal, or the time ran out: look again
    }
}

int EMClientAPISocket::ReadSome(char* into, size_t most, int& countdown) {
    for (;;) {
        if (int rc = WaitReadable()) return -rc;
        ssize_t n = ::recv(fd_, into, most, 0);
        if (n >= 0) return static_cast<int>(n);
        int error = errno;
        // The receive time-out ran out: the server has not answered for the
        // library's whole time-out, so waiting on is waiting for good.
        if (error == EAGAIN || error == EWOULDBLOCK) return -EMCLIENTAPISOCKET_RECEIVETIMEOUT_ERROR;
        if (lasting_read_error(error)) return -EMCLIENTAPISOCKET_RECEIVE_ERROR;
        if (countdown < 1) return -EMCLIENTAPISOCKET_RECEIVETIMEOUT_ERROR;
        if (!block_mode_) --countdown;
        EMClientAPISleepSeconds(1);
    }
}

int EMClientAPISocket::ReadChunk(SString& text, int& countdown) {
    char buffer[kChunk + 1];
    std::memset(buffer, 0, sizeof buffer);
    int n = ReadSome(buffer, kChunk, countdown);
    // A NUL inside the data ends what the text can hold.
    if (n > 0 && text.AppendRange(buffer, ::strnlen(buffer, static_cast<size_t>(n))) != 0)
        return -EMCLIENTAPI_ALLOCATION_ERROR;
    return n;
}

int EMClientAPISocket::ReceiveInto(SString& text, size_t most, int& byteCount) {
    byteCount = 0;
    if (!open_) return EMCLIENTAPISOCKET_SOCKETNOTOPEN_ERROR;
    size_t room = 0;
    char* into = text.SpareSpace(room);
    if (into == nullptr || room == 0) return EMCLIENTAPI_ALLOCATION_ERROR;
    if (most > room) most = room;
    if (most > static_cast<size_t>(INT_MAX)) most = INT_MAX;
    int countdown = timeout_;
    int n = ReadSome(into, most, countdown);
    if (n < 0) return -n;
    if (n == 0) return EMCLIENTAPISOCKET_RECEIVE_ERROR;  // closed before the reply was whole
    text.CommitAppend(static_cast<size_t>(n));
    byteCount = n;
    return EMCLIENTAPI_SUCCESS;
}

int EMClientAPISocket::ReceiveSoapResponse(SString& text, int& byteCount) {
    byteCount = 0;
    if (!open_) return EMCLIENTAPISOCKET_SOCKETNOTOPEN_ERROR;
    if (int rc = SetSocketOptions()) return rc;
    text.Clear();
    int countdown = timeout_;
    int n = ReadChunk(text, countdown);
    if (n < 0) return -n;
    if (n == 0) return EMCLIENTAPISOCKET_RECEIVE_ERROR;  // closed before any data
    byteCount = n;
    return EMCLIENTAPI_SUCCESS;
}

int EMClientAPISocket::Receive(SString& text) {
    if (!open_) return EMCLIENTAPISOCKET_SOCKETNOTOPEN_ERROR;
    if (int rc = SetSocketOptions()) return rc;
    text.Clear();
    deadline_ = -1;  // one call reads one whole reply
    int countdown = timeout_;
    for (;;) {
        int n = ReadChunk(text, countdown);
        if (n < 0) return -n;
        if (n == 0) return EMCLIENTAPI_SUCCESS;
        // The legacy agent ends a reply by closing: a server that never does
        // must not fill the memory first.
        if (SizeOf(text) > EMClientAPIMaxReplyBytes) return EMCLIENTAPITNG_REPLYTOOLARGE_ERROR;
    }
}
