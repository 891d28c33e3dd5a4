// EMClientAPISocket: one TCP connection to a management server with the
// marks the connection pool needs (in use, to be destroyed). Every
// operation returns a result code; none prints or throws.
#pragma once

#include <cstdint>

#include "SString.h"

class EMClientAPISocket {
public:
    EMClientAPISocket(int blockMode, int timeout);
    ~EMClientAPISocket();
    EMClientAPISocket(const EMClientAPISocket&) = delete;
    EMClientAPISocket& operator=(const EMClientAPISocket&) = delete;

    // Connects to a dotted address or host name; the port is a decimal text
    // or "wbem" (looked up as a service). The bridge form asks for TCP by
    // name, the other leaves the protocol to the system.
    int OpenSoapConnection(SString serverName, SString port);
    int OpenConnection(SString serverName, SString port);
    int CloseConnection();
    // Takes over a stream socket connected by other means (a socket pair
    // in the fuzzer), as an open connection.
    int Adopt(int fd);

    // The text's characters; Send adds the terminating NUL the element
    // manager expects.
    int SendSoapRequest(const SString& text);
    int Send(const SString& text);

    // The time-out bounds a whole reply, not each read: it runs from the
    // first read after a send, and once it is spent every read ends in 111.

    // One chunk: returns after the first read that delivers data, with its
    // byte count. 109 when the server closed the connection first.
    int ReceiveSoapResponse(SString& text, int& byteCount);
    // Everything until the server closes the connection.
    int Receive(SString& text);
    // One read of at most `most` bytes straight into the room text has
    // reserved (SString::Reserve), with no copy on the way: the bytes as
    // they came, NULs included. 109 when the server closed the connection.
    int ReceiveInto(SString& text, size_t most, int& byteCount);

    // Bytes already waiting, before any request was sent: what is left of
    // an earlier reply, never the answer to the next request.
    bool HasStaleBytes() const;

    int SetSocketOptions();

    int IsSocketOpen() const { return open_; }
    int IsSocketInUse() const { return in_use_; }
    void LockSocket() { in_use_ = 1; }
    void UnLockSocket() { in_use_ = 0; }
    void MarkForDelete() { delete_ = 1; }
    int IsMarkForDelete() const { return delete_; }

private:
    int Open(SString& serverName, SString& port, int protocol);
    // One read into a 5121-byte buffer, retried as the countdown allows:
    // bytes read (0 at close), or -code on failure.
    int ReadChunk(SString& text, int& countdown);
    // One read of at most `most` bytes into `into`, retried as above.
    int ReadSome(char* into, size_t most, int& countdown);
    // Waits until a read can deliver or the reply's deadline passes: 0, or
    // the failure code.
    int WaitReadable();

    int fd_ = -1;  // -1: no socket
    int open_ = 0;
    int block_mode_;
    int timeout_;
    int in_use_ = 0;
    int delete_ = 0;
    int64_t deadline_ = -1;  // monotonic ms; -1 until the reply's first read
};
