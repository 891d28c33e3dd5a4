#include "change_fixture.h"

namespace {

// Cheetah's disks: 001 to 012 in the default group, 013 to 020 (Near-Online,
// 250 GB) in Archive, 021 and 022 ungrouped; 146 GB unless Near-Online.
class SimDiskGroupTest : public simtest::ChangeTest {
protected:
    const std::string groups = "\\Disk Groups\\";
    const std::string ungrouped = "\\Disk Groups\\Ungrouped Disks\\";
    std::string group(const std::string& name) { return id_of("DiskGroup", groups + name); }
    std::string disk(const std::string& name) { return id_of("Disk", name); }
};

TEST_F(SimDiskGroupTest, CreateTakesUngroupedDisksOfItsType) {
    ASSERT_TRUE(succeeded(send("Create", "DiskGroup",
                               {{"Name", "Fast"}, {"FolderID", id_of("Folder", groups)}, {"DeviceCount", "2"},
                                {"SparePolicy", "None"}, {"occupancyalarmlevel", "80"}, {"diskgrpdisktype", "Online"},
                                {"comments", "Scratch tier"}})));
    simtest::Reading r = read("DiskGroup", groups + "Fast");
    EXPECT_EQ(value(r, "Total_Disks"), "2");
    EXPECT_EQ(value(r, "Disk_Failure_Protection_Level"), "None");
    EXPECT_EQ(value(r, "DiskGroup_DiskType"), "Online");
    EXPECT_EQ(value(r, "Occupancy_Alarm_Level"), "80 %");
    EXPECT_EQ(value(r, "Total_Capacity"), "292 GB");
    EXPECT_EQ(value(r, "Comments"), "Scratch tier");
    EXPECT_TRUE(listed("Disk", groups + "Fast\\Disk 021"));
    EXPECT_EQ(value(read("Disk", groups + "Fast\\Disk 022"), "Disk_Group"), groups + "Fast");
    EXPECT_FALSE(listed("Disk", ungrouped + "Disk 021"));

    // A group of its own holds virtual disks.
    ASSERT_TRUE(succeeded(send("Create", "Storage", {{"Name", "quick"}, {"GroupID", group("Fast")}, {"Size", "200"}})));
    expect_refused({{"the group holds a disk", "Delete", "DiskGroup", {{"ID", group("Fast")}}, 33}});
}

TEST_F(SimDiskGroupTest, WithoutOptionsAGroupTakesEveryFittingDisk) {
    ASSERT_TRUE(succeeded(send("Create", "DiskGroup", {{"Name", "Rest"}})));
    simtest::Reading r = read("DiskGroup", groups + "Rest");
    EXPECT_EQ(value(r, "Total_Disks"), "2");
    EXPECT_EQ(value(r, "Disk_Failure_Protection_Level"), "Single");
    EXPECT_EQ(value(r, "Occupancy_Alarm_Level"), "95 %");
    EXPECT_EQ(value(r, "DiskGroup_DiskType"), "Online");
    // Deleting it gives its disks back.
    ASSERT_TRUE(succeeded(send("Delete", "DiskGroup", {{"ID", group("Rest")}})));
    EXPECT_FALSE(listed("DiskGroup", groups + "Rest"));
    EXPECT_TRUE(listed("Disk", ungrouped + "Disk 021"));
    EXPECT_TRUE(listed("Disk", ungrouped + "Disk 022"));
}

TEST_F(SimDiskGroupTest, SetMovesDisksInAndOutAndRenamesTheGroupEverywhere) {
    const std::string default_group = groups + "Default Disk Group";
    ASSERT_TRUE(succeeded(
        send("Set", "DiskGroup", {{"ID", group("Default Disk Group")}, {"DeleteDiskID", disk(default_group + "\\Disk 001")}})));
    EXPECT_TRUE(listed("Disk", ungrouped + "Disk 001"));
    simtest::Reading r = read("DiskGroup", default_group);
    EXPECT_EQ(value(r, "Total_Disks"), "11");
    EXPECT_EQ(value(r, "Total_Capacity"), "1606 GB");
    ASSERT_TRUE(succeeded(send("Set", "DiskGroup", {{"ID", group("Default Disk Group")}, {"AddDiskCount", "3"}})));
    EXPECT_EQ(value(read("DiskGroup", default_group), "Total_Disks"), "14");
    EXPECT_EQ(value(read("DiskGroup", default_group), "Total_Capacity"), "2044 GB");

    ASSERT_TRUE(succeeded(send("Set", "DiskGroup",
                               {{"ID", group("Archive")}, {"Name", "Cold"}, {"occupancyalarmlevel", "100"},
                                {"SparePolicy", "Single"}, {"comments", "Colder"}})));
    simtest::Reading cold = read("DiskGroup", groups + "Cold");
    EXPECT_EQ(value(cold, "Occupancy_Alarm_Level"), "100 %");
    EXPECT_EQ(value(cold, "Disk_Failure_Protection_Level"), "Single");
    EXPECT_EQ(value(cold, "Comments"), "Colder");
    EXPECT_EQ(value(read("Disk", groups + "Cold\\Disk 013"), "Disk_Group"), groups + "Cold");
    EXPECT_EQ(value(read("Storage", "\\Virtual Disks\\Finance\\ledger\\ACTIVE"), "Disk_Group"), groups + "Cold");
    EXPECT_FALSE(listed("DiskGroup", groups + "Archive"));
}

TEST_F(SimDiskGroupTest, DisksTakeANameWithinTheirGroupAndAComment) {
    const std::string name = groups + "Archive\\Disk 013";
    ASSERT_TRUE(succeeded(send("Set", "Disk", {{"ID", disk(name)}, {"Name", "Slow1"}, {"comments", "Bay 13"}})));
    simtest::Reading r = read("Disk", groups + "Archive\\Slow1");
    EXPECT_EQ(value(r, "Comments"), "Bay 13");
    EXPECT_EQ(value(r, "Disk_Group"), groups + "Archive");
    expect_refused({
        {"disk name in use", "Set", "Disk", {{"ID", disk(groups + "Archive\\Slow1")}, {"Name", "Disk 014"}}, 20},
        {"disk name too long", "Set", "Disk", {{"ID", disk(groups + "Archive\\Slow1")}, {"Name", std::string(33, 'd')}}, 5},
        {"unknown disk", "Set", "Disk", {{"ID", "nope"}, {"comments", "x"}}, 7},
        {"disks are not made", "Create", "Disk", {{"Name", "d"}}, 41},
    });
}

TEST_F(SimDiskGroupTest, RefusalsChangeNothing) {
    // A group full enough that one disk less would not hold it: Archive has
    // 2000 GB on 8 disks and ledger takes 40 of them.
    ASSERT_TRUE(succeeded(send("Create", "Storage",
                               {{"Name", "bulk"}, {"GroupID", group("Archive")}, {"Size", "1800"}, {"RedundType", "NONE"}})));
    ASSERT_TRUE(succeeded(send("Create", "DiskGroup", {{"Name", "Pair"}, {"DeviceCount", "2"}})));
    const std::string archive_disk = disk(groups + "Archive\\Disk 013");
    expect_refused({
        {"more disks than ungrouped", "Create", "DiskGroup", {{"Name", "x"}, {"DeviceCount", "3"}}, 61},
        {"no ungrouped disks of the type", "Create", "DiskGroup", {{"Name", "x"}, {"diskgrpdisktype", "Near-Online"}}, 61},
        {"name in use", "Create", "DiskGroup", {{"Name", "Archive"}}, 20},
        {"the ungrouped disks' name", "Create", "DiskGroup", {{"Name", "Ungrouped Disks"}}, 20},
        {"alarm 0", "Create", "DiskGroup", {{"Name", "x"}, {"occupancyalarmlevel", "0"}}, 5},
        {"alarm 101", "Set", "DiskGroup", {{"ID", group("Archive")}, {"occupancyalarmlevel", "101"}}, 5},
        {"unknown spare policy", "Create", "DiskGroup", {{"Name", "x"}, {"SparePolicy", "Triple"}}, 5},
        {"unknown disk type", "Create", "DiskGroup", {{"Name", "x"}, {"diskgrpdisktype", "Offline"}}, 5},
        {"device count not a number", "Create", "DiskGroup", {{"Name", "x"}, {"DeviceCount", "two"}}, 5},
        {"a virtual disk folder", "Create", "DiskGroup", {{"Name", "x"}, {"FolderID", id_of("Folder", "\\Virtual Disks\\")}}, 5},
        {"adding more than are free", "Set", "DiskGroup", {{"ID", group("Pair")}, {"AddDiskCount", "1"}}, 61},
        {"removing below two disks", "Set", "DiskGroup",
         {{"ID", group("Pair")}, {"DeleteDiskID", disk(groups + "Pair\\Disk 021")}}, 61},
        {"removing space in use", "Set", "DiskGroup", {{"ID", group("Archive")}, {"DeleteDiskID", archive_disk}}, 62},
        {"a disk of another group", "Set", "DiskGroup", {{"ID", group("Pair")}, {"DeleteDiskID", archive_disk}}, 5},
        {"unknown disk", "Set", "DiskGroup", {{"ID", group("Pair")}, {"DeleteDiskID", "nope"}}, 7},
        {"renamed onto a group", "Set", "DiskGroup", {{"ID", group("Pair")}, {"Name", "Archive"}}, 20},
        {"a good comment and a bad policy", "Set", "DiskGroup", {{"ID", group("Pair")}, {"comments", "c"}, {"SparePolicy", "x"}}, 5},
        {"set of nothing", "Set", "DiskGroup", {{"ID", "nope"}}, 7},
        {"group holding virtual disks", "Delete", "DiskGroup", {{"ID", group("Archive")}}, 33},
    });
}

}  // namespace
