// Speed of the simulator's reply path: list and object reads against large
// systems, a whole bridge exchange, and taking a request that arrives in pieces.
#include <benchmark/benchmark.h>

#include <string>

#include "sim_codec.h"
#include "sim_engine.h"
#include "sim_http.h"
#include "sim_scenario.h"
#include "sim_service.h"

namespace {

std::string get_doc(const std::string& type, const std::string& element, const std::string& id) {
    return "<SOAP:Envelope xmlns:SOAP=\"urn:schemas-xmlsoap-org:soap.v1\">\n<SOAP:Body=tessel-brindle:qxapi.v1>\n"
           "<m:Get xmlns:m=\"FENN-URI\">\n<ID xsd:type=\"string\">" + id + "</ID>\n<ElementID xsd:type=\"string\">" +
           element + "</ElementID>\n<Type xsd:type=\"string\">" + type + "</Type>\n</m:Get>\n</SOAP:Body>\n</SOAP:Envelope>\n";
}

// One system with n virtual disks, each presented once.
talosim::Model large_model(int n) {
    talosim::Model model;
    talosim::System sys;
    sys.self = {"Element", model.new_id(), "Big", {}, {}};
    sys.initialized = true;
    talosim::Object host{"StorageClient", model.new_id(), "\\Hosts\\h", {}, {}};
    std::string host_id = host.id;
    sys.objects.push_back(host);
    for (int i = 0; i < n; ++i) {
        talosim::Object vd{"Storage", model.new_id(), "\\Virtual Disks\\vd" + std::to_string(i) + "\\ACTIVE", {}, {}};
        vd.set_prop("Capacity_Req", "10 GB");
        vd.set_prop("Redundancy", "VRAID5");
        talosim::Object lun{"PresentedUnit", model.new_id(), std::to_string(i), {}, {}};
        lun.set_prop("LUN", std::to_string(i));
        lun.set_prop("StorageID", vd.id);
        lun.set_prop("StorageClientID", host_id);
        sys.objects.push_back(std::move(vd));
        sys.objects.push_back(std::move(lun));
    }
    model.systems.push_back(std::move(sys));
    return model;
}

void BM_ListRead(benchmark::State& state) {
    talosim::Model model = large_model(static_cast<int>(state.range(0)));
    talosim::Engine engine(model);
    std::string doc = get_doc("Storage", model.systems[0].self.id, "");
    for (auto _ : state) benchmark::DoNotOptimize(engine.execute(doc));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ListRead)->RangeMultiplier(10)->Range(100, 10000)->Complexity(benchmark::oN);

void BM_ObjectRead(benchmark::State& state) {
    talosim::Model model = large_model(static_cast<int>(state.range(0)));
    talosim::Engine engine(model);
    std::string doc = get_doc("Storage", model.systems[0].self.id, model.systems[0].objects.back().id);
    for (auto _ : state) benchmark::DoNotOptimize(engine.execute(doc));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ObjectRead)->RangeMultiplier(10)->Range(100, 10000)->Complexity(benchmark::oN);

void BM_BridgeExchange(benchmark::State& state) {
    talosim::Model model;
    std::string error;
    talosim::load_scenario(talosim::demo_scenario(), model, error);
    talosim::Faults faults;
    talosim::Service service(std::move(model), {}, faults);
    std::string doc = get_doc("Element", "", "");
    std::string escaped;
    for (char c : doc) escaped += c == '<' ? "&lt;" : c == '>' ? "&gt;" : std::string(1, c);
    std::string body = "<?xml version=\"1.0\"?><m:executeTextTransport><xmlPayload>" + escaped + "</xmlPayload></m:executeTextTransport>";
    std::string text = "POST /qxbridge HTTP/1.1\nAuthorization: Basic " + service.expected_basic_code() +
                       "\nContent-Length:" + std::to_string(body.size()) + "\n\n" + body;
    for (auto _ : state) {
        std::string buffer = text;
        talosim::HttpRequest req;
        talosim::take_request(buffer, false, req, error);
        benchmark::DoNotOptimize(service.bridge(req));
    }
}
BENCHMARK(BM_BridgeExchange);

// A request of n bytes arriving 1 KB at a time: taking it stays linear.
void BM_TakeRequestInPieces(benchmark::State& state) {
    const size_t n = static_cast<size_t>(state.range(0));
    std::string text = "POST /qxbridge HTTP/1.1\nContent-Length:" + std::to_string(n) + "\n\n" + std::string(n, 'x');
    for (auto _ : state) {
        std::string buffer;
        size_t scanned = 0;
        talosim::HttpRequest req;
        std::string error;
        for (size_t pos = 0; pos < text.size(); pos += 1024) {
            buffer.append(text, pos, 1024);
            talosim::take_request(buffer, false, req, error, &scanned);
        }
        benchmark::DoNotOptimize(req);
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_TakeRequestInPieces)->RangeMultiplier(8)->Range(1 << 12, 1 << 21)->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
