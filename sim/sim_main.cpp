// talo-sim: a stand-in management server for trying TALO safely and for its
// end-to-end tests.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "sim_faults.h"
#include "sim_scenario.h"
#include "sim_server.h"
#include "sim_service.h"

namespace {

talosim::Server* g_server = nullptr;

extern "C" void on_signal(int) {
    if (g_server != nullptr) g_server->stop();
}

void usage(std::FILE* out) {
    std::fprintf(out,
                 "Usage: talo-sim [OPTIONS]\n"
                 "A simulated storage management server: the XML bridge and the legacy element manager,\n"
                 "serving a model of storage systems, for trying TALO and for its tests.\n\n"
                 "Options:\n"
                 "  --address A        loopback address to listen on (127.x.y.z; default 127.0.0.1)\n"
                 "  --bridge-port N    XML bridge port (default 12301)\n"
                 "  --legacy-port N    legacy element manager port (default 2301)\n"
                 "  --control-port N   control channel port (default 12399; 0 switches it off)\n"
                 "  --user NAME        account user name (default administrator)\n"
                 "  --password TEXT    account password (default password)\n"
                 "  --scenario FILE    start from the JSON scenario in FILE instead of the demo array\n"
                 "  --dump-demo        print the demo array as a scenario file and exit\n"
                 "  --log FILE         write every request as received and every reply as sent to FILE\n"
                 "                     (created private); entries are a line \">>> PORT #CONNECTION request BYTES\"\n"
                 "                     or \"<<< PORT #CONNECTION reply BYTES\", the bytes, and a line feed\n"
                 "  --v3-namespace URL vendor namespace of version-3 reply envelopes (default: a plain\n"
                 "                     \"<SOAP:Envelope>\" opening)\n"
                 "  --help             this text\n\n"
                 "The demo array holds \"Uninitialized Storage System\" (the target of ADD SYSTEM), and\n"
                 "\"Cheetah\" and \"Puma\", initialized and joined by the DR group \"DRG_Orders\".\n\n"
                 "ADD, SET, DELETE, ADD SNAPSHOT and ADD COPY of systems, virtual disks, hosts, LUNs,\n"
                 "folders, disk groups, disks and DR groups, SET MONITOR, RESTART and SHUTDOWN change the\n"
                 "model, and every later read shows it. A DR group is a pair of groups, on the source and\n"
                 "on the destination system, and each member has a copy on the destination; members are\n"
                 "added, deleted (with the copy) and detached (keeping it) on the source side. RESTART\n"
                 "and SHUTDOWN set Power_State and Operational_State of the controller (ALL_PEERS: and\n"
                 "its peer) and log a management event; Controller_time is one clock that moves a second\n"
                 "with every change. Monitors take Warning_Threshold and Critical_Threshold.\n"
                 "A request the array would refuse changes nothing and answers NotSuccessMsg and\n"
                 "MessageNum (version-3 replies: the same number as statuscode):\n"
                 "   5  a value it does not take: a name over 32 characters or with a forbidden character,\n"
                 "      a number out of range, an unknown choice, a malformed world wide name or address\n"
                 "   7  an unknown system, object, folder, disk group, source, host or disk identifier\n"
                 "  20  a name already in use          21  a LUN number already presented to that host\n"
                 "  22  a world wide name in use       23  a virtual disk already presented to that host\n"
                 "  24  a virtual disk already in a DR group\n"
                 "  25  a destination disk group that is not on the DR group's destination system\n"
                 "  30  deleting a virtual disk that still has LUNs; 31 one with snapshots; 35 one in a DR group\n"
                 "  32  deleting a folder that is not empty; 33 a disk group holding virtual disks;\n"
                 "      34 a host that still has LUNs; 37 a DR group that still has members\n"
                 "  36  what the object does not allow: root folders, snapshots of snapshots, shrinking,\n"
                 "      a snapshot as DR member, a DR group onto its own system, member changes on the\n"
                 "      destination side, starting the disk exerciser while it runs or stopping it while\n"
                 "      it does not\n"
                 "  52  a system that is not initialized\n"
                 "  61  too few ungrouped disks        62  a size that does not fit the disk group's free space\n\n"
                 "The manager's diagnostics: getsysteminfo answers the scenario's manager version and\n"
                 "build; each system has one disk exerciser, started on the disks a request names (a\n"
                 "start while it runs, or a stop while it does not, is refused with 36), and its summary\n"
                 "names the disks under test. File and controller-data retrievals serve a short default\n"
                 "text, or the generated content the control commands file and controller-data set\n"
                 "(any size, for example 10 MB).\n\n"
                 "Control channel: connect to the control port (for example with nc) and send one command\n"
                 "per line; each is answered with \"OK\", \"ERR ...\" or, for status, the counts.\n"
                 "%s"
                 "  quit              close the control connection\n"
                 "N defaults to 1.\n\n"
                 "status answers \"bridge_connections=N legacy_connections=N control_connections=N\n"
                 "bridge_requests=N legacy_requests=N\": connections accepted and requests taken per port.\n\n"
                 "Out of file descriptors (or memory), it stops accepting for 0.1 s to 1 s at a time and\n"
                 "keeps serving the connections it has; standard error says when it stops and resumes.\n"
                 "SIGINT and SIGTERM stop the simulator cleanly.\n",
                 talosim::Faults::help());
}

bool port_value(const char* text, std::uint16_t& out) {
    char* end = nullptr;
    long v = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || v < 0 || v > 65535) return false;
    out = static_cast<std::uint16_t>(v);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    talosim::ServerOptions options;
    talosim::Account account;
    std::string scenario_path;
    std::string v3_namespace;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&]() -> const char* {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "talo-sim: %s needs a value\n", arg.c_str());
                std::exit(2);
            }
            return argv[++i];
        };
        auto port = [&](std::uint16_t& out) {
            const char* v = value();
            if (!port_value(v, out)) {
                std::fprintf(stderr, "talo-sim: %s: bad port %s\n", arg.c_str(), v);
                std::exit(2);
            }
        };
        if (arg == "--help" || arg == "-h") {
            usage(stdout);
            return 0;
        } else if (arg == "--dump-demo") {
            std::fwrite(talosim::demo_scenario().data(), 1, talosim::demo_scenario().size(), stdout);
            std::fputc('\n', stdout);
            return 0;
        } else if (arg == "--address") {
            options.address = value();
        } else if (arg == "--bridge-port") {
            port(options.bridge_port);
        } else if (arg == "--legacy-port") {
            port(options.legacy_port);
        } else if (arg == "--control-port") {
            port(options.control_port);
        } else if (arg == "--user") {
            account.user = value();
        } else if (arg == "--password") {
            account.password = value();
        } else if (arg == "--scenario") {
            scenario_path = value();
        } else if (arg == "--log") {
            options.log_path = value();
        } else if (arg == "--v3-namespace") {
            v3_namespace = value();
        } else {
            std::fprintf(stderr, "talo-sim: unknown option %s (try --help)\n", arg.c_str());
            return 2;
        }
    }
    if (account.user.empty()) {
        std::fprintf(stderr, "talo-sim: the user name must not be empty\n");
        return 2;
    }

    std::string text(talosim::demo_scenario());
    if (!scenario_path.empty()) {
        std::ifstream in(scenario_path, std::ios::binary);
        std::stringstream content;
        content << in.rdbuf();
        if (!in) {
            std::fprintf(stderr, "talo-sim: cannot read %s\n", scenario_path.c_str());
            return 1;
        }
        text = content.str();
    }
    talosim::Model model;
    std::string error;
    if (!talosim::load_scenario(text, model, error)) {
        std::fprintf(stderr, "talo-sim: %s: %s\n", scenario_path.empty() ? "demo" : scenario_path.c_str(), error.c_str());
        return 1;
    }

    talosim::Faults faults;
    talosim::Service service(std::move(model), account, faults, v3_namespace);
    talosim::Server server(service, faults, options);
    if (!server.start(error)) {
        std::fprintf(stderr, "talo-sim: %s\n", error.c_str());
        return 1;
    }
    g_server = &server;
    struct sigaction sa {};
    sa.sa_handler = on_signal;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    std::printf("talo-sim: bridge listening on %s:%u\n", options.address.c_str(), server.port(talosim::Server::bridge));
    std::printf("talo-sim: element manager listening on %s:%u\n", options.address.c_str(),
                server.port(talosim::Server::legacy));
    if (options.control_port != 0)
        std::printf("talo-sim: control listening on %s:%u\n", options.address.c_str(),
                    server.port(talosim::Server::control));
    std::printf("talo-sim: account %s, %s\n", account.user.c_str(),
                scenario_path.empty() ? "demo array" : ("scenario " + scenario_path).c_str());
    std::printf("talo-sim: ready\n");
    std::fflush(stdout);
    server.run();
    g_server = nullptr;
    std::printf("talo-sim: stopped\n");
    return 0;
}
