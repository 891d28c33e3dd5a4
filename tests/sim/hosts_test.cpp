#include "change_fixture.h"

namespace {

class SimHostTest : public simtest::ChangeTest {
protected:
    const std::string dbserver1 = "\\Hosts\\dbserver1";
    std::string host(const std::string& name) { return id_of("StorageClient", name); }
    std::vector<std::string> ports(const simtest::Reading& r) {
        std::vector<std::string> out;
        for (const simtest::Item& i : r.items)
            if (i.name == "Port") {
                EXPECT_EQ(i.category, "Host Ports");
                out.push_back(i.value);
            }
        return out;
    }
};

TEST_F(SimHostTest, CreateReadsBackAddressModeAdaptersAndTheDefaults) {
    ASSERT_TRUE(succeeded(send("Create", "StorageClient",
                               {{"Name", "app01"}, {"StorageClientMode", "CUSTOM=0000-1234-abcd-00ff"},
                                {"StorageClientIP", "10.0.0.30"}, {"comments", "App server"},
                                {"StorageClientAdapterID", "5000-1fe1-0015-4e02"},
                                {"StorageClientAdapterID", "50001FE100154E01"}})));
    simtest::Reading r = read("StorageClient", "\\Hosts\\app01");
    EXPECT_EQ(value(r, "IPAddress"), "10.0.0.30");
    EXPECT_EQ(value(r, "Operating_system"), "CUSTOM=0000-1234-ABCD-00FF");
    EXPECT_EQ(value(r, "Comments"), "App server");
    EXPECT_EQ(ports(r), (std::vector<std::string>{"5000-1FE1-0015-4E02", "5000-1FE1-0015-4E01"}));

    // A folder of its own; what ADD HOST sends without options.
    ASSERT_TRUE(succeeded(send("Create", "Folder", {{"ID", id_of("Folder", "\\Hosts\\")}, {"Name", "Lab"}})));
    ASSERT_TRUE(succeeded(send("Create", "StorageClient",
                               {{"Name", "bench"}, {"FolderID", id_of("Folder", "\\Hosts\\Lab\\")}, {"StorageClientMode", "0"}})));
    simtest::Reading d = read("StorageClient", "\\Hosts\\Lab\\bench");
    EXPECT_EQ(value(d, "IPAddress"), "Dynamic IP Assignment");
    EXPECT_EQ(value(d, "Operating_system"), "UNKNOWN");
    EXPECT_EQ(value(d, "Comments"), "");
    EXPECT_TRUE(d.categories.empty());
}

TEST_F(SimHostTest, SetRenamesChangesAndAddsOrDeletesAdapters) {
    const std::string id = host(dbserver1);
    ASSERT_TRUE(succeeded(send("Set", "StorageClient",
                               {{"ID", id}, {"Name", "dbserver9"}, {"StorageClientIP", "10.0.0.9"},
                                {"StorageClientMode", "IBMAIX"}, {"comments", "moved"}})));
    simtest::Reading r = read("StorageClient", "\\Hosts\\dbserver9");
    EXPECT_EQ(value(r, "IPAddress"), "10.0.0.9");
    EXPECT_EQ(value(r, "Operating_system"), "IBMAIX");
    EXPECT_EQ(value(r, "Comments"), "moved");
    EXPECT_FALSE(listed("StorageClient", dbserver1));
    // Its LUNs follow it: they name the host by identifier.
    EXPECT_EQ(value(read("Storage", "\\Virtual Disks\\db_data\\ACTIVE"), "StorageClientName"), "\\Hosts\\dbserver9");

    ASSERT_TRUE(succeeded(send("Set", "StorageClient",
                               {{"ID", id}, {"Operation", "addAdapterID"}, {"StorageClientAdapterID", "5000-1FE1-0015-2C03"}})));
    EXPECT_EQ(ports(read("StorageClient", "\\Hosts\\dbserver9")),
              (std::vector<std::string>{"5000-1FE1-0015-2C01", "5000-1FE1-0015-2C02", "5000-1FE1-0015-2C03"}));
    // One operation for every adapter of the request.
    ASSERT_TRUE(succeeded(send("Set", "StorageClient",
                               {{"ID", id}, {"Operation", "deleteAdapterID"}, {"StorageClientAdapterID", "5000-1FE1-0015-2C01"},
                                {"StorageClientAdapterID", "5000-1fe1-0015-2c03"}})));
    EXPECT_EQ(ports(read("StorageClient", "\\Hosts\\dbserver9")), std::vector<std::string>{"5000-1FE1-0015-2C02"});
    ASSERT_TRUE(succeeded(send("Set", "StorageClient",
                               {{"ID", id}, {"Operation", "deleteAdapterID"}, {"StorageClientAdapterID", "5000-1FE1-0015-2C02"}})));
    EXPECT_TRUE(read("StorageClient", "\\Hosts\\dbserver9").categories.empty());
    ASSERT_TRUE(succeeded(send("Set", "StorageClient", {{"ID", id}, {"StorageClientIP", ""}})));
    EXPECT_EQ(value(read("StorageClient", "\\Hosts\\dbserver9"), "IPAddress"), "Dynamic IP Assignment");
}

TEST_F(SimHostTest, DeleteTakesOnlyAHostWithoutLuns) {
    ASSERT_TRUE(succeeded(send("Create", "StorageClient", {{"Name", "spare"}, {"StorageClientMode", "WINDOWS"}})));
    ASSERT_TRUE(succeeded(send("Delete", "StorageClient", {{"ID", host("\\Hosts\\spare")}})));
    EXPECT_FALSE(listed("StorageClient", "\\Hosts\\spare"));
    expect_refused({{"host with LUNs", "Delete", "StorageClient", {{"ID", host(dbserver1)}}, 34},
                    {"delete of nothing", "Delete", "StorageClient", {{"ID", "nope"}}, 7}});
}

TEST_F(SimHostTest, RefusalsChangeNothing) {
    const std::string id = host(dbserver1);
    expect_refused({
        {"name in use", "Create", "StorageClient", {{"Name", "dbserver1"}, {"StorageClientMode", "0"}}, 20},
        {"forbidden character", "Create", "StorageClient", {{"Name", "db:1"}}, 5},
        {"a virtual disk folder", "Create", "StorageClient", {{"Name", "h"}, {"FolderID", id_of("Folder", "\\Virtual Disks\\")}}, 5},
        {"unknown folder", "Create", "StorageClient", {{"Name", "h"}, {"FolderID", "nope"}}, 7},
        {"unknown mode", "Create", "StorageClient", {{"Name", "h"}, {"StorageClientMode", "BEOS"}}, 5},
        {"mask of 17 digits", "Create", "StorageClient", {{"Name", "h"}, {"StorageClientMode", "CUSTOM=1-0000-0000-0000-0000"}}, 5},
        {"mask not hexadecimal", "Create", "StorageClient", {{"Name", "h"}, {"StorageClientMode", "CUSTOM=12G4"}}, 5},
        {"bad address", "Create", "StorageClient", {{"Name", "h"}, {"StorageClientIP", "10.0.0.300"}}, 5},
        {"short adapter", "Create", "StorageClient", {{"Name", "h"}, {"StorageClientAdapterID", "5000-1FE1"}}, 5},
        {"adapter of another host", "Create", "StorageClient",
         {{"Name", "h"}, {"StorageClientAdapterID", "5000-1fe1-0015-3d01"}}, 22},
        {"adapter given twice", "Create", "StorageClient",
         {{"Name", "h"}, {"StorageClientAdapterID", "5000-1FE1-0015-9901"}, {"StorageClientAdapterID", "50001FE100159901"}}, 22},

        {"set of nothing", "Set", "StorageClient", {{"ID", "nope"}, {"comments", "x"}}, 7},
        {"renamed onto a host", "Set", "StorageClient", {{"ID", id}, {"Name", "web01"}}, 20},
        {"adding an adapter it has", "Set", "StorageClient",
         {{"ID", id}, {"Operation", "addAdapterID"}, {"StorageClientAdapterID", "5000-1FE1-0015-2C01"}}, 22},
        {"deleting an adapter it lacks", "Set", "StorageClient",
         {{"ID", id}, {"Operation", "deleteAdapterID"}, {"StorageClientAdapterID", "5000-1FE1-0015-2C01"},
          {"StorageClientAdapterID", "5000-1FE1-0015-3D01"}}, 7},
        {"operation without adapter", "Set", "StorageClient", {{"ID", id}, {"Operation", "addAdapterID"}}, 5},
        {"adapter without operation", "Set", "StorageClient", {{"ID", id}, {"StorageClientAdapterID", "5000-1FE1-0015-2C09"}}, 5},
        {"unknown operation", "Set", "StorageClient",
         {{"ID", id}, {"Operation", "moveAdapterID"}, {"StorageClientAdapterID", "5000-1FE1-0015-2C09"}}, 5},
        {"a good name and address, a bad mode", "Set", "StorageClient",
         {{"ID", id}, {"Name", "db2"}, {"StorageClientIP", "10.1.1.1"}, {"StorageClientMode", "X"}}, 5},
    });
}

}  // namespace
