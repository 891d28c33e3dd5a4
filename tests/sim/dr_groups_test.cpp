#include "change_fixture.h"

namespace {

using simtest::Reading;
using simtest::Refusal;
using simtest::Sentences;

const std::string no_group(40, '0');
const std::string default_folder = "0808080808080808080808080808080808080808";

class SimDrGroupTest : public simtest::ChangeTest {
protected:
    const std::string db_data = "\\Virtual Disks\\db_data\\ACTIVE";
    const std::string snap_monday = "\\Virtual Disks\\db_data\\snap_monday";
    const std::string ledger = "\\Virtual Disks\\Finance\\ledger\\ACTIVE";
    const std::string orders = "\\Virtual Disks\\orders\\ACTIVE";

    std::string puma() { return model.find_system_by_name("Puma")->self.id; }
    std::string vdisk(const std::string& name, const std::string& system = "Cheetah") { return id_of("Storage", name, system); }
    std::string group(const std::string& name, const std::string& system = "Cheetah") { return id_of("drmgroup", name, system); }

    // createobject with the ten sentences in the order the command side writes them.
    Sentences creation(const std::string& name, const std::string& member, const std::string& copy_name = "",
                       const std::string& disk_group = no_group, const std::string& comments = "") {
        return {{"scellid", cheetah},       {"objectid", default_folder}, {"objecttype", "drmgroup"},
                {"objectname", name},       {"destscellid", puma()},       {"virtualdiskid", vdisk(member)},
                {"remotevirtualdiskname", copy_name}, {"destdiskgroupid", disk_group}, {"drmmode", "source"},
                {"drcomments", comments}};
    }
    // The Set of a member virtual disk that adds it to a group or takes it out.
    Sentences add_member(const std::string& member, const std::string& group_name, const std::string& copy_name = "") {
        Sentences s = {{"ID", vdisk(member)}, {"destdiskgroupid", no_group}, {"addtogroupid", group(group_name)}};
        if (!copy_name.empty()) s.push_back({"remotevirtualdiskname", copy_name});
        return s;
    }

