// Speed of the simulator's reply path: list and object reads against large
// systems, every read a configuration capture makes, a whole bridge
// exchange, and taking a request that arrives in pieces.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "capture_scenario.h"
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

// The last virtual disk, with its presentation: the same cost however
// many other objects the system holds.
void BM_ObjectRead(benchmark::State& state) {
    talosim::Model model = large_model(static_cast<int>(state.range(0)));
    talosim::Engine engine(model);
    const auto& objects = model.systems[0].objects;
    std::string doc = get_doc("Storage", model.systems[0].self.id, objects[objects.size() - 2].id);
    for (auto _ : state) benchmark::DoNotOptimize(engine.execute(doc));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ObjectRead)->RangeMultiplier(10)->Range(100, 10000)->Complexity(benchmark::o1);

std::string v3_doc(const std::string& op, const std::string& cell, const std::string& type, const std::string& id) {
    return "<Envelope xmlns='http://example.invalid/qxapiv32'>\n<Header>\n<version>3.2</version>\n</Header>\n"
           "<Body>\n<NsaServerOperation>\n<" + op + ">\n<scellid>" + cell + "</scellid>\n<objectid>" + id +
           "</objectid>\n<objecttype>" + type + "</objecttype>\n</" + op + ">\n</NsaServerOperation>\n</Body>\n</Envelope>\n";
}

// The simulator's side of a capture of the generated system of n virtual
// disks (n/4 hosts, 2n LUNs): each list once, then every folder, disk
// group, controller and host by a legacy Get and every virtual disk by a
// version-3 read. Linear in n; the time per read is the rate's inverse.
void BM_CaptureReads(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    talosim::Model model;
    std::string error;
    if (!talosim::load_scenario(benchscen::scenario({n, n / 4}), model, error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    talosim::Engine engine(model);
    const talosim::System& sys = *model.find_system_by_name("Big");
    std::vector<std::string> docs;
    for (const char* t : {"Folder", "DiskGroup", "Power", "StorageClient", "Storage"}) {
        docs.push_back(get_doc(t, sys.self.id, ""));
        for (const talosim::Object* o : model.list(sys, t))
            docs.push_back(std::string(t) == "Storage" ? v3_doc("getproperties", sys.self.id, "virtualdisk", o->id)
                                                       : get_doc(t, sys.self.id, o->id));
    }
    for (auto _ : state)
        for (const std::string& doc : docs) benchmark::DoNotOptimize(engine.execute(doc));
    state.SetItemsProcessed(state.iterations() * static_cast<long>(docs.size()));
    state.SetComplexityN(n);
}
BENCHMARK(BM_CaptureReads)->Arg(2000)->Arg(4000)->Arg(8000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

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
