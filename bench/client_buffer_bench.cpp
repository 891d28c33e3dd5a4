// Throughput of the client library's text work on large messages: a reply
// assembled from receive-sized chunks, escaping and un-escaping a request
// for the bridge, taking the credentials out, and decoding Base64 controller
// data. Each should grow linearly with the message.
#include <benchmark/benchmark.h>

#include <string>

#include "Base64Coder.h"
#include "EMClientAPIAuth.h"
#include "EMClientAPIXMLBuffer.h"

namespace {

std::string xml_body(size_t bytes) {
    std::string body = "POST / HTTP/1.1\nHost:a:12301\nContent-Length: 0000\n\n<Envelope><Body>"
                       "<username>bob</username><userpassword>pw</userpassword>";
    while (body.size() < bytes) body += "<object><id>0123456789</id><name>vdisk &amp; co</name></object>\n";
    return body + "</Body></Envelope>\n";
}

void BM_ReplyFromChunks(benchmark::State& state) {
    const std::string chunk(5120, 'x');
    const auto chunks = state.range(0) / 5120;
    for (auto _ : state) {
        EMClientAPIXMLBuffer reply;
        for (int64_t i = 0; i < chunks; ++i) reply += chunk.c_str();
        benchmark::DoNotOptimize(reply.GetBufferPointer());
    }
    state.SetBytesProcessed(state.iterations() * chunks * 5120);
}
BENCHMARK(BM_ReplyFromChunks)->Range(64 << 10, 16 << 20);

void BM_NormalizeRoundTrip(benchmark::State& state) {
    const std::string text = xml_body(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        EMClientAPIXMLBuffer message(text.c_str());
        message.Normalize();
        message.RemoveNormalization();
        benchmark::DoNotOptimize(message.GetBufferPointer());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_NormalizeRoundTrip)->Range(32 << 10, 16 << 20);

void BM_CleanContent(benchmark::State& state) {
    const EMClientAPIXMLBuffer message(xml_body(static_cast<size_t>(state.range(0))).c_str());
    for (auto _ : state) {
        SString out;
        message.GetCleanContent(out);
        benchmark::DoNotOptimize(out.GetBufferPointer());
    }
    state.SetBytesProcessed(state.iterations() * message.GetBufferSize());
}
BENCHMARK(BM_CleanContent)->Range(32 << 10, 16 << 20);

void BM_Base64Decode(benchmark::State& state) {
    const std::string data(static_cast<size_t>(state.range(0)), '\x5a');
    const SString text = base64Encode(reinterpret_cast<const unsigned char*>(data.data()),
                                      static_cast<unsigned>(data.size()));
    Base64Coder coder;
    for (auto _ : state) {
        coder.Decode(text.GetBufferPointer());
        benchmark::DoNotOptimize(coder.DecodedMessage());
    }
    state.SetBytesProcessed(state.iterations() * text.GetBufferSize());
}
BENCHMARK(BM_Base64Decode)->Range(64 << 10, 16 << 20);

}  // namespace

BENCHMARK_MAIN();