    // A member and its copy point at each other, with their roles.
    void expect_pair(const std::string& member, const std::string& copy, const std::string& source_role = "source") {
        SCOPED_TRACE(member + " / " + copy);
        Reading m = read("Storage", member);
        Reading c = read("Storage", copy, "Puma");
        EXPECT_EQ(value(m, "drmmode"), source_role);
        EXPECT_EQ(value(c, "drmmode"), source_role == "source" ? "destination" : "source");
        EXPECT_EQ(value(m, "remotescellid"), puma());
        EXPECT_EQ(value(m, "remotevirtualdiskid"), vdisk(copy, "Puma"));
        EXPECT_EQ(value(c, "remotescellid"), cheetah);
        EXPECT_EQ(value(c, "remotevirtualdiskid"), vdisk(member));
    }
    void expect_unlinked(const std::string& name, const std::string& system) {
        SCOPED_TRACE(name);
        Reading r = read("Storage", name, system);
        EXPECT_EQ(value(r, "drmmode"), "");
        EXPECT_EQ(r.find("remotescellid"), nullptr);
        EXPECT_EQ(r.find("remotevirtualdiskid"), nullptr);
    }
    // The names a group read lists, itself first and then its members.
    std::vector<std::string> group_names(const std::string& name, const std::string& system = "Cheetah") {
        Reading r = read("drmgroup", name, system);
        std::vector<std::string> out;
        for (int n = 1; r.find("objectname", n) != nullptr; ++n) out.push_back(*r.find("objectname", n));
        return out;
    }
};

TEST_F(SimDrGroupTest, CreateMakesTheGroupOnBothSystemsAndTheMembersCopyOnTheDestination) {
    Reading created = send_v3("createobject", creation("DRG_Db", db_data, "", no_group, "Database replica"));
    ASSERT_TRUE(succeeded(created));
    EXPECT_EQ(value(created, "objectid"), group("DRG_Db"));

    Reading g = read("drmgroup", "DRG_Db");
    EXPECT_EQ(value(g, "objectname", 1), "DRG_Db");
    EXPECT_EQ(value(g, "objectid", 1), group("DRG_Db"));
    EXPECT_EQ(value(g, "objectname", 2), db_data);
    EXPECT_EQ(value(g, "objectid", 2), vdisk(db_data));
    EXPECT_EQ(g.find("objectname", 3), nullptr);
    EXPECT_EQ(value(g, "scellid"), puma());
    EXPECT_EQ(value(g, "scellname"), "Puma");
    EXPECT_EQ(value(g, "drmmode"), "source");
    EXPECT_EQ(value(g, "accessmode"), "disable");
    EXPECT_EQ(value(g, "writemode"), "synchronous");
    EXPECT_EQ(value(g, "suspendstate"), "resume");
    EXPECT_EQ(value(g, "failsafe"), "disabled");
    EXPECT_EQ(value(g, "comments"), "Database replica");

    // The destination's half: same name, the other role, the copy as member.
    Reading d = read("drmgroup", "DRG_Db", "Puma");
    EXPECT_EQ(value(d, "drmmode"), "destination");
    EXPECT_EQ(value(d, "scellname"), "Cheetah");
    EXPECT_EQ(value(d, "objectname", 2), db_data);
    EXPECT_EQ(value(d, "objectid", 2), vdisk(db_data, "Puma"));
    EXPECT_EQ(value(d, "comments"), "Database replica");

    expect_pair(db_data, db_data);
    Reading copy = read("Storage", db_data, "Puma");
    EXPECT_EQ(value(copy, "Disk_Group"), "\\Disk Groups\\Default Disk Group");
    EXPECT_EQ(value(copy, "Capacity_Req"), "10 GB");
    EXPECT_EQ(value(copy, "Redundancy"), "VRAID5");
    EXPECT_EQ(value(copy, "Write_Protect"), "Yes");
    EXPECT_NE(value(copy, "World_Wide_LUN_Name"), value(read("Storage", db_data), "World_Wide_LUN_Name"));

    // A name for the copy and a disk group of the destination.
    const std::string puma_default = id_of("DiskGroup", "\\Disk Groups\\Default Disk Group", "Puma");
    ASSERT_TRUE(succeeded(send_v3("createobject", creation("DRG_Ledger", ledger, "ledger_copy", puma_default))));
    expect_pair(ledger, "\\Virtual Disks\\ledger_copy\\ACTIVE");
    EXPECT_EQ(value(read("Storage", "\\Virtual Disks\\ledger_copy\\ACTIVE", "Puma"), "Redundancy"), "VRAID1");
    EXPECT_EQ(names("drmgroup", "Puma"), (std::vector<std::string>{"DRG_Orders", "DRG_Db", "DRG_Ledger"}));
}

TEST_F(SimDrGroupTest, EachPropertyIsReadBackOnBothSides) {
    struct Case {
        std::string sentence, value, shown_as, shown;
    } cases[] = {
        {"accessmode", "disable", "accessmode", "disable"},      {"accessmode", "readonly", "accessmode", "readonly"},
        {"writemode", "asynchronous", "writemode", "asynchronous"}, {"writemode", "synchronous", "writemode", "synchronous"},
        {"failsafe", "enable", "failsafe", "enabled"},           {"failsafe", "disable", "failsafe", "disabled"},
        {"suspend", "suspend", "suspendstate", "suspend"},       {"suspend", "resume", "suspendstate", "resume"},
        {"drcomments", "Moved to tape", "comments", "Moved to tape"}, {"drcomments", "", "comments", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sentence + "=" + c.value);
        ASSERT_TRUE(succeeded(send_v3("setproperties", {{"objectid", group("DRG_Orders")}, {c.sentence, c.value}})));
        EXPECT_EQ(value(read("drmgroup", "DRG_Orders"), c.shown_as), c.shown);
        EXPECT_EQ(value(read("drmgroup", "DRG_Orders", "Puma"), c.shown_as), c.shown);
    }

    // A new name renames both halves; from the destination side too.
    ASSERT_TRUE(succeeded(send_v3("setproperties", {{"objectid", group("DRG_Orders")}, {"objectname", "DRG_Sales"}})));
    EXPECT_EQ(group_names("DRG_Sales"), (std::vector<std::string>{"DRG_Sales", orders}));
    EXPECT_EQ(group_names("DRG_Sales", "Puma"), (std::vector<std::string>{"DRG_Sales", orders}));
    ASSERT_TRUE(succeeded(send_v3("setproperties", {{"scellid", puma()}, {"objectid", group("DRG_Sales", "Puma")},
                                                    {"suspend", "suspend"}})));
    EXPECT_EQ(value(read("drmgroup", "DRG_Sales"), "suspendstate"), "suspend");

    // A failover swaps the roles of the groups and their members, and back.
    ASSERT_TRUE(succeeded(send_v3("setproperties", {{"objectid", group("DRG_Sales")}, {"sitefailover", ""}})));
    EXPECT_EQ(value(read("drmgroup", "DRG_Sales"), "drmmode"), "destination");
    EXPECT_EQ(value(read("drmgroup", "DRG_Sales", "Puma"), "drmmode"), "source");
    expect_pair(orders, orders, "destination");
    ASSERT_TRUE(succeeded(send_v3("setproperties", {{"scellid", puma()}, {"objectid", group("DRG_Sales", "Puma")},
                                                    {"sitefailover", ""}})));
    expect_pair(orders, orders);
}

TEST_F(SimDrGroupTest, MembersAreAddedDetachedAndDeletedThroughTheirSet) {
    ASSERT_TRUE(succeeded(send("Set", "Storage", add_member(ledger, "DRG_Orders", "\\Virtual Disks\\ledger_dr"))));
    ASSERT_TRUE(succeeded(send("Set", "Storage", add_member(db_data, "DRG_Orders"))));
    EXPECT_EQ(group_names("DRG_Orders"), (std::vector<std::string>{"DRG_Orders", orders, ledger, db_data}));
    EXPECT_EQ(group_names("DRG_Orders", "Puma"),
              (std::vector<std::string>{"DRG_Orders", orders, "\\Virtual Disks\\ledger_dr\\ACTIVE", db_data}));
    expect_pair(ledger, "\\Virtual Disks\\ledger_dr\\ACTIVE");
    expect_pair(db_data, db_data);

    // Detached: the copy stays on the destination as a disk of its own.
    ASSERT_TRUE(succeeded(send("Set", "Storage", {{"ID", vdisk(orders)}, {"removefromdrgroup", "detach"}})));
    expect_unlinked(orders, "Cheetah");
    expect_unlinked(orders, "Puma");
    // Deleted: the copy is gone.
    ASSERT_TRUE(succeeded(send("Set", "Storage", {{"ID", vdisk(ledger)}, {"removefromdrgroup", "delete"}})));
    expect_unlinked(ledger, "Cheetah");
    EXPECT_FALSE(listed("Storage", "\\Virtual Disks\\ledger_dr\\ACTIVE", "Puma"));
    EXPECT_EQ(group_names("DRG_Orders"), (std::vector<std::string>{"DRG_Orders", db_data}));
    EXPECT_EQ(group_names("DRG_Orders", "Puma"), (std::vector<std::string>{"DRG_Orders", db_data}));
    expect_pair(db_data, db_data);

    // With no members left the group can go, both halves of it.
    ASSERT_TRUE(succeeded(send("Set", "Storage", {{"ID", vdisk(db_data)}, {"removefromdrgroup", "delete"}})));
    ASSERT_TRUE(succeeded(send_v3("deleteobject", {{"objectid", group("DRG_Orders")}})));
    EXPECT_TRUE(names("drmgroup").empty());
    EXPECT_TRUE(names("drmgroup", "Puma").empty());
    EXPECT_TRUE(listed("Storage", orders, "Puma"));
}

TEST_F(SimDrGroupTest, RefusalsChangeNothing) {
    // A disk too big for the destination's free space, and a host on Puma
    // that sees the copy of orders.
    ASSERT_TRUE(succeeded(send("Create", "Storage", {{"Name", "big"}, {"Size", "1200"}, {"RedundType", "NONE"}})));
    ASSERT_TRUE(succeeded(send("Create", "StorageClient", {{"ElementID", puma()}, {"Name", "dr01"}})));
    ASSERT_TRUE(succeeded(send("Create", "PresentedUnit",
                               {{"ElementID", puma()}, {"LUN", "1"}, {"StorageClientID", id_of("StorageClient", "\\Hosts\\dr01", "Puma")},
                                {"StorageID", vdisk(orders, "Puma")}})));
    const std::string big = "\\Virtual Disks\\big\\ACTIVE";
    const std::string archive = id_of("DiskGroup", "\\Disk Groups\\Archive");
    const std::string uninitialized = model.find_system_by_name("Uninitialized Storage System")->self.id;
    auto with = [](Sentences s, const std::string& name, const std::string& value) {
        for (auto& [n, v] : s)
            if (n == name) v = value;
        return s;
    };
    const Sentences db = creation("DRG_Db", db_data);
    const std::string orders_group = group("DRG_Orders");
    expect_refused({
        {"name in use", "createobject", "", creation("DRG_Orders", db_data), 20},
        {"forbidden character", "createobject", "", creation("DRG,Db", db_data), 5},
        {"name too long", "createobject", "", creation(std::string(33, 'g'), db_data), 5},
        {"member already in a group", "createobject", "", creation("DRG_Db", orders), 24},
        {"snapshot as member", "createobject", "", creation("DRG_Db", snap_monday), 36},
        {"no such disk", "createobject", "", with(db, "virtualdiskid", "nope"), 7},
        {"unknown folder", "createobject", "", with(db, "objectid", "nope"), 7},
        {"onto its own system", "createobject", "", with(db, "destscellid", cheetah), 36},
        {"uninitialized destination", "createobject", "", with(db, "destscellid", uninitialized), 52},
        {"unknown destination", "createobject", "", with(db, "destscellid", "nope"), 7},
        {"no destination", "createobject", "", with(db, "destscellid", ""), 5},
        {"disk group on the source", "createobject", "", with(db, "destdiskgroupid", archive), 25},
        {"unknown disk group", "createobject", "", with(db, "destdiskgroupid", "nope"), 7},
        {"copy's folder missing there", "createobject", "", with(db, "remotevirtualdiskname", "\\Virtual Disks\\Finance\\db"), 7},
        {"copy's name in use there", "createobject", "", with(db, "remotevirtualdiskname", "orders"), 20},
        {"copy outside the virtual disks", "createobject", "", with(db, "remotevirtualdiskname", "\\Hosts\\db"), 5},
        {"no room there", "createobject", "", creation("DRG_Big", big), 62},
        {"comment of 129", "createobject", "", with(db, "drcomments", std::string(129, 'c')), 5},
        {"drmmode destination", "createobject", "", with(db, "drmmode", "destination"), 5},
        {"uninitialized system", "createobject", "", with(db, "scellid", uninitialized), 52},

        {"access mode", "setproperties", "", {{"objectid", orders_group}, {"accessmode", "readwrite"}}, 5},
        {"failsafe as read", "setproperties", "", {{"objectid", orders_group}, {"failsafe", "enabled"}}, 5},
        {"suspend", "setproperties", "", {{"objectid", orders_group}, {"suspend", "pause"}}, 5},
        {"write mode", "setproperties", "", {{"objectid", orders_group}, {"writemode", "lazy"}}, 5},
        {"comment of 129", "setproperties", "", {{"objectid", orders_group}, {"drcomments", std::string(129, 'c')}}, 5},
        {"new name", "setproperties", "", {{"objectid", orders_group}, {"objectname", "a:b"}}, 5},
        {"unknown group", "setproperties", "", {{"objectid", "nope"}, {"accessmode", "readonly"}}, 7},

        {"group with a member", "deleteobject", "", {{"objectid", orders_group}}, 37},
        {"unknown group", "deleteobject", "", {{"objectid", "nope"}}, 7},

        {"add a member of a group", "Set", "Storage", add_member(orders, "DRG_Orders"), 24},
        {"add a snapshot", "Set", "Storage", add_member(snap_monday, "DRG_Orders"), 36},
        {"add to no group", "Set", "Storage", {{"ID", vdisk(db_data)}, {"addtogroupid", "nope"}}, 7},
        {"add with a source disk group", "Set", "Storage",
         {{"ID", vdisk(db_data)}, {"destdiskgroupid", archive}, {"addtogroupid", orders_group}}, 25},
        {"add too big", "Set", "Storage", add_member(big, "DRG_Orders"), 62},
        {"add on the destination side", "Set", "Storage",
         {{"ElementID", puma()}, {"ID", id_of("Storage", orders, "Puma")}, {"addtogroupid", group("DRG_Orders", "Puma")}}, 36},
        {"remove a disk of no group", "Set", "Storage", {{"ID", vdisk(db_data)}, {"removefromdrgroup", "delete"}}, 36},
        {"remove how", "Set", "Storage", {{"ID", vdisk(orders)}, {"removefromdrgroup", "drop"}}, 5},
        {"remove on the destination side", "Set", "Storage",
         {{"ElementID", puma()}, {"ID", id_of("Storage", orders, "Puma")}, {"removefromdrgroup", "detach"}}, 36},
        {"delete a copy with a LUN", "Set", "Storage", {{"ID", vdisk(orders)}, {"removefromdrgroup", "delete"}}, 30},
        {"add and remove at once", "Set", "Storage",
         {{"ID", vdisk(orders)}, {"addtogroupid", orders_group}, {"removefromdrgroup", "detach"}}, 5},
    });
}

}  // namespace
