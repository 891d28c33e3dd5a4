#include <gtest/gtest.h>

#include <string>

#include "reply_checker.h"
#include "requests.h"
#include "sim_engine.h"
#include "sim_scenario.h"

namespace {

using simtest::legacy_doc;
using simtest::read_reply;
using simtest::v3_doc;

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(talosim::load_scenario(talosim::demo_scenario(), model, error)) << error;
    }
    talosim::System& sys(const std::string& name) { return *model.find_system_by_name(name); }
    simtest::Reading run(const std::string& doc) {
        std::string reply = engine.execute(doc);
        simtest::Reading r = read_reply(reply);
        EXPECT_TRUE(r.ok) << r.error << "\n" << reply;
        return r;
    }
    simtest::Reading get(const std::string& type, const std::string& element, const std::string& id = "") {
        return run(legacy_doc("Get", {{"ID", id}, {"ElementID", element}, {"UserName", "u"}, {"Type", type}}));
    }

    talosim::Model model;
    talosim::Engine engine{model};
};

// The checker must refuse what the client's tokenizer refuses, or the tests
// below would prove nothing.
TEST(ReplyChecker, RefusesWhatTheClientsTokenizerRefuses) {
    const char* refused[] = {
        "<?xml version=\"1.0\"?><SOAP:Envelope></SOAP:Envelope>",     // a declaration reads as an element
        "<SOAP:Envelope><a><b>1</b></a></SOAP:Envelope>",                // nesting in a plain element
        "<SOAP:Envelope><ArrayOfString xsd:type=\"u:string[2,2]\"><Name>a</Name><ID>1</ID></ArrayOfString></SOAP:Envelope>",
        "<SOAP:Envelope><ArrayOfString xsd:type=\"u:string[1,1]\"><Name>a</Name><ID>1</ID></ArrayOfString></SOAP:Envelope>",
        "<SOAP:Envelope><Name>a</ID></SOAP:Envelope>",
        "<SOAP:Envelope><Name>a",
        "<SOAP:Envelope xmlns=\"http://elsewhere/qxapiv3\"><x>1</x></SOAP:Envelope>",  // unknown envelope opening
    };
    for (const char* doc : refused) EXPECT_FALSE(read_reply(doc).ok) << doc;
    simtest::Reading r = read_reply(
        "<SOAP:Envelope><LabelName xsd:type=\"u:string\">Hosts  </LabelName><ArrayOfString xsd:type=\"u:string[2,1]\">"
        "<Name>h</Name><ID>1</ID></ArrayOfString><Empty/><LabelName xsd:type=\"u:string\">Ports</LabelName>"
        "<Category><Port>p</Port></Category></SOAP:Envelope>");
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.array_label, "Hosts");
    EXPECT_EQ(r.rows.size(), 1u);
    EXPECT_EQ(*r.find("Empty"), "");
    EXPECT_EQ(r.items.back().category, "Ports");
}

TEST_F(EngineTest, EveryKindListsAndReadsBackUnderTheElementTable) {
    const std::string cheetah = sys("Cheetah").self.id;
    for (const char* t : {"Disk", "Folder", "StorageClient", "Monitor", "Storage", "PresentedUnit", "DiskGroup",
                          "DiskEvents", "ManagementEvents", "SystemEvents", "TerminationEvents", "WorldWideNames",
                          "Power", "drmgroup"}) {
        SCOPED_TRACE(t);
        simtest::Reading list = get(t, cheetah);
        auto objects = model.list(sys("Cheetah"), t);
        ASSERT_FALSE(objects.empty());
        ASSERT_EQ(list.rows.size(), objects.size());
        EXPECT_FALSE(list.array_label.empty());
        EXPECT_NE(list.find("SuccessMsg"), nullptr);
        EXPECT_EQ(list.find("NotSuccessMsg"), nullptr);
        for (size_t i = 0; i < objects.size(); ++i) {
            ASSERT_EQ(list.rows[i].size(), 2u);
            EXPECT_EQ(list.rows[i][0], std::make_pair(std::string("Name"), objects[i]->name));
            EXPECT_EQ(list.rows[i][1], std::make_pair(std::string("ID"), objects[i]->id));
            simtest::Reading one = get(t, cheetah, objects[i]->id);
            ASSERT_NE(one.find("Name"), nullptr);
            EXPECT_EQ(*one.find("Name"), objects[i]->name);
            EXPECT_EQ(*one.find("ID"), objects[i]->id);
            EXPECT_NE(one.find("SuccessMsg"), nullptr);
        }
    }
    simtest::Reading systems = get("Element", "");
    ASSERT_EQ(systems.rows.size(), 3u);
    EXPECT_EQ(systems.rows[1][0].second, "Cheetah");
}

