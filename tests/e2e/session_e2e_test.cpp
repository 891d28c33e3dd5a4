// A first administration run: the real talo against a real talo-sim, the
// whole output compared byte for byte. Each test has its own simulator on a
// loopback address of its own, with the demo array.
#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#include "sim_process.h"
#include "talo_runner.h"

namespace {

std::string replace_all(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

std::string echo(const std::string& prompt, const std::string& command) { return "\n" + prompt + "> " + command + "\n"; }

const std::string system_list =
    "\nSystems available on this Manager:\n  Uninitialized Storage System\n  Cheetah\n  Puma";

class SessionE2E : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(sim.start()) << sim.output(); }

    std::string select_manager() const {
        return "SELECT MANAGER " + sim.address() + " USERNAME=administrator PASSWORD=password";
    }
    TaloRun talo(std::vector<std::string> commands, std::string input = "",
                 std::map<std::string, std::string> files = {}) {
        TaloInvocation invocation{std::move(commands), std::move(input), std::move(files)};
        invocation.fast_sleep = true;
        return run_talo(invocation);
    }
    std::string control(const std::string& command) { return simtest::control(sim.address(), command); }

    simtest::SimProcess sim;
};

std::string read_text(const std::string& path) {
    std::ifstream file(path);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

TEST_F(SessionE2E, DemoSession) {
    std::string script = read_text(TALO_SOURCE_DIR "/examples/demo.talo");
    ASSERT_FALSE(script.empty());
    TaloRun run = talo({"SET OPTIONS NOCOMMAND_DELAY", select_manager(), "FILE demo.talo"}, "", {{"demo.talo", script}});
    const std::string expected = replace_all(R"(

TALO Build 7 for veltra quillon dorn 3.2

NoSystemSelected> SET OPTIONS NOCOMMAND_DELAY

NoSystemSelected> SELECT MANAGER @ USERNAME=administrator PASSWORD=password

NoSystemSelected> FILE demo.talo

NoSystemSelected> ! A first administration run against talo-sim's demo array: look around

NoSystemSelected> ! the manager and one storage system, then initialize a new system, look

NoSystemSelected> ! at it and rename it.

NoSystemSelected> SHOW MANAGER

Manager IP address @:12301
Username: administrator, password specified
NoSystemSelected> SHOW SYSTEM

Systems available on this Manager:
  Uninitialized Storage System
  Cheetah
  Puma
NoSystemSelected> SELECT SYSTEM Cheetah

Cheetah> SHOW DISK_GROUP

Disk_Groups available on this Cell:
  \Disk Groups\Default Disk Group
  \Disk Groups\Archive
Cheetah> SHOW VDISK

Vdisks available on this Cell:
  \Virtual Disks\db_data\ACTIVE
  \Virtual Disks\db_data\snap_monday
  \Virtual Disks\Finance\ledger\ACTIVE
  \Virtual Disks\orders\ACTIVE
Cheetah> SHOW HOST "\Hosts\web01"

\Hosts\web01 information:
                      Name : \Hosts\web01
                        ID : 60050000000000000DEC0DE5000000000000002F
                 IPAddress : 10.0.0.21
          Operating_system : SOLARIS
                  Comments : 
  Host Ports:
                        Port : 5000-1FE1-0015-3D01
                SuccessMsg : Get successful
Cheetah> SHOW LUN

LUNs available on this Cell:
  1
  2
  1{1}
Cheetah> SELECT SYSTEM "Uninitialized Storage System"

Uninitialized Storage System> ADD SYSTEM Lynx COMMENT="Added by the demo" DEVICE_COUNT=8

NoSystemSelected> SELECT SYSTEM Lynx

Lynx> SHOW SYSTEM Lynx

Lynx information:
                      Name : Lynx
                        ID : 60050000000000000DEC0DE50000000000000001
               System_Type : HSV-SIM
         Operational_State : Good
            Console_LUN_ID : 
                  Comments : Added by the demo
               Initialized : Yes
                SuccessMsg : Get successful
Lynx> SET SYSTEM Lynx NAME=Ocelot

Ocelot> SHOW SYSTEM

Systems available on this Manager:
  Ocelot
  Cheetah
  Puma
Ocelot> SHOW OPTIONS

Options:
    NOCOMMAND_DELAY
    DISPLAY_WIDTH = 80
    ON_ERROR = CONTINUE
    RETRIES = 4 (minutes)
    SAFE_DELETE)",
                                             "@", sim.address());
    EXPECT_EQ(run.output, expected);
    EXPECT_EQ(run.status, 0);
}

