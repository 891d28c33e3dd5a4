#include "change_fixture.h"

namespace {

class SimLunTest : public simtest::ChangeTest {
protected:
    const std::string ledger = "\\Virtual Disks\\Finance\\ledger\\ACTIVE";
    const std::string orders = "\\Virtual Disks\\orders\\ACTIVE";
    std::string host(const std::string& name) { return id_of("StorageClient", "\\Hosts\\" + name); }
    std::string vdisk(const std::string& name) { return id_of("Storage", name); }
    // The LUN and host pairs a virtual disk's read shows, in order.
    std::vector<std::string> presentations(const std::string& vdisk_name) {
        simtest::Reading r = read("Storage", vdisk_name);
        std::vector<std::string> out;
        for (int n = 1; r.find("Lun", n) != nullptr; ++n) out.push_back(*r.find("Lun", n) + " " + value(r, "StorageClientName", n));
        return out;
    }
};

TEST_F(SimLunTest, ADiskShowsItsLunsInLunOrder) {
    EXPECT_EQ(presentations(ledger), (std::vector<std::string>{"1 \\Hosts\\web01", "2 \\Hosts\\dbserver1"}));
    ASSERT_TRUE(succeeded(send("Create", "StorageClient", {{"Name", "app01"}})));
    ASSERT_TRUE(succeeded(send("Create", "PresentedUnit",
                               {{"LUN", "10"}, {"StorageClientID", host("app01")}, {"StorageID", vdisk(ledger)}})));
    ASSERT_TRUE(succeeded(send("Create", "PresentedUnit",
                               {{"LUN", "007"}, {"StorageClientID", host("web01")}, {"StorageID", vdisk(orders)}})));
    EXPECT_EQ(presentations(ledger),
              (std::vector<std::string>{"1 \\Hosts\\web01", "2 \\Hosts\\dbserver1", "10 \\Hosts\\app01"}));
    EXPECT_EQ(names("PresentedUnit"), (std::vector<std::string>{"1", "2", "1", "10", "7"}));
    simtest::Reading lun = read("PresentedUnit", "7");
    EXPECT_EQ(value(lun, "LUN"), "7");
    EXPECT_EQ(value(lun, "Vdisk_Name"), orders);
    EXPECT_EQ(value(lun, "Host_Name"), "\\Hosts\\web01");
}

TEST_F(SimLunTest, DeletingTheLunsFreesTheDiskAndTheHost) {
    std::vector<std::string> luns;  // LUN 2 to dbserver1, then LUN 1 to web01
    for (const talosim::Object* lun : model.list(*model.find_system(cheetah), "PresentedUnit"))
        if (lun->prop("StorageID") == vdisk(ledger)) luns.push_back(lun->id);
    ASSERT_EQ(luns.size(), 2u);
    ASSERT_TRUE(succeeded(send("Delete", "PresentedUnit", {{"ID", luns[0]}})));
    EXPECT_EQ(presentations(ledger), std::vector<std::string>{"1 \\Hosts\\web01"});
    ASSERT_TRUE(succeeded(send("Delete", "PresentedUnit", {{"ID", luns[1]}})));
    EXPECT_TRUE(presentations(ledger).empty());
    EXPECT_TRUE(succeeded(send("Delete", "StorageClient", {{"ID", host("web01")}})));
    EXPECT_TRUE(succeeded(send("Delete", "Storage", {{"ID", vdisk(ledger)}})));
}

TEST_F(SimLunTest, RefusalsChangeNothing) {
    expect_refused({
        {"number taken on that host", "Create", "PresentedUnit",
         {{"LUN", "1"}, {"StorageClientID", host("dbserver1")}, {"StorageID", vdisk(orders)}}, 21},
        {"disk already presented to that host", "Create", "PresentedUnit",
         {{"LUN", "9"}, {"StorageClientID", host("dbserver1")}, {"StorageID", vdisk(ledger)}}, 23},
        {"LUN 0", "Create", "PresentedUnit", {{"LUN", "0"}, {"StorageClientID", host("web01")}, {"StorageID", vdisk(orders)}}, 5},
        {"LUN 256", "Create", "PresentedUnit", {{"LUN", "256"}, {"StorageClientID", host("web01")}, {"StorageID", vdisk(orders)}}, 5},
        {"LUN not a number", "Create", "PresentedUnit",
         {{"LUN", "x1"}, {"StorageClientID", host("web01")}, {"StorageID", vdisk(orders)}}, 5},
        {"no LUN", "Create", "PresentedUnit", {{"StorageClientID", host("web01")}, {"StorageID", vdisk(orders)}}, 5},
        {"unknown host", "Create", "PresentedUnit", {{"LUN", "5"}, {"StorageClientID", "nope"}, {"StorageID", vdisk(orders)}}, 7},
        {"unknown disk", "Create", "PresentedUnit", {{"LUN", "5"}, {"StorageClientID", host("web01")}, {"StorageID", "nope"}}, 7},
        {"no disk", "Create", "PresentedUnit", {{"LUN", "5"}, {"StorageClientID", host("web01")}}, 5},
        {"delete of nothing", "Delete", "PresentedUnit", {{"ID", "nope"}}, 7},
    });
}

}  // namespace
