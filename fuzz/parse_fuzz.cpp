// Any command line through the parser and the action routines it runs: no
// crash, no hang, no leak, whatever the bytes. Dispatch routines are not run
// (they would open files and talk to servers).
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "corvane_kwt.h"
#include "corvane_parse.h"
#include "corvane_seams.h"
#include "corvane_session.h"
#include "corvane_state.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FILE* sink = std::fopen("/dev/null", "w");
    static FILE* no_answers = std::fopen("/dev/null", "r");  // DEBUG ARE_YOU_SURE must not wait
    OutFile = sink;
    ss_set_input_stream(no_answers);
    _parseblk* pb = ss_session_create();
    ss_session_begin_command(pb);
    std::string line(reinterpret_cast<const char*>(data), size);
    pb->cursor = line.data();
    pb->remaining = static_cast<uint32_t>(line.size());
    ss_parse(Corvane_kwt, pb);
    ss_session_destroy(pb);
    return 0;
}
