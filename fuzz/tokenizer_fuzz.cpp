// Any reply text through the tokenizer, the name search and the display at
// a width taken from the first byte: no crash, no hang, no leak, whether the
// reply tokenizes or not (a failed reply's partial tree is printed too).
// The reply is tokenized twice, copying its texts and in place, and both
// must print the same: messages, tree and search result alike.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "corvane_display.h"
#include "corvane_session.h"
#include "corvane_state.h"
#include "corvane_token.h"
#include "corvane_tokenizer.h"

namespace {
std::string run(const uint8_t* data, size_t size, bool in_place) {
    char* printed = nullptr;
    size_t printed_size = 0;
    FILE* out = open_memstream(&printed, &printed_size);
    OutFile = out;
    _parseblk* pb = ss_session_create();
    ss_session_begin_command(pb);
    max_line_width = 1u + data[0] % 160u;
    pb->state->tokens = ss_allocate_token();
    int result;
    if (in_place) {
        char* reply = new char[size];
        std::memcpy(reply, data + 1, size - 1);
        reply[size - 1] = '\0';
        result = ss_parse_soap_reply_in_place(pb, reply, pb->state->tokens);
    } else {
        std::string reply(reinterpret_cast<const char*>(data) + 1, size - 1);
        result = ss_parse_soap_buffer(pb, reply.c_str(), pb->state->tokens);
    }
    _token_info* found = ss_tokens_find_name(pb->state->tokens, "SuccessMsg");
    std::fprintf(out, "\n[%d %s]", result, found && found->value ? found->value : "-");
    ss_soap_print_tokens(pb, pb->state->tokens);
    ss_session_destroy(pb);
    std::fclose(out);
    std::string text(printed, printed_size);
    std::free(printed);
    return text;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    if (run(data, size, false) != run(data, size, true)) std::abort();
    return 0;
}
