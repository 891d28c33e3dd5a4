// Every ADD, SET, DELETE, RESTART and SHUTDOWN command line builds its whole
// sentence queue and keeps its names while it is parsed, before any request.
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "parse_fixture.h"

namespace {

struct QueueCase {
    const char* line;
    std::vector<std::string> sentences;  // write order, "name=value"
    std::map<std::string, std::string> fields;  // names kept; every other stays unset
};

// The session fields a command's action routines may fill.
const std::pair<const char*, char* session_state::*> name_fields[] = {
    {"object_name", &session_state::object_name},
    {"new_name", &session_state::new_name},
    {"folder_name", &session_state::folder_name},
    {"host_name", &session_state::host_name},
    {"vdisk_name", &session_state::vdisk_name},
    {"source_name", &session_state::source_name},
    {"storage_group_name", &session_state::storage_group_name},
    {"remove_disk_name", &session_state::remove_disk_name},
    {"dr_disk_group_name", &session_state::dr_disk_group_name},
    {"dr_destination_name", &session_state::dr_destination_name},
};

const std::string folder_id = "0808080808080808080808080808080808080808";
const std::string no_disk_group = "0000000000000000000000000000000000000000";

// The creation request of a DR group with the values given; the other tags
// stay empty in their fixed places.
std::vector<std::string> dr_create(std::map<std::string, std::string> values,
                                   std::vector<std::string> after = {}) {
    std::map<std::string, std::string> v = {{"objectid", folder_id},
                                            {"objecttype", "drmgroup"},
                                            {"destdiskgroupid", no_disk_group},
                                            {"drmmode", "source"}};
    for (auto& [name, value] : values) v[name] = value;
    std::vector<std::string> queue;
    for (const char* tag : {"scellid", "objectid", "objecttype", "objectname", "destscellid",
                            "virtualdiskid", "remotevirtualdiskname", "destdiskgroupid", "drmmode",
                            "drcomments"})
        queue.push_back(std::string(tag) + "=" + v[tag]);
    queue.insert(queue.end(), after.begin(), after.end());
    return queue;
}

// A change of a DR group: the identifying tags, then the property.
std::vector<std::string> dr_set(std::vector<std::string> after) {
    std::vector<std::string> queue = {"scellid=", "objectid=", "objecttype=drmgroup"};
    queue.insert(queue.end(), after.begin(), after.end());
    return queue;
}

const QueueCase queue_cases[] = {
    // ADD SYSTEM
    {R"(ADD SYSTEM Lab2 COMMENT="second lab" CONSOLE_LUN_ID=7 DEVICE_COUNT=3000000000 DISKGROUP_DISKTYPE=NEARONLINE SPARE_POLICY=DOUBLE)",
     {"SparePolicy=Double", "scdisktype=Near-Online", "DeviceCount=3000000000", "RavenID=7",
      "comments=second lab", "Name=Lab2"},
     {}},
    {"ADD CELL Lab3 DISKGROUP_DISKTYPE=ONLINE SPARE_POLICY=SINGLE DISKGROUP_DISKTYPE=NEARONLINE",
     {"SparePolicy=Single", "scdisktype=Near-Online", "Name=Lab3"}, {}},
    // ADD COPY: asynchronous unless told otherwise
    {R"(ADD COPY \Snaps\c1 VDISK=src GROUP=dg REDUNDANCY=VRAID1 OS_UNIT_ID=12 WORLD_WIDE_LUN_NAME=6000-1111 NOWAIT_FOR_COMPLETION)",
     {"lunwwn=6000-1111", "RavenID=12", "RedundType=MIRROR", "Name=c1", "creationmode=asynchronous"},
     {{"object_name", "c1"}, {"folder_name", R"(\Snaps\)"}, {"source_name", "src"},
      {"storage_group_name", "dg"}}},
    {"ADD COPY c2 STORAGE=src WAIT_FOR_COMPLETION",
     {"Name=c2", "creationmode=synchronous"}, {{"object_name", "c2"}, {"source_name", "src"}}},
    // ADD DISK_GROUP
    {R"(ADD DISK_GROUP \Groups\dg1 COMMENT="fast" DEVICE_COUNT=8 OCCUPANCY_ALARM=100 DISKGROUP_DISKTYPE=ONLINE SPARE_POLICY=NONE)",
     {"SparePolicy=None", "diskgrpdisktype=Online", "occupancyalarmlevel=100", "DeviceCount=8",
      "comments=fast", "Name=dg1"},
     {{"object_name", "dg1"}, {"folder_name", R"(\Groups\)"}}},
    {"ADD GROUP dg2 DISKGROUP_DISKTYPE=NEARONLINE OCCUPANCY_ALARM=1",
     {"occupancyalarmlevel=1", "diskgrpdisktype=Near-Online", "Name=dg2"}, {{"object_name", "dg2"}}},
    // ADD DR_GROUP: the creation tags in their fixed order, options after
    {R"(ADD DR_GROUP \DR\g1 VDISK=\Projects\v1 DESTINATION_SYSTEM=Remote DESTINATION_DISK_GROUP=rdg DESTINATION_VDISK_NAME=rv1 WRITEMODE=SYNCHRONOUS ACCESSMODE=READONLY COMMENT="mirror")",
     dr_create({{"objectname", "g1"}, {"remotevirtualdiskname", "rv1"}, {"drcomments", "mirror"}},
               {"writemode=synchronous", "accessmode=readonly"}),
     {{"object_name", "g1"}, {"folder_name", R"(\DR\)"}, {"vdisk_name", R"(\Projects\v1)"},
      {"dr_destination_name", "Remote"}, {"dr_disk_group_name", "rdg"}}},
    {"ADD DR_GROUP g2 WRITEMODE=ASYNCHRONOUS ACCESSMODE=DISABLE",
     dr_create({{"objectname", "g2"}}, {"writemode=asynchronous", "accessmode=disable"}),
     {{"object_name", "g2"}}},
    // ADD FOLDER
    {R"(ADD FOLDER \Hosts\Lab COMMENT="lab hosts")", {"comments=lab hosts", "Name=Lab"},
     {{"object_name", "Lab"}, {"folder_name", R"(\Hosts\)"}}},
    // ADD HOST: mode "0" unless an operating system is given
    {R"(ADD HOST \Hosts\h1 IP=10.0.0.1 WORLD_WIDE_NAME=5000-1FE1-0000-0001 WORLD_WIDE_NAME=5000-1FE1-0000-0002)",
     {"StorageClientAdapterID=5000-1FE1-0000-0002", "StorageClientAdapterID=5000-1FE1-0000-0001",
      "StorageClientIP=10.0.0.1", "Name=h1", "StorageClientMode=0"},
     {{"object_name", "h1"}, {"folder_name", R"(\Hosts\)"}}},
    {R"(ADD HOST h2 OPERATING_SYSTEM=WINDOWS COMMENT="w")",
     {"comments=w", "Name=h2", "StorageClientMode=WINDOWS"}, {{"object_name", "h2"}}},
    {"ADD HOST h3 OPERATING_SYSTEM=CUSTOM=0-1234-5678-9abc-DEF0",
     {"Name=h3", "StorageClientMode=CUSTOM=0-1234-5678-9abc-DEF0"}, {{"object_name", "h3"}}},
    // ADD LUN
    {R"(ADD LUN 012 HOST=h1 VDISK=\Projects\v1)", {"LUN=012"},
     {{"object_name", "012"}, {"host_name", "h1"}, {"vdisk_name", R"(\Projects\v1)"}}},
    // ADD SNAPSHOT: no completion mode
    {"ADD SNAPSHOT s1 VDISK=v1 ALLOCATION_POLICY=FULLY REDUNDANCY=VRAID5 OS_UNIT_ID=32767 "
     "WORLD_WIDE_LUN_NAME=6000-1 WORLD_WIDE_LUN_NAME=6000-2",
     {"lunwwn=6000-2", "lunwwn=6000-1", "RavenID=32767", "RedundType=PARITY", "spaceefficiency=1",
      "Name=s1"},
     {{"object_name", "s1"}, {"source_name", "v1"}}},
    {"ADD SNAPSHOT s2 ALLOCATION_POLICY=DEMAND STORAGE=v1", {"spaceefficiency=0", "Name=s2"},
     {{"object_name", "s2"}, {"source_name", "v1"}}},
    // ADD VDISK: synchronous unless told otherwise
    {R"(ADD VDISK \Projects\v1 SIZE=65535 REDUNDANCY=VRAID0 DISK_GROUP=dg MIRRORED_WRITEBACK PREFERRED_PATH=PATH_B_BOTH READ_CACHE NOWRITE_PROTECT OS_UNIT_ID=5 COMMENT="c" WORLD_WIDE_LUN_NAME=6000-1 NOWAIT_FOR_COMPLETION)",
     {"lunwwn=6000-1", "comments=c", "RavenID=5", "WriteProtect=NO", "ReadCache=On",
      "PrefPath=B_BOTH", "WriteCache=Mirrored Write-Back", "RedundType=NONE", "Size=65535", "Name=v1",
      "creationmode=asynchronous"},
     {{"object_name", "v1"}, {"folder_name", R"(\Projects\)"}, {"storage_group_name", "dg"}}},
    {"ADD STORAGE v2 SIZE=1 NOMIRRORED_WRITEBACK NOPREFERRED_PATH NOREAD_CACHE WRITE_PROTECT",
     {"WriteProtect=YES", "ReadCache=Off", "PrefPath=NO_PREFERENCE",
      "WriteCache=Unmirrored Write-Back", "Size=1", "Name=v2", "creationmode=synchronous"},
     {{"object_name", "v2"}}},
    {"ADD VDISK v3 PREFERRED_PATH=PATH_A_FAILOVER PREFERRED_PATH=PATH_A_BOTH NOWAIT_FOR_COMPLETION "
     "WAIT_FOR_COMPLETION",
     {"PrefPath=A_BOTH", "Name=v3", "creationmode=synchronous"}, {{"object_name", "v3"}}},

    // SET SYSTEM
    {"SET SYSTEM Lab NAME=Lab3", {"Name=Lab3"}, {{"object_name", "Lab"}, {"new_name", "Lab3"}}},
    {"SET CELL Lab CONSOLE_LUN_ID=0", {"RavenID=0"}, {{"object_name", "Lab"}}},
    // SET DISK: the name is looked up whole, folder path included
    {R"(SET DISK \Disks\d01 COMMENT="spare")", {"comments=spare"}, {{"object_name", R"(\Disks\d01)"}}},
    // SET DISK_GROUP
    {"SET DISK_GROUP dg ADD=4", {"AddDiskCount=4"}, {{"object_name", "dg"}}},
    {"SET GROUP dg DELETE=d07", {}, {{"object_name", "dg"}, {"remove_disk_name", "d07"}}},
    {"SET DISK_GROUP dg SPARE_POLICY=SINGLE OCCUPANCY_ALARM=90",
     {"occupancyalarmlevel=90", "SparePolicy=Single"}, {{"object_name", "dg"}}},
    {"SET DISK_GROUP dg NAME=dg9", {"Name=dg9"}, {{"object_name", "dg"}, {"new_name", "dg9"}}},
    // SET DR_GROUP: one property per command, after the identifying tags
    {"SET DR_GROUP g1 WRITEMODE=ASYNCHRONOUS", dr_set({"writemode=asynchronous"}),
     {{"object_name", "g1"}}},
    {"SET DR_GROUP g1 ACCESSMODE=DISABLE", dr_set({"accessmode=disable"}),
     {{"object_name", "g1"}}},
    {"SET DR_GROUP g1 FAILOVER", dr_set({"sitefailover="}), {{"object_name", "g1"}}},
    {"SET DR_GROUP g1 FAILSAFE", dr_set({"failsafe=enable"}), {{"object_name", "g1"}}},
    {"SET DR_GROUP g1 NOFAILSAFE", dr_set({"failsafe=disable"}),
     {{"object_name", "g1"}}},
    {"SET DR_GROUP g1 SUSPEND", dr_set({"suspend=suspend"}), {{"object_name", "g1"}}},
    {"SET DR_GROUP g1 NOSUSPEND", dr_set({"suspend=resume"}), {{"object_name", "g1"}}},
    {R"(SET DR_GROUP g1 COMMENT="moved")", dr_set({"drcomments=moved"}),
     {{"object_name", "g1"}}},
    {"SET DR_GROUP g1 NAME=g7", dr_set({"objectname=g7"}),
     {{"object_name", "g1"}, {"new_name", "g7"}}},
    // Member changes leave only what the member's change request needs.
    {"SET DR_GROUP g1 ADD_VDISK=v3 DESTINATION_DISK_GROUP=rdg DESTINATION_VDISK_NAME=rv3",
     {"remotevirtualdiskname=rv3"},
     {{"object_name", "g1"}, {"vdisk_name", "v3"}, {"dr_disk_group_name", "rdg"}, {"dr_storage_added", "1"}}},
    {"SET DR_GROUP g1 DELETE_VDISK=v3", {"removefromdrgroup=delete"},
     {{"object_name", "g1"}, {"vdisk_name", "v3"}}},
    {"SET DR_GROUP g1 DETACH_VDISK=v3", {"removefromdrgroup=detach"},
     {{"object_name", "g1"}, {"vdisk_name", "v3"}}},
    // SET FOLDER
    {R"(SET FOLDER \Hosts\Lab NAME=Lab2)", {"Name=Lab2"},
     {{"object_name", R"(\Hosts\Lab)"}, {"new_name", "Lab2"}}},
    // SET HOST
    {"SET HOST h1 ADD_WORLD_WIDE_NAME=5000-1FE1-0000-0003",
     {"StorageClientAdapterID=5000-1FE1-0000-0003", "Operation=addAdapterID"}, {{"object_name", "h1"}}},
    {"SET HOST h1 DELETE_WORLD_WIDE_NAME=5000-1FE1-0000-0003",
     {"StorageClientAdapterID=5000-1FE1-0000-0003", "Operation=deleteAdapterID"}, {{"object_name", "h1"}}},
    {"SET HOST h1 IP=10.1.1.1", {"StorageClientIP=10.1.1.1"}, {{"object_name", "h1"}}},
    {"SET HOST h1 NAME=h9", {"Name=h9"}, {{"object_name", "h1"}, {"new_name", "h9"}}},
    {R"(SET HOST h1 COMMENT="web")", {"comments=web"}, {{"object_name", "h1"}}},
    {"SET HOST h1 OPERATING_SYSTEM=KORUX", {"StorageClientMode=KORUX"}, {{"object_name", "h1"}}},
    {"SET HOST h1 OPERATING_SYSTEM=IBMAIX", {"StorageClientMode=IBMAIX"}, {{"object_name", "h1"}}},
    {"SET HOST h1 OPERATING_SYSTEM=RAVEN_OS", {"StorageClientMode=RAVEN_OS"}, {{"object_name", "h1"}}},
    {"SET HOST h1 OPERATING_SYSTEM=SOLARIS", {"StorageClientMode=SOLARIS"}, {{"object_name", "h1"}}},
    {"SET HOST h1 OPERATING_SYSTEM=QANTO", {"StorageClientMode=QANTO"}, {{"object_name", "h1"}}},
    {"SET HOST h1 OPERATING_SYSTEM=UNKNOWN", {"StorageClientMode=UNKNOWN"}, {{"object_name", "h1"}}},
    {"SET HOST h1 OPERATING_SYSTEM=CUSTOM=FFFFFFFFFFFFFFFF",
     {"StorageClientMode=CUSTOM=FFFFFFFFFFFFFFFF"}, {{"object_name", "h1"}}},
    // SET MONITOR
    {R"(SET MONITOR m1 COMMENT="hot")", {"comments=hot"}, {{"object_name", "m1"}}},
    // SET VDISK
    {"SET VDISK v1 SIZE=20", {"Size=20"}, {{"object_name", "v1"}}},
    {"SET STORAGE v1 PREFERRED_PATH=PATH_B_FAILOVER", {"PrefPath=B_FAILOVER"}, {{"object_name", "v1"}}},
    {"SET VDISK v1 WORLD_WIDE_LUN_NAME=6000-9", {"lunwwn=6000-9"}, {{"object_name", "v1"}}},
    {"SET VDISK v1", {}, {{"object_name", "v1"}}},

    // DELETE: the name only, and the completion mode of a virtual disk
    {"DELETE SYSTEM Lab", {}, {{"object_name", "Lab"}}},
    {"DELETE DISK_GROUP dg", {}, {{"object_name", "dg"}}},
    {"DELETE DR_GROUP g1", {}, {{"object_name", "g1"}}},
    {R"(DELETE FOLDER \Hosts\Lab)", {}, {{"object_name", R"(\Hosts\Lab)"}}},
    {"DELETE HOST h1", {}, {{"object_name", "h1"}}},
    {"DELETE LUN 12", {}, {{"object_name", "12"}}},
    {"DELETE VDISK v1", {"deletionmode=asynchronous"}, {{"object_name", "v1"}}},
    {"DELETE STORAGE v1 WAIT_FOR_COMPLETION", {"deletionmode=synchronous"}, {{"object_name", "v1"}}},
    {"DELETE VDISK v1 WAIT_FOR_COMPLETION NOWAIT_FOR_COMPLETION", {"deletionmode=asynchronous"},
     {{"object_name", "v1"}}},

    // RESTART and SHUTDOWN: Coupled only when asked, the later word wins
    {"RESTART ctrl ALL_PEERS", {"Coupled=YES", "Restart=YES"}, {{"object_name", "ctrl"}}},
    {"RESTART ctrl", {"Restart=YES"}, {{"object_name", "ctrl"}}},
    {"SHUTDOWN ctrl", {"Restart=NO"}, {{"object_name", "ctrl"}}},
    {"SHUTDOWN ctrl ALL_PEERS NOALL_PEERS", {"Coupled=NO", "Restart=NO"}, {{"object_name", "ctrl"}}},
};

class CommandQueueTest : public ParseTest {};

TEST_F(CommandQueueTest, EveryCommandBuildsItsQueueAndKeepsItsNames) {
    for (const QueueCase& c : queue_cases) {
        SCOPED_TRACE(c.line);
        ASSERT_EQ(parse(c.line), parse_ok) << output();
        EXPECT_EQ(output(), "");
        EXPECT_EQ(sentences(), c.sentences);
        const session_state* s = pb->state;
        for (const auto& [label, field] : name_fields) {
            auto expected = c.fields.find(label);
            if (expected == c.fields.end())
                EXPECT_EQ(s->*field, nullptr) << label;
            else
                EXPECT_STREQ(s->*field, expected->second.c_str()) << label;
        }
        EXPECT_EQ(s->dr_storage_added, c.fields.count("dr_storage_added") ? 1 : 0);
    }
}

}  // namespace
