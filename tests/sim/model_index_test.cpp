// The model's lookups by identifier and its LUNs of a disk come from an
// index; after every kind of edit they must answer what a walk of the whole
// object list answers.
#include <set>

#include "change_fixture.h"

namespace {

class SimIndexTest : public simtest::ChangeTest {
protected:
    // Compares every lookup with a walk of the list; `gone` are identifiers
    // that no longer exist anywhere.
    void expect_index_agrees(const std::set<std::string>& gone = {}) {
        for (talosim::System& s : model.systems) {
            for (const talosim::Object& o : s.objects) {
                SCOPED_TRACE(o.type + " " + o.name);
                EXPECT_EQ(model.find(s, o.type, o.id), &o);
                EXPECT_EQ(model.find(s, "", o.id), &o);
                EXPECT_EQ(model.find(s, o.type == "Folder" ? "Disk" : "Folder", o.id), nullptr);
                if (o.type != "Storage") continue;
                std::vector<const talosim::Object*> walked;
                for (const talosim::Object& lun : s.objects)
                    if (lun.type == "PresentedUnit" && lun.prop("StorageID") == o.id) walked.push_back(&lun);
                EXPECT_EQ(model.luns_of(s, o.id), walked);
            }
            for (const std::string& id : gone) EXPECT_EQ(model.find(s, "", id), nullptr) << id;
        }
    }
    talosim::System& sys(const std::string& name = "Cheetah") { return *model.find_system_by_name(name); }
};

TEST_F(SimIndexTest, LookupsFollowAddsDeletesRenamesAndDirectEdits) {
    expect_index_agrees();
    const std::string ledger = id_of("Storage", "\\Virtual Disks\\Finance\\ledger\\ACTIVE");

    // Added objects, and a LUN whose links are set after it is added.
    ASSERT_TRUE(succeeded(send("Create", "StorageClient", {{"Name", "app01"}})));
    ASSERT_TRUE(succeeded(send("Create", "PresentedUnit",
                               {{"LUN", "9"}, {"StorageClientID", id_of("StorageClient", "\\Hosts\\app01")}, {"StorageID", ledger}})));
    ASSERT_TRUE(succeeded(send("Copy", "Snapshot", {{"StorageID", ledger}, {"Name", "snap"}})));
    expect_index_agrees();
    EXPECT_EQ(model.luns_of(sys(), ledger).size(), 3u);

    // A deleted LUN near the front moves every later object up the list.
    const std::string first_lun = model.list(sys(), "PresentedUnit").front()->id;
    ASSERT_TRUE(succeeded(send("Delete", "PresentedUnit", {{"ID", first_lun}})));
    expect_index_agrees({first_lun});

    // Renaming a folder renames its disks; their identifiers stay.
    ASSERT_TRUE(succeeded(send("Set", "Folder", {{"ID", id_of("Folder", "\\Virtual Disks\\Finance\\")}, {"Name", "Accounts"}})));
    ASSERT_NE(model.find(sys(), "Storage", ledger), nullptr);
    EXPECT_EQ(model.find(sys(), "Storage", ledger)->name, "\\Virtual Disks\\Accounts\\ledger\\ACTIVE");
    expect_index_agrees({first_lun});

    // Objects put into the list by hand, as scenario loading does.
    sys().objects.push_back({"Folder", model.new_id(), "\\Hosts\\by hand\\", {}, {}});
    expect_index_agrees({first_lun});

    // Uninitializing a system replaces its list with the hardware it keeps.
    std::set<std::string> forgotten{first_lun};
    for (const talosim::Object& o : sys("Puma").objects)
        if (o.type != "Disk" && o.type != "Power" && o.type != "WorldWideNames") forgotten.insert(o.id);
    ASSERT_TRUE(succeeded(send("Delete", "Element", {{"ElementID", sys("Puma").self.id}, {"ID", sys("Puma").self.id}})));
    expect_index_agrees(forgotten);
}

}  // namespace