TEST_F(EngineTest, AnEmptyListHasNoArrayAndStillSucceeds) {
    simtest::Reading r = get("StorageClient", sys("Puma").self.id);
    EXPECT_TRUE(r.rows.empty());
    EXPECT_NE(r.find("SuccessMsg"), nullptr);
}

TEST_F(EngineTest, VirtualDiskReadsCarryTheVocabularyACaptureReadsBack) {
    talosim::Object* vd = model.find_by_name(sys("Cheetah"), "Storage", "\\Virtual Disks\\db_data\\ACTIVE");
    ASSERT_NE(vd, nullptr);
    // The capture reads a virtual disk through the version-3 call.
    std::string reply = engine.execute(
        v3_doc("getproperties", {{"scellid", sys("Cheetah").self.id}, {"objectid", vd->id}, {"objecttype", "virtualdisk"}}));
    EXPECT_NE(reply.find("<version>3.2</version>"), std::string::npos);
    simtest::Reading r = read_reply(reply);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(*r.find("statuscode"), "0");
    EXPECT_FALSE(r.find("statusdescription")->empty());
    EXPECT_EQ(*r.find("Name"), "\\Virtual Disks\\db_data\\ACTIVE");
    EXPECT_EQ(*r.find("Disk_Group"), "\\Disk Groups\\Default Disk Group");
    EXPECT_EQ(*r.find("Capacity_Req"), "10 GB");
    EXPECT_EQ(*r.find("Redundancy"), "VRAID5");
    EXPECT_EQ(*r.find("Write_cache_Policy"), "Mirrored write-back");
    EXPECT_EQ(*r.find("Read_cache_Policy"), "On");
    EXPECT_EQ(*r.find("Write_Protect"), "No");
    EXPECT_EQ(*r.find("Preferred_path"), "Path A-Failover only");
    EXPECT_EQ(*r.find("Lun"), "1");
    EXPECT_EQ(*r.find("StorageClientName"), "\\Hosts\\dbserver1");
    EXPECT_EQ(r.categories, std::vector<std::string>{"Presentations"});

    // A host's ports come back as repeated Port elements in a category.
    talosim::Object* host = model.find_by_name(sys("Cheetah"), "StorageClient", "\\Hosts\\dbserver1");
    simtest::Reading h = get("StorageClient", sys("Cheetah").self.id, host->id);
    EXPECT_EQ(h.count("Port"), 2);
    EXPECT_EQ(*h.find("Operating_system"), "WINDOWS");
    EXPECT_EQ(*h.find("IPAddress"), "Dynamic IP Assignment");
}

TEST_F(EngineTest, DrGroupReadNamesTheGroupFirstAndTheDestinationSystem) {
    talosim::Object* group = model.find_by_name(sys("Cheetah"), "drmgroup", "DRG_Orders");
    ASSERT_NE(group, nullptr);
    simtest::Reading r = run(
        v3_doc("getproperties", {{"scellid", sys("Cheetah").self.id}, {"objectid", group->id}, {"objecttype", "drmgroup"}}));
    EXPECT_EQ(*r.find("objectname", 1), "DRG_Orders");
    EXPECT_EQ(*r.find("objectname", 2), "\\Virtual Disks\\orders\\ACTIVE");
    EXPECT_EQ(*r.find("objectid", 1), group->id);
    EXPECT_EQ(*r.find("scellid", 1), sys("Puma").self.id);
    EXPECT_EQ(*r.find("scellname", 1), "Puma");
    EXPECT_EQ(*r.find("drmmode"), "source");
    EXPECT_EQ(*r.find("accessmode"), "readonly");

    // The member's own read leads to its remote copy.
    simtest::Reading member = run(v3_doc(
        "getproperties", {{"scellid", sys("Cheetah").self.id}, {"objectid", *r.find("objectid", 2)}, {"objecttype", "virtualdisk"}}));
    EXPECT_EQ(*member.find("remotescellid"), sys("Puma").self.id);
    const talosim::Object* remote = model.find(sys("Puma"), "Storage", *member.find("remotevirtualdiskid"));
    ASSERT_NE(remote, nullptr);
    EXPECT_EQ(remote->prop("drmmode"), "destination");
}