TEST_F(SessionE2E, GuardsAndNotFound) {
    const std::string N = "NoSystemSelected";
    // Credentials typed with a failed SELECT MANAGER stay for the next one.
    TaloRun run = talo({"SHOW SYSTEM", "SHOW VDISK", "SELECT MANAGER x PASSWORD=p", select_manager(), "SHOW VDISK", "ADD SYSTEM Lynx", "DELETE SYSTEM Cheetah", "SELECT SYSTEM Lynx",
                        "SELECT SYSTEM cheetah", "SELECT SYSTEM Cheetah", "SHOW VDISK nothing", "SHOW SYSTEM"});
    const std::string manager_first = "\nError: Command not valid until a manager is selected (SELECT MANAGER)";
    EXPECT_EQ(run.output, talo_banner + echo(N, "SHOW SYSTEM") + manager_first + echo(N, "SHOW VDISK") + manager_first +
                              echo(N, "SELECT MANAGER x PASSWORD=p") +
                              "\nError: Username must be specified on SELECT MANAGER" + echo(N, select_manager()) +
                              echo(N, "SHOW VDISK") +
                              "\nError: Command not valid until a system is selected (SELECT SYSTEM)" +
                              echo(N, "ADD SYSTEM Lynx") +
                              "\nError: Command not valid until a system is selected (SELECT SYSTEM)" +
                              echo(N, "DELETE SYSTEM Cheetah") + "\nError: Only the selected system may be deleted" +
                              echo(N, "SELECT SYSTEM Lynx") + "\nError: Lynx not found" +
                              echo(N, "SELECT SYSTEM cheetah") + "\nError: cheetah not found" +
                              echo(N, "SELECT SYSTEM Cheetah") + echo("Cheetah", "SHOW VDISK nothing") +
                              "\nError: nothing not found" + echo("Cheetah", "SHOW SYSTEM") + system_list);
    EXPECT_EQ(run.status, 0);

    TaloRun no_password = talo({"SELECT MANAGER x USERNAME=u"});
    EXPECT_EQ(no_password.output, talo_banner + echo(N, "SELECT MANAGER x USERNAME=u") +
                                      "\nError: Password must be specified on SELECT MANAGER");
}

const std::string refuse_system =
    "\nError: Cannot delete system when Vdisks are still present.\n       Delete all storage on this cell first";
const std::string destroy_warning =
    "\nThis command will destroy all customer data and delete all configuration\n"
    "information (GROUPS, STORAGE, HOSTS and LUNs) on this cell!"
    "\n\nAre you sure you wish to execute this command?\nIf so, type \"Yes\" (Note: case sensititve) ";
// A deleted system goes back to the uninitialized state under its old place.
const std::string after_delete =
    "\nSystems available on this Manager:\n  Uninitialized Storage System\n  Uninitialized Storage System{1}\n  Puma";

TEST_F(SessionE2E, SafeDeleteRefusesAtTheKeyboard) {
    TaloRun run = talo({}, select_manager() + "\nSELECT SYSTEM Cheetah\nDELETE SYSTEM Cheetah\nSHOW SYSTEM\n");
    const std::string P = "\nNoSystemSelected> ", C = "\nCheetah> ";
    EXPECT_EQ(run.output, talo_banner + P + P + C + refuse_system + C + system_list + C +
                              "\nError: Input stream error:\n       Success");
}

TEST_F(SessionE2E, KeyboardDeleteAsksAndOnlyYesGoesOn) {
    TaloRun run = talo({}, select_manager() + "\nSELECT SYSTEM Cheetah\nSET OPTIONS NOSAFE_DELETE\n"
                                              "DELETE SYSTEM Cheetah\nyes\nDELETE SYSTEM Cheetah\n Y e s \nSHOW SYSTEM\n");
    const std::string P = "\nNoSystemSelected> ", C = "\nCheetah> ";
    EXPECT_EQ(run.output, talo_banner + P + P + C + C + destroy_warning + "\nCommand aborted\n" + C + destroy_warning +
                              P + after_delete + P + "\nError: Input stream error:\n       Success");
}

TEST_F(SessionE2E, DeletesFromFilesAndTheInvocationLineAreNotAsked) {
    TaloRun from_file = talo({"SET OPTIONS NOCOMMAND_DELAY NOSAFE_DELETE", "FILE delete.talo", "SHOW SYSTEM"}, "",
                             {{"delete.talo", select_manager() + "\nSELECT SYSTEM Cheetah\nDELETE SYSTEM Cheetah\n"}});
    EXPECT_EQ(from_file.output,
              talo_banner + echo("NoSystemSelected", "SET OPTIONS NOCOMMAND_DELAY NOSAFE_DELETE") +
                  echo("NoSystemSelected", "FILE delete.talo") + echo("NoSystemSelected", select_manager()) +
                  echo("NoSystemSelected", "SELECT SYSTEM Cheetah") + echo("Cheetah", "DELETE SYSTEM Cheetah") +
                  echo("NoSystemSelected", "SHOW SYSTEM") + after_delete);

    TaloRun refused = talo({select_manager(), "SELECT SYSTEM Puma", "DELETE SYSTEM Puma", "SHOW SYSTEM"});
    EXPECT_EQ(refused.output, talo_banner + echo("NoSystemSelected", select_manager()) +
                                  echo("NoSystemSelected", "SELECT SYSTEM Puma") + echo("Puma", "DELETE SYSTEM Puma") +
                                  refuse_system + echo("Puma", "SHOW SYSTEM") + after_delete);
}

