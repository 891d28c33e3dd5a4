// Any reply text through the tokenizer, the name search and the display at
// a width taken from the first byte: no crash, no hang, no leak, whether the
// reply tokenizes or not (a failed reply's partial tree is printed too).
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "corvane_display.h"
#include "corvane_session.h"
#include "corvane_state.h"
#include "corvane_token.h"
#include "corvane_tokenizer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FILE* sink = std::fopen("/dev/null", "w");
    if (size == 0) return 0;
    OutFile = sink;
    _parseblk* pb = ss_session_create();
    ss_session_begin_command(pb);
    max_line_width = 1u + data[0] % 160u;
    std::string reply(reinterpret_cast<const char*>(data) + 1, size - 1);
    pb->state->tokens = ss_allocate_token();
    ss_parse_soap_buffer(pb, reply.c_str(), pb->state->tokens);
    ss_tokens_find_name(pb->state->tokens, "SuccessMsg");
    ss_soap_print_tokens(pb, pb->state->tokens);
    ss_session_destroy(pb);
    return 0;
}
