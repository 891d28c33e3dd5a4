#include "corvane_seams.h"

#include <unistd.h>

#include <cstring>

#include "EMClientAPIDebug.h"
#include "EMClientAPITNG.h"
#include "EMClientAPITNGDiag.h"

namespace {
FILE* g_input = nullptr;
ss_sleep_fn g_sleep = nullptr;
ss_time_fn g_time = nullptr;

// The record stays inside the seam, so the command side needs no client header.
int library_version_information(char* version, char* build_date) {
    EMClientAPITNGVersionInformation info{};
    static_assert(sizeof info.version == ss_version_field_size && sizeof info.buildDate == ss_version_field_size);
    int code = EMClientAPITNGGetVersionInformation(&info);
    if (code != 0) return code;
    std::memcpy(version, info.version, sizeof info.version);
    std::memcpy(build_date, info.buildDate, sizeof info.buildDate);
    return 0;
}

const ss_manager_client library_client = {
    EMClientAPITNGCommandEx,
    EMClientAPITNGRetriesRequired,
    EMClientAPITNGGetErrorDescription,
    EMClientAPITNGSetDebugMode,
    EMClientAPITNGGetEMVersion,
    EMClientAPITNGDiscoverStorageCell,
    EMClientAPITNGStartDKEXDiskName,
    EMClientAPITNGStopDKEX,
    EMClientAPITNGGetDKEXSummaryEx,
    library_version_information,
};
const ss_manager_client* g_client = &library_client;

void real_sleep(unsigned seconds) {
    // sleep() may return early on a signal; finish the full wait.
    while (seconds > 0) seconds = ::sleep(seconds);
}
}  // namespace

FILE* ss_input_stream() { return g_input ? g_input : stdin; }
void ss_set_input_stream(FILE* stream) { g_input = stream; }

void ss_sleep(unsigned seconds) { (g_sleep ? g_sleep : real_sleep)(seconds); }
void ss_set_sleep(ss_sleep_fn fn) { g_sleep = fn; }

time_t ss_time_now() { return g_time ? g_time() : ::time(nullptr); }
void ss_set_time(ss_time_fn fn) { g_time = fn; }

const ss_manager_client& ss_client() { return *g_client; }
void ss_set_client(const ss_manager_client* client) { g_client = client ? client : &library_client; }

int ss_client_debug_log_status(char* text, int size) { return EMClientAPIDebugLogStatus(text, size); }