struct PolicyCase {
    const char* name;
    const char* option;
    int status;
    bool goes_on;
    bool pause;
};

class ServerFailureE2E : public SessionE2E, public ::testing::WithParamInterface<PolicyCase> {};

TEST_P(ServerFailureE2E, FailureMessageMarksTheCommandFailed) {
    const PolicyCase& c = GetParam();
    std::string set = std::string("SET OPTIONS ON_ERROR=") + c.option;
    TaloRun run = talo({set, select_manager(), "SELECT SYSTEM Cheetah", "ADD SYSTEM Lynx", "SHOW MANAGER"}, "\n");
    std::string expected = talo_banner + echo("NoSystemSelected", set) + echo("NoSystemSelected", select_manager()) +
                           echo("NoSystemSelected", "SELECT SYSTEM Cheetah") + echo("Cheetah", "ADD SYSTEM Lynx") +
                           "\nError: Storage system is already initialized";
    if (c.goes_on)
        expected += echo("Cheetah", "SHOW MANAGER") + "\nManager IP address " + sim.address() +
                    ":12301\nUsername: administrator, password specified";
    if (c.pause) expected += "\n\nPress return to exit";
    EXPECT_EQ(run.output, expected);
    EXPECT_EQ(run.status, c.status);
}

INSTANTIATE_TEST_SUITE_P(Policies, ServerFailureE2E,
                         ::testing::Values(PolicyCase{"Continue", "CONTINUE", 0, true, false},
                                           PolicyCase{"Halt", "HALT_ON_ERROR", 1, false, true},
                                           PolicyCase{"Exit", "EXIT_ON_ERROR", 1, false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SessionE2E, BusyServerIsRetriedUntilItAnswers) {
    // The client library itself sends a busy request six more times, one
    // second apart; then the command side waits ten seconds and asks again.
    ASSERT_EQ(control("busy 8"), "OK\n");
    TaloRun run = talo({select_manager(), "SHOW SYSTEM"});
    EXPECT_EQ(run.output, talo_banner + echo("NoSystemSelected", select_manager()) +
                              echo("NoSystemSelected", "SHOW SYSTEM") + "\nRetrying command" + system_list);
    EXPECT_EQ(run.sleeps, (std::vector<double>{1, 1, 1, 1, 1, 1, 10, 1}));
}

TEST_F(SessionE2E, LegacyPathWhenTheBridgeRefuses) {
    ASSERT_EQ(control("refuse on"), "OK\n");
    // The simulator closes its bridge port shortly after the switch.
    for (int tries = 0;; ++tries) {
        int fd = simtest::connect_to(sim.address(), 12301);
        if (fd < 0) break;
        close(fd);
        ASSERT_LT(tries, 100) << "the bridge port stays open";
        usleep(20000);
    }
    TaloRun run = talo({select_manager(), "SHOW SYSTEM", "SELECT SYSTEM Puma", "SHOW DR_GROUP", "SHOW HOST"});
    EXPECT_EQ(run.output, talo_banner + echo("NoSystemSelected", select_manager()) +
                              echo("NoSystemSelected", "SHOW SYSTEM") + system_list +
                              echo("NoSystemSelected", "SELECT SYSTEM Puma") + echo("Puma", "SHOW DR_GROUP") +
                              "\nDR_Groups available on this Cell:\n  DRG_Orders" + echo("Puma", "SHOW HOST") +
                              "\nHosts available on this Cell:\n  No Hosts found");
    std::string status = control("status");
    EXPECT_NE(status.find("bridge_requests=0"), std::string::npos) << status;
    EXPECT_EQ(status.find("legacy_requests=0"), std::string::npos) << status;
}

TEST_F(SessionE2E, ThousandCommandScriptUsesOneBridgeConnection) {
    std::string script = "SET OPTIONS NOCOMMAND_DELAY\n" + select_manager() + "\nSELECT SYSTEM Cheetah\n";
    for (int i = 0; i < 1000; ++i) script += i % 2 ? "SHOW LUN\n" : "SHOW DISK_GROUP\n";
    TaloRun run = talo({"FILE many.talo"}, "", {{"many.talo", script}});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output.find("Error"), std::string::npos);
    std::string status = control("status");
    EXPECT_NE(status.find("bridge_connections=1 "), std::string::npos) << status;
    EXPECT_NE(status.find("bridge_requests=1001"), std::string::npos) << status;
}

}  // namespace
