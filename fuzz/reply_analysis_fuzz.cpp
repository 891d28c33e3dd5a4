// Any bytes as a server's reply: through the reply analysis (retry
// conditions, Content-Length, payload unwrapping) and through the bridge
// read itself, served over a socket pair. No crash, no hang, no leak, and
// the in-place payload unwrapping agrees with the copying one.
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <thread>

#include "EMClientAPI.h"
#include "EMClientAPISeams.h"
#include "EMClientAPISocket.h"
#include "EMClientAPITNG.h"
#include "EMClientAPITNGSteps.h"
#include "EMClientAPIXMLBuffer.h"

namespace {

void check(bool holds) {
    if (!holds) __builtin_trap();
}

void analysis(const std::string& text) {
    EMClientAPIXMLBuffer reply(text.c_str());
    for (int full = 0; full < 2; ++full) {
        EMClientAPIAnalyzeResponse(reply, full);
        EMClientAPIAnalyzeResponseEx(reply, full);
    }
    EMClientAPIRetryDelaySeconds(EMClientAPIAnalyzeResponse(reply, 1));
    EMClientAPITNGRetriesRequired(text.c_str());
    EMClientAPITNGRetriesRequiredEx(text.c_str());

    int length = reply.GetContentLength();
    check(length >= -1);
    int head = reply.Find("\r\n\r\n");
    check(EMClientAPIAnnouncedLength(reply, head >= 0 ? head : SizeOf(reply)) >= -1);
    reply.GetHeader();

    EMClientAPIXMLBuffer copied;
    int rc = reply.GetXmlPayload(copied);
    EMClientAPIXMLBuffer in_place(reply);
    check(in_place.TakeXmlPayload() == rc);
    if (rc == 0) check(in_place == copied);
}

const char kRequest[] =
    "POST /ResEltTslPyrite/XMLIntr HTTP/1.1\nHost:127.0.0.1:12301\nContent-Type: text/SOAP\n"
    "Content-Length: 0000\n\n\n<Envelope xmlns='http://vendor.example/qxapiv32'>\n<Header>\n"
    "<version>3.2</version>\n</Header>\n<Body>\n<username>administrator</username>\n"
    "<userpassword>password</userpassword>\n<NsaServerOperation>\n<getproperties>\n"
    "<objectid>42</objectid>\n</getproperties>\n</NsaServerOperation>\n</Body>\n</Envelope>\n";

// The bridge read of the bytes as they would come off the wire: the peer
// waits for the request, answers with the bytes and closes, so every read
// ends without waiting on a time-out.
void bridge_read(const uint8_t* data, size_t size) {
    int pair[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0) return;
    std::thread peer([&] {
        char first;
        if (::recv(pair[1], &first, 1, 0) == 1) {
            for (size_t sent = 0; sent < size;) {
                ssize_t n = ::send(pair[1], data + sent, size - sent, MSG_NOSIGNAL);
                if (n <= 0) break;
                sent += static_cast<size_t>(n);
            }
        }
        ::shutdown(pair[1], SHUT_WR);
        char sink[4096];
        while (::recv(pair[1], sink, sizeof sink, 0) > 0) {
        }
    });
    {
        EMClientAPISocket connection(0, 5);
        connection.Adopt(pair[0]);
        EMClientAPIXMLBuffer request(kRequest);
        EMClientAPIXMLBuffer reply;
        if (PerformRequest(&connection, request, reply) == 0) analysis(TextOf(reply));
    }  // closing our end lets the peer's drain finish
    peer.join();
    ::close(pair[1]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool quiet = [] {
        EMClientAPISetSleep([](unsigned) {});
        return true;
    }();
    (void)quiet;
    analysis(std::string(reinterpret_cast<const char*>(data), size));
    bridge_read(data, size);
    return 0;
}
