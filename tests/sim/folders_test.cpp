#include "change_fixture.h"

namespace {

class SimFolderTest : public simtest::ChangeTest {
protected:
    const std::string finance = "\\Virtual Disks\\Finance\\";
    std::string folder(const std::string& name) { return id_of("Folder", name); }
};

TEST_F(SimFolderTest, FoldersNestInsideExistingOnesWithAFinalBackslash) {
    ASSERT_TRUE(succeeded(send("Create", "Folder", {{"ID", folder(finance)}, {"Name", "Reports"}, {"comments", "Monthly"}})));
    ASSERT_TRUE(succeeded(send("Create", "Folder", {{"ID", folder(finance + "Reports\\")}, {"Name", "2026"}})));
    ASSERT_TRUE(succeeded(send("Create", "Folder", {{"ID", folder("\\Hosts\\")}, {"Name", "Lab"}})));
    EXPECT_TRUE(listed("Folder", finance + "Reports\\2026\\"));
    EXPECT_TRUE(listed("Folder", "\\Hosts\\Lab\\"));
    simtest::Reading r = read("Folder", finance + "Reports\\");
    EXPECT_EQ(value(r, "Name"), finance + "Reports\\");
    EXPECT_EQ(value(r, "Comments"), "Monthly");
    EXPECT_EQ(value(read("Folder", finance + "Reports\\2026\\"), "Comments"), "");
}

TEST_F(SimFolderTest, RenamingAFolderRenamesWhatItHolds) {
    ASSERT_TRUE(succeeded(send("Create", "Folder", {{"ID", folder(finance)}, {"Name", "Reports"}})));
    ASSERT_TRUE(succeeded(send("Create", "Folder", {{"ID", folder("\\Virtual Disks\\")}, {"Name", "Finance2"}})));
    ASSERT_TRUE(succeeded(send("Set", "Folder", {{"ID", folder(finance)}, {"Name", "Accounts"}, {"comments", "renamed"}})));
    const std::string accounts = "\\Virtual Disks\\Accounts\\";
    EXPECT_EQ(value(read("Folder", accounts), "Comments"), "renamed");
    EXPECT_TRUE(listed("Folder", accounts + "Reports\\"));
    EXPECT_FALSE(listed("Folder", finance));
    simtest::Reading ledger = read("Storage", accounts + "ledger\\ACTIVE");
    EXPECT_EQ(value(ledger, "Family_Name"), accounts + "ledger");
    EXPECT_EQ(ledger.count("Lun"), 2);  // still presented
    // A neighbour whose name merely starts the same stays.
    EXPECT_TRUE(listed("Folder", "\\Virtual Disks\\Finance2\\"));
}

TEST_F(SimFolderTest, DeleteTakesOnlyAnEmptyFolder) {
    ASSERT_TRUE(succeeded(send("Create", "Folder", {{"ID", folder(finance)}, {"Name", "Old"}})));
    ASSERT_TRUE(succeeded(send("Delete", "Folder", {{"ID", folder(finance + "Old\\")}})));
    EXPECT_FALSE(listed("Folder", finance + "Old\\"));
}

TEST_F(SimFolderTest, RefusalsChangeNothing) {
    expect_refused({
        {"name in use", "Create", "Folder", {{"ID", folder("\\Virtual Disks\\")}, {"Name", "Finance"}}, 20},
        {"name of a virtual disk", "Create", "Folder", {{"ID", folder(finance)}, {"Name", "ledger"}}, 20},
        {"unknown parent", "Create", "Folder", {{"ID", "nope"}, {"Name", "x"}}, 7},
        {"no parent", "Create", "Folder", {{"Name", "x"}}, 5},
        {"below the disk groups", "Create", "Folder", {{"ID", folder("\\Disk Groups\\")}, {"Name", "x"}}, 36},
        {"forbidden character", "Create", "Folder", {{"ID", folder(finance)}, {"Name", "a\\b"}}, 5},
        {"no name", "Create", "Folder", {{"ID", folder(finance)}}, 5},
        {"renaming a root", "Set", "Folder", {{"ID", folder("\\Hosts\\")}, {"Name", "Servers"}}, 36},
        {"renamed onto a family", "Set", "Folder", {{"ID", folder(finance)}, {"Name", "orders"}}, 20},
        {"deleting a root", "Delete", "Folder", {{"ID", folder("\\Virtual Disks\\")}}, 36},
        {"deleting a folder in use", "Delete", "Folder", {{"ID", folder(finance)}}, 32},
        {"delete of nothing", "Delete", "Folder", {{"ID", "nope"}}, 7},
    });
}

}  // namespace
