// The object commands against a scripted server: the lookups each
// sends before its change, the change request's operation and sentences in
// write order, and the messages and outcome when a lookup or a rule stops it.
#include <gtest/gtest.h>

#include <ostream>
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
    const char* disk_groups_of = nullptr;  // the system every disk-group lookup must name
};

// Failures name the case, not its bytes.
void PrintTo(const RequestCase& c, std::ostream* os) { *os << c.name; }

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
const std::string systems = list("Systems", {{"Cheetah", "C1"}, {"Puma", "P1"}});
const std::string remote_groups = list("Disk Groups", {{"dgp", "G9"}});
const std::string dr_groups = list("DR Groups", {{"g", "DG1"}});
// A group's own read: its name first, then the destination, then the members.
const std::string group_read = legacy_reply(
    "<objectname>g</objectname>\n<objectid>DG1</objectid>\n<scellid>P1</scellid>\n"
    "<objectname>V</objectname>\n<objectid>V2</objectid>\n<SuccessMsg>ok</SuccessMsg>\n");
const std::string controllers = list("Controllers", {{R"(\Controller A)", "P1A"}, {R"(\Controller B)", "P1B"}});
const std::string monitors = list("Monitors", {{"m", "M1"}});
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
    // An ADD that ended before its name, or whose name after the folder is empty, sends nothing.
    {"AddVdiskWithoutName", "ADD VDISK", {}, nullptr, {}, 0, "\nError: Incomplete command", true},
    {"AddVdiskEmptyNameAfterFolder", R"(ADD VDISK "\Virtual Disks\Finance\")", {}, nullptr, {}, 0,
     "\nError: Incomplete command", true},
    {"AddHostWithoutName", "ADD HOST", {}, nullptr, {}, 0, "\nError: Incomplete command", true},
    {"AddDiskGroupWithoutName", "ADD DISK_GROUP", {}, nullptr, {}, 0, "\nError: Incomplete command", true},
    {"AddLunWithoutNumber", "ADD LUN", {}, nullptr, {}, 0, "\nError: Incomplete command", true},
    {"AddRootFolder", "ADD FOLDER top", {}, nullptr, {}, 0, "\nError: Root folders cannot be created", true},
    {"AddFolderUnknownParent", R"(ADD FOLDER "\Hosts\Nope\x")", {folders}, nullptr, {}, 1,
     "\nError: \\Hosts\\Nope\\ not found", true},
    {"SetFolder", R"(SET FOLDER "\Hosts\Lab\" COMMENT="lab")", {folders, ok}, "Set",
     on_object("F2", "Folder", {"comments=lab"}), 2, "", false},
    {"DeleteFolder", R"(DELETE FOLDER "\Hosts\Lab\")", {folders, ok}, "Delete", on_object("F2", "Folder", {}), 2, "",
     false},
    {"AddDiskGroup", "ADD DISK_GROUP dg2 DEVICE_COUNT=8 SPARE_POLICY=DOUBLE", {ok}, "Create",
     change("DiskGroup", {"SparePolicy=Double", "DeviceCount=8", "Name=dg2"}), 1, "", false},
    {"AddVdiskLooksUpGroupsOfItsOwnSystem", "ADD VDISK v3 DISK_GROUP=dg", {groups, ok}, "Create",
     change("Storage", {"GroupID=G1", "Name=v3", "creationmode=synchronous"}), 2, "", false, "C1"},
    {"SetDiskGroupRemovesADisk", "SET DISK_GROUP dg DELETE=disk7", {disks, groups, ok}, "Set",
     on_object("G1", "DiskGroup", {"DeleteDiskID=D7"}), 3, "", false},
    {"SetDiskGroupUnknownDisk", "SET DISK_GROUP dg DELETE=disk9", {disks}, nullptr, {}, 1,
     "\nError: disk9 not found", true},
    {"DeleteDiskGroup", "DELETE DISK_GROUP dg", {groups, ok}, "Delete", on_object("G1", "DiskGroup", {}), 2, "",
     false},
    {"SetDisk", R"(SET DISK disk7 COMMENT="spare")", {disks, ok}, "Set", on_object("D7", "Disk", {"comments=spare"}), 2,
     "", false},
    // DR groups: version-3 creation and property changes; members change as virtual disks.
    {"AddDrGroupWithARemoteDiskGroup", "ADD DR_GROUP g VDISK=v DESTINATION_SYSTEM=Puma DESTINATION_DISK_GROUP=dgp",
     {vdisks, systems, remote_groups, ok}, "createobject",
     {"scellid=C1", "objectid=0808080808080808080808080808080808080808", "objecttype=drmgroup", "objectname=g",
      "destscellid=P1", "virtualdiskid=V2", "remotevirtualdiskname=", "destdiskgroupid=G9", "drmmode=source",
      "drcomments="},
     4, "", false, "P1"},
    {"AddDrGroupWithoutName", R"(ADD DR_GROUP "\Virtual Disks\" VDISK=v DESTINATION_SYSTEM=Puma)", {}, nullptr, {}, 0,
     "\nError: Incomplete command", true},
    {"AddDrGroupWithoutVdisk", "ADD DR_GROUP g DESTINATION_SYSTEM=Puma", {}, nullptr, {}, 0,
     "\nError: VDISK must be specified", true},
    {"AddDrGroupWithoutDestination", "ADD DR_GROUP g VDISK=v", {vdisks}, nullptr, {}, 1,
     "\nError: DESTINATION_SYSTEM must be specified", true},
    {"AddDrGroupUnknownRemoteDiskGroup", "ADD DR_GROUP g VDISK=v DESTINATION_SYSTEM=Puma DESTINATION_DISK_GROUP=dg",
     {vdisks, systems, remote_groups}, nullptr, {}, 3, "\nError: dg not found", true, "P1"},
    {"SetDrGroupProperty", "SET DR_GROUP g SUSPEND", {dr_groups, ok}, "setproperties",
     {"scellid=C1", "objectid=DG1", "objecttype=drmgroup", "suspend=suspend"}, 2, "", false},
    {"DetachAMember", "SET DR_GROUP g DETACH_VDISK=v", {dr_groups, group_read, vdisks, ok}, "Set",
     on_object("V2", "Storage", {"removefromdrgroup=detach", "scellid=C1"}), 4, "", false},
    {"DeleteANonMember", "SET DR_GROUP g DELETE_VDISK=w", {dr_groups, group_read}, nullptr, {}, 2,
     "\nError: w not a member of g", true},
    {"AddAMemberWithARemoteDiskGroup", "SET DR_GROUP g ADD_VDISK=v DESTINATION_DISK_GROUP=dgp",
     {dr_groups, group_read, remote_groups, vdisks, ok}, "Set",
     on_object("V2", "Storage", {"addtogroupid=DG1", "destdiskgroupid=G9", "scellid=C1"}), 5, "", false, "P1"},
    {"DeleteDrGroup", "DELETE DR_GROUP g", {dr_groups, ok}, "deleteobject",
     {"scellid=C1", "objectid=DG1", "objecttype=drmgroup"}, 2, "", false},
    // Power and monitors: the generic set with the command's own sentences.
    {"RestartAllPeers", R"(RESTART "\Controller A" ALL_PEERS)", {controllers, ok}, "Set",
     on_object("P1A", "Power", {"Coupled=YES", "Restart=YES"}), 2, "", false},
    {"ShutdownAlone", R"(SHUTDOWN "\Controller B")", {controllers, ok}, "Set",
     on_object("P1B", "Power", {"Restart=NO"}), 2, "", false},
    {"RestartUnknownController", "RESTART Nope", {controllers}, nullptr, {}, 1, "\nError: Nope not found", true},
    {"SetMonitor", R"(SET MONITOR m COMMENT="rack 1")", {monitors, ok}, "Set",
     on_object("M1", "Monitor", {"comments=rack 1"}), 2, "", false},
    {"ServerRefusalFailsTheCommand", "ADD DISK_GROUP dg3 DEVICE_COUNT=8", {failure_reply("Not enough disks")},
     "Create", change("DiskGroup", {"DeviceCount=8", "Name=dg3"}), 1, "\nError: Not enough disks", true},
};