TEST_F(EngineTest, FailedReadsCarryAFailureMessageWithItsNumber) {
    struct Case {
        std::string doc;
        bool v3;
    } cases[] = {
        {legacy_doc("Get", {{"ID", "nope"}, {"ElementID", sys("Cheetah").self.id}, {"Type", "Storage"}}), false},
        {legacy_doc("Get", {{"ID", ""}, {"ElementID", "nope"}, {"Type", "Storage"}}), false},
        {legacy_doc("Get", {{"ID", ""}, {"ElementID", sys("Cheetah").self.id}, {"Type", "Bogus"}}), false},
        {legacy_doc("Frobnicate", {{"Type", "Storage"}}), false},
        {"<SOAP:Envelope xmlns:SOAP=\"urn:schemas-xmlsoap-org:soap.v1\"><m:Get xmlns:m=\"FENN-URI\"><Type>", false},
        {v3_doc("getproperties", {{"scellid", sys("Cheetah").self.id}, {"objectid", "nope"}, {"objecttype", "virtualdisk"}}), true},
        {v3_doc("createobject", {{"objecttype", "drmgroup"}}), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.doc);
        simtest::Reading r = run(c.doc);
        ASSERT_NE(r.find("NotSuccessMsg"), nullptr);
        EXPECT_EQ(r.find("SuccessMsg"), nullptr);
        ASSERT_NE(r.find("MessageNum"), nullptr);
        EXPECT_GT(std::stoi(*r.find("MessageNum")), 0);
        if (c.v3) {
            EXPECT_EQ(*r.find("statuscode"), *r.find("MessageNum"));
        }
    }
}

TEST_F(EngineTest, AddSystemInitializesTheUninitializedSystem) {
    talosim::System& target = sys("Uninitialized Storage System");
    const std::string id = target.self.id;
    auto create = [&](simtest::Sentences extra) {
        extra.insert(extra.begin(), {{"ID", id}, {"Type", "Element"}});
        return run(legacy_doc("Create", extra));
    };
    simtest::Reading too_few = create({{"Name", "Lynx"}, {"DeviceCount", "7"}});
    EXPECT_NE(too_few.find("NotSuccessMsg"), nullptr);
    EXPECT_NE(create({{"Name", "Puma"}}).find("NotSuccessMsg"), nullptr);      // name in use
    EXPECT_NE(create({{"Name", "Ly,nx"}}).find("NotSuccessMsg"), nullptr);     // forbidden character
    EXPECT_NE(create({{"DeviceCount", "8"}}).find("NotSuccessMsg"), nullptr);  // no name
    EXPECT_FALSE(target.initialized);

    simtest::Reading ok = create({{"Name", "Lynx"}, {"comments", "new"}, {"RavenID", "7"}, {"DeviceCount", "10"},
                                  {"scdisktype", "Near-Online"}, {"SparePolicy", "Double"}});
    ASSERT_NE(ok.find("SuccessMsg"), nullptr);
    EXPECT_EQ(ok.find("NotSuccessMsg"), nullptr);
    EXPECT_TRUE(target.initialized);
    EXPECT_EQ(target.self.name, "Lynx");
    EXPECT_EQ(target.self.prop("Console_LUN_ID"), "7");

    simtest::Reading groups = get("DiskGroup", id);
    ASSERT_EQ(groups.rows.size(), 1u);
    EXPECT_EQ(groups.rows[0][0].second, "\\Disk Groups\\Default Disk Group");
    simtest::Reading group = get("DiskGroup", id, groups.rows[0][1].second);
    EXPECT_EQ(*group.find("Total_Disks"), "10");
    EXPECT_EQ(*group.find("Disk_Failure_Protection_Level"), "Double");
    EXPECT_EQ(*group.find("DiskGroup_DiskType"), "Near-Online");
    EXPECT_EQ(*group.find("Total_Capacity"), "1460 GB");  // ten disks of 146 GB
    int grouped = 0, ungrouped = 0;
    for (const auto& row : get("Disk", id).rows) {
        grouped += row[0].second.rfind("\\Disk Groups\\Default Disk Group\\Disk ", 0) == 0;
        ungrouped += row[0].second.rfind("\\Disk Groups\\Ungrouped Disks\\Disk ", 0) == 0;
    }
    EXPECT_EQ(grouped, 10);
    EXPECT_EQ(ungrouped, 2);
    simtest::Reading folders = get("Folder", id);
    ASSERT_EQ(folders.rows.size(), 3u);
    EXPECT_EQ(folders.rows[0][0].second, "\\Virtual Disks\\");
    EXPECT_EQ(get("Power", id).rows.size(), 2u);

    EXPECT_NE(create({{"Name", "Again"}}).find("NotSuccessMsg"), nullptr);  // already initialized
}

