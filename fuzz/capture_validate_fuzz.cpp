// Any file through CAPTURE VALIDATE: no crash, no hang, and the verdict
// agrees with a plain line-by-line reading of the same bytes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "corvane_capture_script.h"
#include "corvane_state.h"

namespace {

constexpr std::string_view start_marker = "TALO CAPTURE script checksum start";
constexpr std::string_view end_marker = "TALO CAPTURE script checksum end: ";

bool holds_at_third(std::string_view line, std::string_view marker) {
    return line.size() >= 2 + marker.size() && line.substr(2, marker.size()) == marker;
}

// 0 unmodified, 1 modified or not a capture script.
int expected_verdict(std::string_view data) {
    std::vector<std::string_view> lines;
    for (size_t at = 0; at < data.size();) {
        size_t end = data.find('\n', at);
        end = end == std::string_view::npos ? data.size() : end + 1;
        lines.push_back(data.substr(at, end - at));
        at = end;
    }
    size_t i = 0;
    while (i < lines.size() && !holds_at_third(lines[i], start_marker)) ++i;
    if (i == lines.size()) return 1;
    uint32_t sum = ss_edc_seed;
    for (; i < lines.size(); ++i) {
        std::string_view line = lines[i];
        if (holds_at_third(line, end_marker)) {
            unsigned long long value = 0;
            bool fits = true;
            for (char c : line.substr(2 + end_marker.size())) {
                int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                                          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                                                 : -1;
                if (digit < 0) break;
                if (value >> 60) fits = false;
                value = value << 4 | static_cast<unsigned>(digit);
            }
            return fits && value == sum ? 0 : 1;
        }
        sum = ss_edc_fold(sum, line.data(), line.size());
    }
    return 1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FILE* sink = std::fopen("/dev/null", "w");
    OutFile = sink;
    if (size == 0) return 0;  // fmemopen needs a byte
    std::string bytes(reinterpret_cast<const char*>(data), size);
    FILE* stream = fmemopen(bytes.data(), bytes.size(), "r");
    if (!stream) return 0;
    int verdict = ss_validate_stream(stream);
    std::fclose(stream);
    if (verdict != expected_verdict(bytes)) std::abort();
    return 0;
}
