// A large list reply taken the whole way: tokenized, searched, printed (to
// /dev/null) and released, next to expat reading the same text with empty
// handlers. Sizes 2, 20 and 80 MB show how the time scales.
#include <benchmark/benchmark.h>
#include <expat.h>

#include <cstdio>
#include <string>

#include "corvane_display.h"
#include "corvane_memory.h"
#include "corvane_namespace.h"
#include "corvane_session.h"
#include "corvane_state.h"
#include "corvane_token.h"
#include "corvane_tokenizer.h"

namespace {

// A virtual-disk list of about `bytes` characters: rows of eight items.
std::string list_reply(size_t bytes) {
    const std::string head = std::string(ss_vendor_reply_envelope) +
                             "\n<SOAP:Body>\n<LabelName xsd:type=\"u:string\">Vdisks</LabelName>\n";
    std::string rows;
    int count = 0;
    while (head.size() + rows.size() < bytes) {
        std::string n = std::to_string(count++);
        rows += "<Name>vdisk_" + n + "</Name>\n<ID>00000000-0000-0000-0000-" + n +
                "</ID>\n<Folder>\\Virtual Disks\\Production</Folder>\n"
                "<Comment>database volume for the accounting cluster, node " + n +
                "</Comment>\n<OperationalState>good</OperationalState>\n"
                "<Capacity>1099511627776</Capacity>\n<Redundancy>VRAID5</Redundancy>\n"
                "<WriteCache>mirrored write-back</WriteCache>\n";
    }
    return head + "<ArrayOfString xsd:type=\"u:string[8," + std::to_string(count) + "]\">\n" +
           rows + "</ArrayOfString>\n<SuccessMsg>Request completed</SuccessMsg>\n"
                  "</SOAP:Body>\n</SOAP:Envelope>\n";
}

const std::string& reply_of(int64_t megabytes) {
    static std::string two = list_reply(2u << 20);
    static std::string twenty = list_reply(20u << 20);
    static std::string eighty;
    if (megabytes == 2) return two;
    if (megabytes == 20) return twenty;
    if (eighty.empty()) eighty = list_reply(80u << 20);
    return eighty;
}

void BM_Talo(benchmark::State& state) {
    const std::string& reply = reply_of(state.range(0));
    FILE* sink = std::fopen("/dev/null", "w");
    OutFile = sink;
    ss_tune_allocator();  // as the program does at start-up
    _parseblk* pb = ss_session_create();
    for (auto _ : state) {
        pb->state->label_path = ss_copy_string("");
        _token_info* root = ss_allocate_token();
        if (ss_parse_soap_buffer(pb, reply.c_str(), root) != 0) state.SkipWithError("tokenizer failed");
        benchmark::DoNotOptimize(ss_tokens_find_name(root, "SuccessMsg"));
        ss_soap_print_tokens(pb, root);
        ss_deallocate_tokens(root);
        ss_deallocate_mem(pb->state->label_path, "bench", __LINE__);
        ss_leak_trim();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(reply.size()));
    ss_session_destroy(pb);
    std::fclose(sink);
}

void XMLCALL no_start(void*, const XML_Char*, const XML_Char**) {}
void XMLCALL no_end(void*, const XML_Char*) {}
void XMLCALL no_text(void*, const XML_Char*, int) {}

void BM_Expat(benchmark::State& state) {
    const std::string& reply = reply_of(state.range(0));
    for (auto _ : state) {
        XML_Parser parser = XML_ParserCreate(nullptr);
        XML_SetElementHandler(parser, no_start, no_end);
        XML_SetCharacterDataHandler(parser, no_text);
        if (XML_Parse(parser, reply.data(), static_cast<int>(reply.size()), 1) != XML_STATUS_OK)
            state.SkipWithError(XML_ErrorString(XML_GetErrorCode(parser)));
        XML_ParserFree(parser);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(reply.size()));
}

}  // namespace

// 80 MB, far beyond any cache, shows the cost per byte once memory traffic
// dominates: 20 MB to 80 MB should scale by about 4.
// At least a few rounds each, so the first round's page faults do not stand alone.
BENCHMARK(BM_Talo)->Arg(2)->Arg(20)->Arg(80)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_Expat)->Arg(2)->Arg(20)->Arg(80)->Unit(benchmark::kMillisecond)->MinTime(2.0);

BENCHMARK_MAIN();
