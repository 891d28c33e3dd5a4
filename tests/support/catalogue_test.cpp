#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "corvane_catalogue.h"
#include "corvane_generic.h"
#include "corvane_kinds.h"
#include "corvane_memory.h"
#include "corvane_object.h"
#include "fake_manager.h"
#include "session_fixture.h"

namespace {

class CatalogueTest : public SessionTest {
protected:
    void SetUp() override {
        SessionTest::SetUp();
        s = pb->state;
        s->manager_name = ss_copy_string("array:12301");
        s->user_name = ss_copy_string("admin");
        s->user_password = ss_copy_string("secret");
        s->cell_name = ss_copy_string("Cheetah");
        s->cell_id = ss_copy_string("C1");
        s->label_path = ss_copy_string("");
    }
    std::vector<std::string> names(int kind) {
        std::vector<std::string> result;
        for (_object_info* e = s->object_list; e; e = e->next)
            if (e->kind == kind) result.push_back(e->name);
        return result;
    }
    void name(const char* object) {
        ss_deallocate_mem(s->object_name, "t", 1);
        s->object_name = object ? ss_copy_string(object) : nullptr;
    }

    session_state* s = nullptr;
    FakeManager server;
};

TEST_F(CatalogueTest, DuplicateNamesGetNumberedSuffixes) {
    server.reply(list_reply("Vdisks", {{"a", "1"}, {"b", "2"}, {"a", "3"}, {"a", "4"}, {"A", "5"}, {"b", "6"},
                                       {"a{1}", "7"}, {"a", "8"}}));
    ASSERT_EQ(ss_object_update(pb, kind_vdisk), 0);
    // The counter runs across the kind; a suffixed name that meets a later
    // equal name is suffixed again; case matters.
    EXPECT_EQ(names(kind_vdisk), (std::vector<std::string>{"a", "b", "a{1}", "a{2}", "A", "b{3}", "a{1}{4}",
                                                           "a{5}"}));
}

TEST_F(CatalogueTest, DuplicateRuleMatchesTheListWalk) {
    // "a{1}" first, then two "a": the second "a" is renamed to "a{1}" after the
    // walk has passed the first entry, so it is not renamed again.
    server.reply(list_reply("Hosts", {{"a{1}", "1"}, {"a", "2"}, {"a", "3"}}));
    ASSERT_EQ(ss_object_update(pb, kind_host), 0);
    EXPECT_EQ(names(kind_host), (std::vector<std::string>{"a{1}", "a", "a{1}"}));
}

TEST_F(CatalogueTest, RefreshReplacesOnlyItsKindAndLookupsStayInKind) {
    server.reply(list_reply("Hosts", {{"h1", "H1"}, {"same", "H2"}}));
    server.reply(list_reply("Vdisks", {{"same", "V1"}}));
    server.reply(list_reply("Hosts", {{"h3", "H3"}}));
    ASSERT_EQ(ss_object_update(pb, kind_host), 0);
    ASSERT_EQ(ss_object_update(pb, kind_vdisk), 0);
    EXPECT_STREQ(ss_find_object_id(pb, kind_vdisk, "same")->id, "V1");
    EXPECT_EQ(ss_find_object_id(pb, kind_folder, "same"), nullptr);
    ASSERT_EQ(ss_object_update(pb, kind_host), 0);
    EXPECT_EQ(names(kind_host), (std::vector<std::string>{"h3"}));
    EXPECT_EQ(names(kind_vdisk), (std::vector<std::string>{"same"}));
    EXPECT_EQ(ss_find_object_id_error(pb, kind_host, "h1"), nullptr);
    EXPECT_EQ(output(), "\nError: h1 not found");
}

TEST_F(CatalogueTest, ListRequestsAndGuards) {
    server.reply(list_reply("Hosts", {}));
    ASSERT_EQ(ss_object_update(pb, kind_host), 0);
    const std::string& request = server.requests.back();
    EXPECT_NE(request.find("<ID xsd:type=\"string\"></ID>\n<ElementID xsd:type=\"string\">C1</ElementID>\n"
                           "<UserPassword xsd:type=\"string\">secret</UserPassword>\n"
                           "<UserName xsd:type=\"string\">admin</UserName>\n"
                           "<Type xsd:type=\"string\">StorageClient</Type>\n"),
              std::string::npos)
        << request;

    ss_deallocate_mem(s->cell_id, "t", 1);
    s->cell_id = nullptr;
    EXPECT_EQ(ss_object_update(pb, kind_host), 1);
    EXPECT_EQ(output(), "\nError: Command not valid until a system is selected (SELECT SYSTEM)");
    ss_deallocate_mem(s->manager_name, "t", 1);
    s->manager_name = nullptr;
    EXPECT_EQ(ss_object_update(pb, kind_host), 1);
    EXPECT_EQ(output(), "\nError: Command not valid until a manager is selected (SELECT MANAGER)");
    EXPECT_EQ(server.requests.size(), 1u);
}

TEST_F(CatalogueTest, RowWithoutIdentifierIsReported) {
    server.reply(legacy_reply("<LabelName xsd:type=\"u:string\">Disks</LabelName>\n"
                              "<ArrayOfString xsd:type=\"u:string[1,2]\">\n<Name>d1</Name>\n<Name>d2</Name>\n"
                              "</ArrayOfString>\n"));
    EXPECT_EQ(ss_object_update(pb, kind_disk), 1);
    EXPECT_EQ(output(), "\nError: Name \"Name\" and/or Id \"ID\" not found in token list"
                        "\n  Disks [0]:\n                        Name : d1\n  Disks [1]:\n"
                        "                        Name : d2");
}

TEST_F(CatalogueTest, GenericShow) {
    server.reply(list_reply("Vdisks", {}));
    EXPECT_EQ(ss_generic_show(pb, kind_vdisk), 0);
    EXPECT_EQ(output(), "\nVdisks available on this Cell:\n  No Vdisks found");

    server.reply(list_reply("Systems", {{"Cheetah", "C1"}, {"Puma", "C2"}}));
    EXPECT_EQ(ss_generic_show(pb, kind_system), 0);
    EXPECT_EQ(output(), "\nSystems available on this Manager:\n  Cheetah\n  Puma");

    name("Puma");
    server.reply(list_reply("Systems", {{"Cheetah", "C1"}, {"Puma", "C2"}}));
    server.reply(legacy_reply("<Name>Puma</Name>\n<SuccessMsg>ok</SuccessMsg>\n"));
    EXPECT_EQ(ss_generic_show(pb, kind_system), 0);
    EXPECT_EQ(output(), "\nPuma information:\n                      Name : Puma\n                SuccessMsg : ok");
    EXPECT_NE(server.requests.back().find("<ID xsd:type=\"string\">C2</ID>"), std::string::npos);

    name("Lynx");
    server.reply(list_reply("Systems", {{"Cheetah", "C1"}}));
    EXPECT_EQ(ss_generic_show(pb, kind_system), 1);
    EXPECT_EQ(output(), "\nError: Lynx not found");
}

TEST_F(CatalogueTest, FullListingShowsEveryObject) {
    s->command_flags |= show_full;
    server.reply(list_reply("Hosts", {{"h1", "H1"}, {"h2", "H2"}}));
    server.reply(legacy_reply("<Name>h1</Name>\n"));
    server.reply(legacy_reply("<Name>h2</Name>\n"));
    EXPECT_EQ(ss_generic_show(pb, kind_host), 0);
    EXPECT_EQ(output(), "\nHosts available on this Cell:\nh1 information:\n                      Name : h1\n"
                        "\nh2 information:\n                      Name : h2");

    server.reply(list_reply("Hosts", {{"h1", "H1"}}));
    server.reply(failure_reply("Object is gone"));
    EXPECT_EQ(ss_generic_show(pb, kind_host), 1);  // a failed full listing fails the command
    EXPECT_EQ(output(), "\nHosts available on this Cell:\nError: Object is gone");
}

TEST_F(CatalogueTest, VdiskReadsByIdentifierUseTheVersion3Form) {
    server.reply("<SOAP:Envelope><Name>v</Name></SOAP:Envelope>");
    ASSERT_EQ(ss_get_object(pb, kind_vdisk, "V9"), 0);
    const std::string& request = server.requests.back();
    EXPECT_NE(request.find("<getproperties>\n<scellid>C1</scellid>\n<objectid>V9</objectid>\n"
                           "<objecttype>virtualdisk</objecttype>\n</getproperties>\n"),
              std::string::npos)
        << request;
}

struct DeleteCase {
    const char* name;
    uint8_t safe;
    int source;
    const char* answer;
    int result;
    bool sent;
    const char* printed;
};

class DeleteSafetyTest : public CatalogueTest, public ::testing::WithParamInterface<DeleteCase> {};

const char system_warning[] =
    "\nThis command will destroy all customer data and delete all configuration\n"
    "information (GROUPS, STORAGE, HOSTS and LUNs) on this cell!"
    "\n\nAre you sure you wish to execute this command?\nIf so, type \"Yes\" (Note: case sensititve) ";

TEST_P(DeleteSafetyTest, SystemWithVdisks) {
    const DeleteCase& c = GetParam();
    safe_delete = c.safe;
    input_source = c.source;
    set_input(c.answer);
    name("Cheetah");
    server.reply(list_reply("Systems", {{"Cheetah", "C1"}}));
    server.reply(list_reply("Vdisks", {{"v1", "V1"}}));
    server.reply(success_reply());
    EXPECT_EQ(ss_delete_object(pb, kind_system), c.result);
    EXPECT_EQ(output(), c.printed);
    EXPECT_EQ(server.requests.size(), c.sent ? 3u : 2u);
    if (c.sent) {
        EXPECT_NE(server.requests.back().find("SOAP Action:\"Delete\""), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DeleteSafetyTest,
    ::testing::Values(
        DeleteCase{"SafeDeleteRefuses", 1, input_keyboard, "Yes\n", 1, false,
                   "\nError: Cannot delete system when Vdisks are still present.\n"
                   "       Delete all storage on this cell first"},
        DeleteCase{"KeyboardConfirms", 0, input_keyboard, "Yes\n", 0, true, system_warning},
        DeleteCase{"KeyboardRefuses", 0, input_keyboard, "yes\n", 1, false,
                   "\nThis command will destroy all customer data and delete all configuration\n"
                   "information (GROUPS, STORAGE, HOSTS and LUNs) on this cell!"
                   "\n\nAre you sure you wish to execute this command?\nIf so, type \"Yes\" (Note: case sensititve) "
                   "\nCommand aborted\n"},
        DeleteCase{"FileDoesNotAsk", 0, input_command_file, "", 0, true, ""},
        DeleteCase{"InvocationLineDoesNotAsk", 0, input_invoke_line, "", 0, true, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CatalogueTest, VdiskWithLunsAndDrGroupForms) {
    name("v1");
    server.reply(list_reply("Vdisks", {{"v1", "V1"}}));
    server.reply("<SOAP:Envelope><Lun>1</Lun></SOAP:Envelope>");
    EXPECT_EQ(ss_delete_object(pb, kind_vdisk), 1);
    EXPECT_EQ(output(), "\nError: Cannot delete Vdisks when LUNs are still present.\n"
                        "       Delete all LUNS associated with this STORAGE first");

    server.reply(list_reply("Vdisks", {{"v1", "V1"}}));
    server.reply("<SOAP:Envelope><Lun></Lun></SOAP:Envelope>");  // an empty Lun does not count
    server.reply(success_reply());
    EXPECT_EQ(ss_delete_object(pb, kind_vdisk), 0);

    name("drg");
    server.reply(list_reply("DR_Groups", {{"drg", "D1"}}));
    server.reply(success_reply());
    EXPECT_EQ(ss_delete_object(pb, kind_dr_group), 0);
    EXPECT_NE(server.requests.back().find("<deleteobject>\n<scellid>C1</scellid>\n<objectid>D1</objectid>\n"
                                          "<objecttype>drmgroup</objecttype>\n</deleteobject>"),
              std::string::npos)
        << server.requests.back();

    name(nullptr);
    EXPECT_EQ(ss_set_object(pb, kind_host), 1);
    EXPECT_EQ(output(), "\nError: Incomplete command");
}

}  // namespace

namespace {

// An empty list says how the read went; a reply with neither rows nor an
// outcome is not an empty list, and the command fails instead of showing
// "No ... found".
TEST_F(CatalogueTest, ListWithoutRowsOrOutcomeFails) {
    server.reply(list_reply("Hosts", {}));
    EXPECT_EQ(ss_generic_show(pb, kind_host), 0);
    EXPECT_EQ(output(), "\nHosts available on this Cell:\n  No Hosts found");

    server.reply(legacy_reply("<LabelName xsd:type=\"u:string\">Hosts</LabelName>\n<Other>x</Other>\n"));
    EXPECT_EQ(ss_generic_show(pb, kind_host), 1);
    EXPECT_EQ(output(), "\nError: The server's reply holds none of the elements this command reads");
}

}  // namespace

namespace {

// An object with an empty name ends the program; the reply being read is
// released first (under the sanitizers, a leak would change the status).
TEST_F(CatalogueTest, EmptyObjectNameEndsTheProgramWithoutLeaks) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            server.reply(list_reply("Hosts", {{"h1", "1"}, {"", "2"}}));
            set_input("\n");
            ss_object_update(pb, kind_host);
        },
        testing::ExitedWithCode(1), "");
}

}  // namespace
