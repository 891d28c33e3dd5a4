// Any bytes as one connection's stream into the simulator, taken apart as
// the server takes it: requests off the stream in chunks, then what each
// port does with them (the bridge's authorization, payload unwrapping and
// request document, the legacy element manager's document, the control
// channel's command lines). No crash, no hang, no leak, whatever the bytes.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "sim_faults.h"
#include "sim_http.h"
#include "sim_demo_model.h"
#include "sim_model.h"
#include "sim_request.h"
#include "sim_scenario.h"
#include "sim_service.h"

namespace {

// "file NAME BYTES" and "controller-data BYTES" make content of any size
// on purpose; past a megabyte a run would only report the memory it took.
bool oversized(std::string_view line) {
    size_t digits = 0;
    for (char c : line) {
        digits = c >= '0' && c <= '9' ? digits + 1 : 0;
        if (digits > 6) return true;
    }
    return false;
}

void control_channel(talosim::Service& service, talosim::Faults& faults, std::string_view stream) {
    for (size_t start = 0; start < stream.size();) {
        size_t nl = stream.find('\n', start);
        if (nl == std::string_view::npos) break;  // the server waits for the rest of the line
        std::string_view line = stream.substr(start, nl - start);
        start = nl + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line == "quit" || line == "status") continue;
        std::string answer;
        if (oversized(line)) continue;
        if (!service.control(line, answer)) answer = faults.command(line);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    // The first byte picks the port and how the stream arrives: in chunks
    // of 1 to 85 bytes, as a growing buffer the reader scans again.
    const int port = data[0] % 3;
    const size_t chunk = data[0] / 3 + 1;
    std::string_view stream(reinterpret_cast<const char*>(data) + 1, size - 1);

    talosim::Faults faults;
    talosim::Service service(demo_model(), talosim::Account{}, faults);
    if (port == 2) {
        control_channel(service, faults, stream);
        return 0;
    }
    std::string buffer;
    size_t scanned = 0;
    for (size_t pos = 0; pos < stream.size() || pos == 0;) {
        size_t n = std::min(chunk, stream.size() - pos);
        buffer.append(stream.substr(pos, n));
        pos += n;
        const bool eof = pos >= stream.size();
        for (;;) {
            talosim::HttpRequest req;
            std::string error;
            talosim::Take t = talosim::take_request(buffer, eof, req, error, &scanned);
            if (t != talosim::Take::complete) {
                if (t == talosim::Take::bad) return 0;  // the server answers 400 and closes
                break;
            }
            if (port == 0) {
                talosim::Delivery d = service.bridge(req);
                if (d.close_after) return 0;
            } else {
                // The element manager wants a session no input can know;
                // its document is read here as it would read it.
                talosim::Request doc;
                talosim::parse_request_document(req.body, doc, error);
                service.legacy(req);
                return 0;  // one request per legacy connection
            }
        }
        if (eof) break;
    }
    return 0;
}