TEST_F(EngineTest, SetAndDeleteSystem) {
    const std::string id = sys("Puma").self.id;
    auto set = [&](simtest::Sentences extra) {
        extra.insert(extra.begin(), {{"ID", id}, {"Type", "Element"}});
        return run(legacy_doc("Set", extra));
    };
    EXPECT_NE(set({{"Name", "Cheetah"}}).find("NotSuccessMsg"), nullptr);
    EXPECT_NE(set({{"RavenID", "32768"}}).find("NotSuccessMsg"), nullptr);
    EXPECT_NE(set({{"Name", std::string(33, 'x')}}).find("NotSuccessMsg"), nullptr);
    ASSERT_NE(set({{"Name", "Jaguar"}, {"comments", "renamed"}}).find("SuccessMsg"), nullptr);
    EXPECT_EQ(sys("Jaguar").self.prop("Comments"), "renamed");
    ASSERT_NE(set({}).find("SuccessMsg"), nullptr);  // a set naming no property changes nothing

    simtest::Reading del = run(legacy_doc("Delete", {{"ID", id}, {"Type", "Element"}}));
    ASSERT_NE(del.find("SuccessMsg"), nullptr);
    talosim::System* s = model.find_system(id);
    EXPECT_FALSE(s->initialized);
    EXPECT_TRUE(get("Storage", id).rows.empty());
    EXPECT_EQ(get("Disk", id).rows.size(), 8u);  // the hardware stays, ungrouped
    EXPECT_NE(get("Disk", id).rows[0][0].second.find("Ungrouped Disks"), std::string::npos);
    // The source side of the DR group has lost its partner.
    simtest::Reading group = run(v3_doc("getproperties", {{"scellid", sys("Cheetah").self.id},
                                                          {"objectid", model.find_by_name(sys("Cheetah"), "drmgroup", "DRG_Orders")->id},
                                                          {"objecttype", "drmgroup"}}));
    EXPECT_EQ(group.find("scellid"), nullptr);
    EXPECT_NE(run(legacy_doc("Delete", {{"ID", id}, {"Type", "Element"}})).find("NotSuccessMsg"), nullptr);
}

TEST_F(EngineTest, ManagerDiagnosticsAnswerWhatTheClientExtracts) {
    const std::string cheetah = sys("Cheetah").self.id;
    std::string version = engine.execute(v3_doc("getsysteminfo", {}));
    EXPECT_NE(version.find("<emversion>SIM-4.0.0</emversion>"), std::string::npos);
    EXPECT_NE(version.find("<embuild>"), std::string::npos);

    std::string list = engine.execute(v3_doc("getobjectlist", {{"scellid", cheetah}, {"objecttype", "disk"}}));
    size_t objects = 0;
    for (size_t p = list.find("<objectid>"); p != std::string::npos; p = list.find("<objectid>", p + 1)) {
        ++objects;
        size_t name = list.find("<objectname>", p);
        size_t uid = list.find("<objecthexuid>", name);
        ASSERT_NE(uid, std::string::npos);
    }
    EXPECT_EQ(objects, model.list(sys("Cheetah"), "Disk").size());

    const std::string disk = model.list(sys("Cheetah"), "Disk")[0]->id;
    EXPECT_TRUE(read_reply(engine.execute(v3_doc("startdiskexercise", {{"scellid", cheetah}, {"diskid", disk}}))).ok);
    EXPECT_NE(engine.execute(v3_doc("diskexercisesummary", {{"scellid", cheetah}})).find("Disks under test: 1;"),
              std::string::npos);
    EXPECT_NE(engine.execute(v3_doc("startdiskexercise", {{"scellid", cheetah}, {"diskid", "nope"}})).find("<statuscode>7<"),
              std::string::npos);
    engine.execute(v3_doc("stopdiskexercise", {{"scellid", cheetah}}));
    EXPECT_NE(engine.execute(v3_doc("diskexercisesummary", {{"scellid", cheetah}})).find("Disks under test: 0;"),
              std::string::npos);

    std::string file = engine.execute(legacy_doc("Get", {{"ID", ""}, {"ElementID", cheetah}, {"Type", "file"}, {"Filename", "trace.log"}}));
    EXPECT_NE(file.find("<m:GetResponse xmlns:m=\"FENN-URI\">\nSimulated file trace.log"), std::string::npos);
    EXPECT_NE(file.find("</m:GetResponse>"), std::string::npos);
}

TEST_F(EngineTest, ChangeHandlersCanBeAddedPerOperationAndType) {
    engine.on("Create", "Folder", [](talosim::Model&, const talosim::Request& req, talosim::System* s) {
        return s ? talosim::Outcome::done("made " + req.get("Name")) : talosim::Outcome::fail("no system", 7);
    });
    simtest::Reading r = run(legacy_doc("Create", {{"ElementID", sys("Cheetah").self.id}, {"Name", "x"}, {"Type", "Folder"}}));
    EXPECT_EQ(*r.find("SuccessMsg"), "made x");
}

}  // namespace
