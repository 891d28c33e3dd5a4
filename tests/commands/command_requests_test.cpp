// The storage-object commands against a scripted server: the lookups each
// sends before its change, the change request's operation and sentences in
// write order, and the messages and outcome when a lookup or a rule stops it.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "corvane_memory.h"
#include "fake_manager.h"
#include "parse_fixture.h"

namespace {

// The identifying sentences every legacy request starts with (after
// whatever the dispatch routine queued behind the header).
const std::vector<std::string> creds = {"UserPassword=secret", "UserName=admin"};

std::vector<std::string> join(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A Create or Copy in the selected system: ElementID, credentials, Type, then the rest.
std::vector<std::string> change(const std::string& type, const std::vector<std::string>& rest) {
    return join(join({"ElementID=C1"}, creds), join({"Type=" + type}, rest));
}
// A Set or Delete of object `id`: ID, ElementID, credentials, Type, then the rest.
std::vector<std::string> on_object(const std::string& id, const std::string& type,
                                   const std::vector<std::string>& rest) {
    return join(join({"ID=" + id, "ElementID=C1"}, creds), join({"Type=" + type}, rest));
}

struct RequestCase {
    const char* name;
    const char* line;
    std::vector<std::string> replies;      // in request order; the last answers the change
    const char* operation;                 // of the last request; null: no change is sent
    std::vector<std::string> sentences;    // of the last request, in write order
    size_t requests;                       // every request sent
    std::string output;
    bool fails;
};

std::string list(const std::string& label, const std::vector<std::pair<std::string, std::string>>& rows) {
    return list_reply(label, rows);
}

const std::string folders = list("Folders", {{R"(\Virtual Disks\)", "R1"}, {R"(\Virtual Disks\Finance\)", "F1"},
                                             {R"(\Hosts\)", "R2"}, {R"(\Hosts\Lab\)", "F2"}});
const std::string groups = list("Disk Groups", {{R"(\Disk Groups\Default Disk Group)", "G0"}, {"dg", "G1"}});
const std::string vdisks = list("Vdisks", {{R"(\Virtual Disks\src\ACTIVE)", "V1"}, {"v", "V2"}});
const std::string hosts = list("Hosts", {{"h", "H1"}});
const std::string disks = list("Disks", {{"disk7", "D7"}});
const std::string luns = list("LUNs", {{"1", "L1"}});
const std::string no_lun_read = legacy_reply("<Name>v</Name>\n<Lun></Lun>\n");
const std::string ok = success_reply();

const RequestCase cases[] = {
    {"AddVdiskResolvesFolderAndGroup",
     R"(ADD VDISK "\Virtual Disks\Finance\ledger" DISK_GROUP=dg SIZE=10 NOWAIT_FOR_COMPLETION)",
     {folders, groups, ok}, "Create",
     change("Storage", {"GroupID=G1", "FolderID=F1", "Size=10", "Name=ledger", "creationmode=asynchronous"}), 3,
     "", false},
    {"AddVdiskPlain", "ADD VDISK v2 REDUNDANCY=VRAID1 WORLD_WIDE_LUN_NAME=a WORLD_WIDE_LUN_NAME=b", {ok}, "Create",
     change("Storage", {"lunwwn=b", "lunwwn=a", "RedundType=MIRROR", "Name=v2", "creationmode=synchronous"}), 1, "",
     false},
    {"AddVdiskUnknownFolder", R"(ADD VDISK "\Virtual Disks\Nope\v")", {folders}, nullptr, {}, 1,
     "\nError: \\Virtual Disks\\Nope\\ not found", true},
    {"AddVdiskUnknownGroup", "ADD VDISK v DISK_GROUP=none", {groups}, nullptr, {}, 1, "\nError: none not found",
     true},
    {"SnapshotOfASource", R"(ADD SNAPSHOT s1 VDISK="\Virtual Disks\src\ACTIVE" ALLOCATION_POLICY=FULLY)",
     {vdisks, ok}, "Copy", change("Snapshot", {"StorageID=V1", "spaceefficiency=1", "Name=s1"}), 2, "", false},
    {"SnapshotSourceNotFound", "ADD SNAPSHOT s1 VDISK=gone", {vdisks}, nullptr, {}, 1, "\nError: gone not found",
     true},
    {"SnapshotWithoutSource", "ADD SNAPSHOT s1 OS_UNIT_ID=4", {}, nullptr, {}, 0, "\nError: Incomplete command",
     true},
    {"CloneIntoAGroup", "ADD COPY c1 WAIT_FOR_COMPLETION DISK_GROUP=dg VDISK=v", {groups, vdisks, ok}, "Copy",
     change("Clone", {"StorageID=V2", "GroupID=G1", "Name=c1", "creationmode=synchronous"}), 3, "", false},
    {"SetVdisk", "SET VDISK v NAME=w", {vdisks, ok}, "Set", on_object("V2", "Storage", {"Name=w"}), 2, "", false},
    {"DeleteVdiskWithoutLuns", "DELETE VDISK v", {vdisks, no_lun_read, ok}, "Delete",
     on_object("V2", "Storage", {"deletionmode=asynchronous"}), 3, "", false},
    {"AddHostInAFolder",
     R"(ADD HOST "\Hosts\Lab\h1" WORLD_WIDE_NAME=a WORLD_WIDE_NAME=b OPERATING_SYSTEM=CUSTOM=0000-0000-0000-0001)",
     {folders, ok}, "Create",
     change("StorageClient", {"FolderID=F2", "StorageClientAdapterID=b", "StorageClientAdapterID=a", "Name=h1",
                              "StorageClientMode=CUSTOM=0000-0000-0000-0001"}),
     2, "", false},
    {"AddHostDefaultMode", "ADD HOST h2 IP=10.0.0.9", {ok}, "Create",
     change("StorageClient", {"StorageClientIP=10.0.0.9", "Name=h2", "StorageClientMode=0"}), 1, "", false},
    {"SetHostAdapters", "SET HOST h ADD_WORLD_WIDE_NAME=x", {hosts, ok}, "Set",
     on_object("H1", "StorageClient", {"StorageClientAdapterID=x", "Operation=addAdapterID"}), 2, "", false},
    {"SetHostUnknownMode", "SET HOST h OPERATING_SYSTEM=UNKNOWN", {hosts, ok}, "Set",
     on_object("H1", "StorageClient", {"StorageClientMode=UNKNOWN"}), 2, "", false},
    {"DeleteHost", "DELETE HOST h", {hosts, ok}, "Delete", on_object("H1", "StorageClient", {}), 2, "", false},
    {"AddLun", "ADD LUN 3 HOST=h VDISK=v", {hosts, vdisks, ok}, "Create",
     change("PresentedUnit", {"StorageID=V2", "StorageClientID=H1", "LUN=3"}), 3, "", false},
    {"AddLunWithoutHost", "ADD LUN 3 VDISK=v", {}, nullptr, {}, 0, "\nError: Host must be specified", true},
    {"AddLunWithoutVdisk", "ADD LUN 3 HOST=h", {}, nullptr, {}, 0, "\nError: Vdisk must be specified", true},
    {"AddLunUnknownHost", "ADD LUN 3 HOST=x VDISK=v", {hosts}, nullptr, {}, 1, "\nError: x not found", true},
    {"DeleteLun", "DELETE LUN 1", {luns, ok}, "Delete", on_object("L1", "PresentedUnit", {}), 2, "", false},
    {"AddFolderInsideItsParent", R"(ADD FOLDER "\Virtual Disks\Finance\Q1" COMMENT="quarter")", {folders, ok},
     "Create", change("Folder", {"ID=F1", "comments=quarter", "Name=Q1"}), 2, "", false},
    {"AddRootFolder", "ADD FOLDER top", {}, nullptr, {}, 0, "\nError: Root folders cannot be created", true},
    {"AddFolderUnknownParent", R"(ADD FOLDER "\Hosts\Nope\x")", {folders}, nullptr, {}, 1,
     "\nError: \\Hosts\\Nope\\ not found", true},
    {"SetFolder", R"(SET FOLDER "\Hosts\Lab\" COMMENT="lab")", {folders, ok}, "Set",
     on_object("F2", "Folder", {"comments=lab"}), 2, "", false},
    {"DeleteFolder", R"(DELETE FOLDER "\Hosts\Lab\")", {folders, ok}, "Delete", on_object("F2", "Folder", {}), 2, "",
     false},
    {"AddDiskGroup", "ADD DISK_GROUP dg2 DEVICE_COUNT=8 SPARE_POLICY=DOUBLE", {ok}, "Create",
     change("DiskGroup", {"SparePolicy=Double", "DeviceCount=8", "Name=dg2"}), 1, "", false},
    {"SetDiskGroupRemovesADisk", "SET DISK_GROUP dg DELETE=disk7", {disks, groups, ok}, "Set",
     on_object("G1", "DiskGroup", {"DeleteDiskID=D7"}), 3, "", false},
    {"SetDiskGroupUnknownDisk", "SET DISK_GROUP dg DELETE=disk9", {disks}, nullptr, {}, 1,
     "\nError: disk9 not found", true},
    {"DeleteDiskGroup", "DELETE DISK_GROUP dg", {groups, ok}, "Delete", on_object("G1", "DiskGroup", {}), 2, "",
     false},
    {"SetDisk", R"(SET DISK disk7 COMMENT="spare")", {disks, ok}, "Set", on_object("D7", "Disk", {"comments=spare"}), 2,
     "", false},
    {"ServerRefusalFailsTheCommand", "ADD DISK_GROUP dg3 DEVICE_COUNT=8", {failure_reply("Not enough disks")},
     "Create", change("DiskGroup", {"DeviceCount=8", "Name=dg3"}), 1, "\nError: Not enough disks", true},
};

// The sentences of a legacy request, "name=value", in the order written.
std::vector<std::string> written(const std::string& request) {
    static const std::regex line(R"(<(\w+) xsd:type="string">([^<]*)</\w+>)");
    std::vector<std::string> found;
    for (std::sregex_iterator it(request.begin(), request.end(), line), end; it != end; ++it)
        found.push_back((*it)[1].str() + "=" + (*it)[2].str());
    return found;
}

class CommandRequestTest : public ParseTest, public ::testing::WithParamInterface<RequestCase> {
protected:
    void SetUp() override {
        ParseTest::SetUp();
        session_state* s = pb->state;
        s->manager_name = ss_copy_string("array:12301");
        s->user_name = ss_copy_string("admin");
        s->user_password = ss_copy_string("secret");
        s->cell_name = ss_copy_string("Cheetah");
        s->cell_id = ss_copy_string("C1");
        s->session_flags |= stop_on_error;
    }
    FakeManager server;
};

TEST_P(CommandRequestTest, SendsItsRequests) {
    const RequestCase& c = GetParam();
    for (const std::string& reply : c.replies) server.reply(reply);
    run(c.line);
    EXPECT_EQ(output(), c.output);
    EXPECT_EQ(static_cast<bool>(pb->state->session_flags & stopped_on_error), c.fails);
    ASSERT_EQ(server.requests.size(), c.requests);
    if (c.operation) {
        const std::string& last = server.requests.back();
        EXPECT_NE(last.find("<m:" + std::string(c.operation) + " "), std::string::npos) << last;
        EXPECT_EQ(written(last), c.sentences);
    }
}

INSTANTIATE_TEST_SUITE_P(StorageObjects, CommandRequestTest, ::testing::ValuesIn(cases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ParseTest, ObjectCommandsNeedASystem) {
    FakeManager server;
    pb->state->manager_name = ss_copy_string("array:12301");
    for (const char* line : {"ADD VDISK v", "ADD HOST h", "ADD DISK_GROUP g", "ADD FOLDER \"\\Hosts\\x\"",
                             "ADD SNAPSHOT s VDISK=v", "SET VDISK v COMMENT=\"c\"", "ADD LUN 1 HOST=h VDISK=v"}) {
        run(line);
        EXPECT_EQ(output(), "\nError: Command not valid until a system is selected (SELECT SYSTEM)") << line;
    }
    EXPECT_TRUE(server.requests.empty());
}

}  // namespace