// The sentences of a request, "name=value", in the order written: the
// legacy form's typed elements, or the version-3 elements after the
// operation's opening line.
std::vector<std::string> written(const std::string& request) {
    static const std::regex legacy(R"(<(\w+) xsd:type="string">([^<]*)</\w+>)");
    static const std::regex v3(R"(\n<(\w+)>([^<\n]*)</\1>)");
    size_t operation = request.find("<NsaServerOperation>\n");
    bool is_v3 = operation != std::string::npos;
    std::string body = is_v3 ? request.substr(request.find('\n', operation + 21)) : request;
    std::vector<std::string> found;
    for (std::sregex_iterator it(body.begin(), body.end(), is_v3 ? v3 : legacy), end; it != end; ++it)
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
        bool v3 = last.find("<NsaServerOperation>") != std::string::npos;
        std::string opening = std::string(v3 ? "<" : "<m:").append(c.operation).append(v3 ? ">\n" : " ");
        EXPECT_NE(last.find(opening), std::string::npos) << last;
        EXPECT_EQ(written(last), c.sentences);
    }
    EXPECT_STREQ(pb->state->cell_id, "C1");  // lookups on another system leave the selection
    if (c.disk_groups_of) {
        const std::string system = "<ElementID xsd:type=\"string\">" + std::string(c.disk_groups_of) + "</ElementID>";
        for (const std::string& request : server.requests) {
            if (request.find("<Type xsd:type=\"string\">DiskGroup</Type>") != std::string::npos) {
                EXPECT_NE(request.find(system), std::string::npos) << request;
            }
        }
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
