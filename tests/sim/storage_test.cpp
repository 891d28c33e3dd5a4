#include "change_fixture.h"

namespace {

using simtest::Refusal;

class SimStorageTest : public simtest::ChangeTest {
protected:
    const std::string finance = "\\Virtual Disks\\Finance\\";
    const std::string db_data = "\\Virtual Disks\\db_data\\ACTIVE";
    const std::string snap_monday = "\\Virtual Disks\\db_data\\snap_monday";
    const std::string ledger = "\\Virtual Disks\\Finance\\ledger\\ACTIVE";
    const std::string orders = "\\Virtual Disks\\orders\\ACTIVE";
    std::string folder(const std::string& name) { return id_of("Folder", name); }
    std::string group(const std::string& name) { return id_of("DiskGroup", "\\Disk Groups\\" + name); }
    std::string vdisk(const std::string& name) { return id_of("Storage", name); }
};

TEST_F(SimStorageTest, CreateNamesTheActiveMemberInItsFolderAndReadsBackEveryOption) {
    ASSERT_TRUE(succeeded(send("Create", "Storage",
                               {{"Name", "payroll"}, {"FolderID", folder(finance)}, {"GroupID", group("Archive")},
                                {"Size", "20"}, {"RedundType", "MIRROR"}, {"WriteCache", "Unmirrored Write-Back"},
                                {"ReadCache", "Off"}, {"PrefPath", "B_BOTH"}, {"WriteProtect", "YES"}, {"RavenID", "7"},
                                {"lunwwn", "6005-08b4-0010-4a21-0000-7000-0999-0000"}, {"comments", "Pay runs"},
                                {"creationmode", "asynchronous"}})));
    const std::string payroll = finance + "payroll\\ACTIVE";
    EXPECT_TRUE(listed("Storage", payroll));
    simtest::Reading r = read("Storage", payroll);
    EXPECT_EQ(value(r, "Name"), payroll);
    EXPECT_EQ(value(r, "Family_Name"), finance + "payroll");
    EXPECT_EQ(value(r, "Disk_Group"), "\\Disk Groups\\Archive");
    EXPECT_EQ(value(r, "Capacity_Req"), "20 GB");
    EXPECT_EQ(value(r, "Redundancy"), "VRAID1");
    EXPECT_EQ(value(r, "Write_cache_Policy"), "Unmirrored write-back");
    EXPECT_EQ(value(r, "Read_cache_Policy"), "Off");
    EXPECT_EQ(value(r, "Preferred_path"), "Path B-Failover/failback");
    EXPECT_EQ(value(r, "Write_Protect"), "Yes");
    EXPECT_EQ(value(r, "OS_Unit_ID"), "7");
    EXPECT_EQ(value(r, "World_Wide_LUN_Name"), "6005-08B4-0010-4A21-0000-7000-0999-0000");
    EXPECT_EQ(value(r, "Comments"), "Pay runs");
    EXPECT_EQ(value(r, "drmmode"), "");
    EXPECT_EQ(r.find("Lun"), nullptr);

    // Without folder or options: under the root, with the defaults.
    ASSERT_TRUE(succeeded(send("Create", "Storage", {{"Name", "scratch"}, {"creationmode", "synchronous"}})));
    simtest::Reading d = read("Storage", "\\Virtual Disks\\scratch\\ACTIVE");
    EXPECT_EQ(value(d, "Disk_Group"), "\\Disk Groups\\Default Disk Group");
    EXPECT_EQ(value(d, "Capacity_Req"), "1 GB");
    EXPECT_EQ(value(d, "Redundancy"), "VRAID5");
    EXPECT_EQ(value(d, "Write_cache_Policy"), "Mirrored write-back");
    EXPECT_EQ(value(d, "Read_cache_Policy"), "On");
    EXPECT_EQ(value(d, "Write_Protect"), "No");
    EXPECT_EQ(value(d, "OS_Unit_ID"), "");
    EXPECT_EQ(value(d, "Preferred_path"), "No preference");
    EXPECT_EQ(value(d, "Comments"), "");
    const std::string wwn = value(d, "World_Wide_LUN_Name");
    EXPECT_EQ(wwn.size(), 39u);
    EXPECT_EQ(wwn[0], '6');
    EXPECT_NE(wwn, value(r, "World_Wide_LUN_Name"));
}

TEST_F(SimStorageTest, SnapshotsJoinTheSourcesFamilyAndClonesStartTheirOwn) {
    ASSERT_TRUE(succeeded(send("Copy", "Snapshot", {{"StorageID", vdisk(db_data)}, {"Name", "snap_tue"}})));
    simtest::Reading snap = read("Storage", "\\Virtual Disks\\db_data\\snap_tue");
    EXPECT_EQ(value(snap, "Family_Name"), "\\Virtual Disks\\db_data");
    EXPECT_EQ(value(snap, "Disk_Group"), "\\Disk Groups\\Default Disk Group");
    EXPECT_EQ(value(snap, "Capacity_Req"), "10 GB");
    EXPECT_EQ(value(snap, "Snapshot_Type"), "Demand allocated");

    // A snapshot stays in its family's disk group, whatever group is named.
    ASSERT_TRUE(succeeded(send("Copy", "Snapshot",
                               {{"StorageID", vdisk(ledger)}, {"Name", "ledger_full"}, {"GroupID", group("Default Disk Group")},
                                {"spaceefficiency", "1"}, {"RedundType", "NONE"}, {"RavenID", "3"}})));
    simtest::Reading full = read("Storage", finance + "ledger\\ledger_full");
    EXPECT_EQ(value(full, "Disk_Group"), "\\Disk Groups\\Archive");
    EXPECT_EQ(value(full, "Snapshot_Type"), "Fully allocated");
    EXPECT_EQ(value(full, "Redundancy"), "VRAID0");
    EXPECT_EQ(value(full, "OS_Unit_ID"), "3");

    ASSERT_TRUE(succeeded(send("Copy", "Clone",
                               {{"StorageID", vdisk(db_data)}, {"Name", "db_copy"}, {"FolderID", folder(finance)},
                                {"creationmode", "asynchronous"}})));
    simtest::Reading clone = read("Storage", finance + "db_copy\\ACTIVE");
    EXPECT_EQ(value(clone, "Family_Name"), finance + "db_copy");
    EXPECT_EQ(value(clone, "Disk_Group"), "\\Disk Groups\\Default Disk Group");
    EXPECT_EQ(value(clone, "Capacity_Req"), "10 GB");
    EXPECT_EQ(value(clone, "Preferred_path"), "Path A-Failover only");
    EXPECT_EQ(clone.find("Snapshot_Type"), nullptr);
    ASSERT_TRUE(succeeded(send("Copy", "Clone", {{"StorageID", vdisk(db_data)}, {"Name", "db_cold"}, {"GroupID", group("Archive")}})));
    EXPECT_EQ(value(read("Storage", "\\Virtual Disks\\db_cold\\ACTIVE"), "Disk_Group"), "\\Disk Groups\\Archive");
}

TEST_F(SimStorageTest, SetChangesEachPropertyAndARenameMovesTheWholeFamily) {
    ASSERT_TRUE(succeeded(send("Set", "Storage",
                               {{"ID", vdisk(ledger)}, {"WriteCache", "Mirrored Write-Back"}, {"ReadCache", "On"},
                                {"PrefPath", "A_FAILOVER"}, {"WriteProtect", "YES"}, {"RavenID", "99"},
                                {"lunwwn", "6005-08B4-0010-4A21-0000-7000-0AAA-0000"}, {"Size", "30"}, {"comments", "grown"}})));
    simtest::Reading r = read("Storage", ledger);
    EXPECT_EQ(value(r, "Write_cache_Policy"), "Mirrored write-back");
    EXPECT_EQ(value(r, "Read_cache_Policy"), "On");
    EXPECT_EQ(value(r, "Preferred_path"), "Path A-Failover only");
    EXPECT_EQ(value(r, "Write_Protect"), "Yes");
    EXPECT_EQ(value(r, "OS_Unit_ID"), "99");
    EXPECT_EQ(value(r, "World_Wide_LUN_Name"), "6005-08B4-0010-4A21-0000-7000-0AAA-0000");
    EXPECT_EQ(value(r, "Capacity_Req"), "30 GB");
    EXPECT_EQ(value(r, "Comments"), "grown");
    ASSERT_TRUE(succeeded(send("Set", "Storage", {{"ID", vdisk(ledger)}, {"PrefPath", "NO_PREFERENCE"}})));
    EXPECT_EQ(value(read("Storage", ledger), "Preferred_path"), "No preference");

    ASSERT_TRUE(succeeded(send("Set", "Storage", {{"ID", vdisk(db_data)}, {"Name", "db_main"}})));
    EXPECT_TRUE(listed("Storage", "\\Virtual Disks\\db_main\\ACTIVE"));
    EXPECT_TRUE(listed("Storage", "\\Virtual Disks\\db_main\\snap_monday"));
    EXPECT_FALSE(listed("Storage", db_data));
    EXPECT_EQ(value(read("Storage", "\\Virtual Disks\\db_main\\snap_monday"), "Family_Name"), "\\Virtual Disks\\db_main");
    EXPECT_EQ(value(read("PresentedUnit", "1"), "Vdisk_Name"), "\\Virtual Disks\\db_main\\ACTIVE");

    ASSERT_TRUE(succeeded(send("Set", "Storage", {{"ID", vdisk("\\Virtual Disks\\db_main\\snap_monday")}, {"Name", "mon"}})));
    EXPECT_TRUE(listed("Storage", "\\Virtual Disks\\db_main\\mon"));
    EXPECT_TRUE(listed("Storage", "\\Virtual Disks\\db_main\\ACTIVE"));
}

TEST_F(SimStorageTest, DeleteTakesAMemberOnlyOnceNothingHangsOnIt) {
    ASSERT_TRUE(succeeded(send("Delete", "Storage", {{"ID", vdisk(snap_monday)}, {"deletionmode", "asynchronous"}})));
    EXPECT_FALSE(listed("Storage", snap_monday));
    expect_refused({{"db_data still presented", "Delete", "Storage", {{"ID", vdisk(db_data)}}, 30}});
    // The active member of a family goes after its snapshots.
    const std::string tmp = "\\Virtual Disks\\tmp\\ACTIVE";
    ASSERT_TRUE(succeeded(send("Create", "Storage", {{"Name", "tmp"}})));
    ASSERT_TRUE(succeeded(send("Copy", "Snapshot", {{"StorageID", vdisk(tmp)}, {"Name", "s"}})));
    expect_refused({{"active member with a snapshot", "Delete", "Storage", {{"ID", vdisk(tmp)}}, 31}});
    ASSERT_TRUE(succeeded(send("Delete", "Storage", {{"ID", vdisk("\\Virtual Disks\\tmp\\s")}})));
    ASSERT_TRUE(succeeded(send("Delete", "Storage", {{"ID", vdisk(tmp)}, {"deletionmode", "synchronous"}})));
    EXPECT_FALSE(listed("Storage", tmp));
}

TEST_F(SimStorageTest, RefusalsChangeNothing) {
    const std::string db = vdisk(db_data);
    expect_refused({
        {"name in use in its folder", "Create", "Storage", {{"Name", "ledger"}, {"FolderID", folder(finance)}}, 20},
        {"name in use by a folder", "Create", "Storage", {{"Name", "Finance"}}, 20},
        {"name of 33 characters", "Create", "Storage", {{"Name", std::string(33, 'v')}}, 5},
        {"forbidden character", "Create", "Storage", {{"Name", "a,b"}}, 5},
        {"no name", "Create", "Storage", {{"Size", "5"}}, 5},
        {"unknown folder", "Create", "Storage", {{"Name", "x"}, {"FolderID", "nope"}}, 7},
        {"a host folder", "Create", "Storage", {{"Name", "x"}, {"FolderID", folder("\\Hosts\\")}}, 5},
        {"unknown disk group", "Create", "Storage", {{"Name", "x"}, {"GroupID", "nope"}}, 7},
        {"unknown system", "Create", "Storage", {{"ElementID", "nope"}, {"Name", "x"}}, 7},
        {"uninitialized system", "Create", "Storage",
         {{"ElementID", model.find_system_by_name("Uninitialized Storage System")->self.id}, {"Name", "x"}}, 52},
        {"size 0", "Create", "Storage", {{"Name", "x"}, {"Size", "0"}}, 5},
        {"size 65536", "Create", "Storage", {{"Name", "x"}, {"Size", "65536"}}, 5},
        {"more than the group's free space", "Create", "Storage",
         {{"Name", "x"}, {"GroupID", group("Archive")}, {"Size", "1000"}, {"RedundType", "MIRROR"}}, 62},
        {"unknown redundancy", "Create", "Storage", {{"Name", "x"}, {"RedundType", "RAID6"}}, 5},
        {"unknown write cache", "Create", "Storage", {{"Name", "x"}, {"WriteCache", "Sometimes"}}, 5},
        {"OS unit id 32768", "Create", "Storage", {{"Name", "x"}, {"RavenID", "32768"}}, 5},
        {"LUN name in use", "Create", "Storage", {{"Name", "x"}, {"lunwwn", "6005-08B4-0010-4A21-0000-7000-0123-0000"}}, 22},
        {"malformed LUN name", "Create", "Storage", {{"Name", "x"}, {"lunwwn", "5005-08B4"}}, 5},
        {"unknown creation mode", "Create", "Storage", {{"Name", "x"}, {"creationmode", "later"}}, 5},
        {"comment of 129", "Create", "Storage", {{"Name", "x"}, {"comments", std::string(129, 'c')}}, 5},

        {"snapshot of nothing", "Copy", "Snapshot", {{"StorageID", "nope"}, {"Name", "s"}}, 7},
        {"snapshot of a snapshot", "Copy", "Snapshot", {{"StorageID", vdisk(snap_monday)}, {"Name", "s"}}, 36},
        {"snapshot name in use", "Copy", "Snapshot", {{"StorageID", db}, {"Name", "snap_monday"}}, 20},
        {"snapshot called ACTIVE", "Copy", "Snapshot", {{"StorageID", db}, {"Name", "ACTIVE"}}, 5},
        {"snapshot, unknown folder", "Copy", "Snapshot", {{"StorageID", db}, {"Name", "s"}, {"FolderID", "nope"}}, 7},
        {"snapshot without a name", "Copy", "Snapshot", {{"StorageID", db}}, 5},
        {"unknown allocation", "Copy", "Snapshot", {{"StorageID", db}, {"Name", "s"}, {"spaceefficiency", "2"}}, 5},
        {"clone name in use", "Copy", "Clone", {{"StorageID", db}, {"Name", "orders"}}, 20},
        {"clone into an unknown group", "Copy", "Clone", {{"StorageID", db}, {"Name", "c"}, {"GroupID", "nope"}}, 7},

        {"set of nothing", "Set", "Storage", {{"ID", "nope"}, {"comments", "x"}}, 7},
        {"shrinking", "Set", "Storage", {{"ID", vdisk(ledger)}, {"Size", "10"}}, 36},
        {"resizing a snapshot", "Set", "Storage", {{"ID", vdisk(snap_monday)}, {"Size", "20"}}, 36},
        {"growing past the free space", "Set", "Storage", {{"ID", vdisk(ledger)}, {"Size", "65535"}}, 62},
        {"renamed onto a family", "Set", "Storage", {{"ID", vdisk(orders)}, {"Name", "db_data"}}, 20},
        {"LUN name of another disk", "Set", "Storage",
         {{"ID", vdisk(ledger)}, {"lunwwn", "6005-08B4-0010-4A21-0000-7000-0123-0000"}}, 22},
        {"a good comment and a bad cache", "Set", "Storage",
         {{"ID", vdisk(ledger)}, {"comments", "half"}, {"ReadCache", "Maybe"}}, 5},

        {"still presented", "Delete", "Storage", {{"ID", vdisk(ledger)}}, 30},
        {"a DR group member", "Delete", "Storage", {{"ID", vdisk(orders)}}, 35},
        {"unknown deletion mode", "Delete", "Storage", {{"ID", vdisk(snap_monday)}, {"deletionmode", "now"}}, 5},
        {"delete of nothing", "Delete", "Storage", {{"ID", "nope"}}, 7},
    });
}

}  // namespace
