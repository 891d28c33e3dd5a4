// Request text as the server receives it: sentence order, both envelope
// forms, the length field and the buffer limit.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "corvane_envelope.h"
#include "corvane_memory.h"
#include "corvane_sentence.h"
#include "session_fixture.h"

namespace {

class EnvelopeTest : public SessionTest {
protected:
    void SetUp() override {
        SessionTest::SetUp();
        pb->state->manager_name = ss_copy_string("array01:12301");
        pb->state->user_name = ss_copy_string("admin");
        pb->state->user_password = ss_copy_string("secret");
    }

    std::string request() const { return std::string(pb->state->soap_buffer, pb->state->soap_length); }

    std::string legacy(const char* operation, const char* type) {
        ss_soap_header(pb, operation, type);
        ss_write_soap_sentences(pb);
        ss_soap_trailer(pb);
        return request();
    }

    std::string version3(const char* operation) {
        ss_soap_header_V3(pb, operation);
        ss_write_soap_sentences_V3(pb);
        ss_soap_trailer_V3(pb);
        return request();
    }
};

std::string legacy_line(const std::string& name, const std::string& value) {
    return "<" + name + " xsd:type=\"string\">" + value + "</" + name + ">\n";
}

std::string v3_line(const std::string& name, const std::string& value) {
    return "<" + name + ">" + value + "</" + name + ">\n";
}

// What a legacy request must read, with its length worked out here.
std::string expected_legacy(const std::string& operation, const std::string& lines) {
    std::string text = "POST /ResEltTslPyrite/Fenn HTTP/1.1\nHost:array01:12301\n"
                       "Content-Type: text/SOAP\nContent-Length: 0000\nSOAP Action:\"" +
                       operation + "\"\n\n" +
                       "<SOAP:Envelope xmlns:SOAP=\"urn:schemas-xmlsoap-org:soap.v1\">\n"
                       "<SOAP:Body=tessel-brindle:qxapi.v1>\n<m:" +
                       operation + " xmlns:m=\"FENN-URI\">\n" + lines + "</m:" + operation +
                       ">\n</SOAP:Body>\n</SOAP:Envelope>\n";
    char digits[8];
    std::snprintf(digits, sizeof digits, "%4zu", text.size());
    text.replace(text.find("0000"), 4, digits);
    return text;
}

const char v3_head[] =
    "POST /ResEltTslPyrite/XMLIntr HTTP/1.1\nHost:array01:12301\nContent-Type: text/SOAP\n"
    "SOAPAction:'urn:VELTRA-Kestrel:BridgeXMLInterface.v3'\nContent-Length: 0000\n\n\n"
    "<Envelope xmlns='http://www.veltra.com/qxapiv32'>\n<Header>\n<version>3.2</version>\n"
    "<application>\n<hostip>111.111.111.111</hostip>\n<hostname>notspecified</hostname>\n"
    "<applicationname>TALO</applicationname>\n<applicationtype>0a</applicationtype>\n"
    "</application>\n<tracerequest>always</tracerequest>\n<disablevalidation/>\n</Header>\n"
    "<Body>\n<username>admin</username>\n<userpassword>secret</userpassword>\n"
    "<NsaServerOperation>\n";

std::string expected_v3(const std::string& operation, const std::string& lines) {
    std::string text = v3_head + ("<" + operation + ">\n") + lines + "</" + operation +
                       ">\n</NsaServerOperation>\n</Body>\n</Envelope>\n";
    char digits[8];
    std::snprintf(digits, sizeof digits, "%4zu", text.size());
    text.replace(text.find("0000"), 4, digits);
    return text;
}

TEST_F(EnvelopeTest, HostListRequestIsExact) {
    // The lookup queues ElementID and then ID after the header.
    ss_soap_header(pb, "Get", "StorageClient");
    ss_add_soap_sentence(pb, "ElementID", "cell-0001");
    ss_add_soap_sentence(pb, "ID", "");
    ss_write_soap_sentences(pb);
    ss_soap_trailer(pb);
    EXPECT_EQ(request(),
              "POST /ResEltTslPyrite/Fenn HTTP/1.1\n"
              "Host:array01:12301\n"
              "Content-Type: text/SOAP\n"
              "Content-Length:  505\n"
              "SOAP Action:\"Get\"\n"
              "\n"
              "<SOAP:Envelope xmlns:SOAP=\"urn:schemas-xmlsoap-org:soap.v1\">\n"
              "<SOAP:Body=tessel-brindle:qxapi.v1>\n"
              "<m:Get xmlns:m=\"FENN-URI\">\n"
              "<ID xsd:type=\"string\"></ID>\n"
              "<ElementID xsd:type=\"string\">cell-0001</ElementID>\n"
              "<UserPassword xsd:type=\"string\">secret</UserPassword>\n"
              "<UserName xsd:type=\"string\">admin</UserName>\n"
              "<Type xsd:type=\"string\">StorageClient</Type>\n"
              "</m:Get>\n"
              "</SOAP:Body>\n"
              "</SOAP:Envelope>\n");
    EXPECT_EQ(pb->state->sentences, nullptr);
    EXPECT_EQ(pb->state->soap_command, nullptr);
}

TEST_F(EnvelopeTest, VdiskPropertiesRequestIsExact) {
    ss_replace_soap_sentence(pb, "objecttype", "virtualdisk");
    ss_replace_soap_sentence(pb, "objectid", "vd-42");
    ss_replace_soap_sentence(pb, "scellid", "cell-0001");
    std::string head = v3_head;
    head.replace(head.find("Content-Length: 0000"), 20, "Content-Length:  741");
    EXPECT_EQ(version3("getproperties"), head +
                        "<getproperties>\n"
                        "<scellid>cell-0001</scellid>\n"
                        "<objectid>vd-42</objectid>\n"
                        "<objecttype>virtualdisk</objecttype>\n"
                        "</getproperties>\n"
                        "</NsaServerOperation>\n"
                        "</Body>\n"
                        "</Envelope>\n");
}

struct sentence {
    const char* name;
    const char* value;
};

struct legacy_case {
    const char* what;
    const char* operation;
    const char* type;
    std::vector<sentence> queued;  // in the order the command queues them
    std::vector<sentence> written;
};

TEST_F(EnvelopeTest, LegacyRequestPerObjectClass) {
    const std::vector<legacy_case> cases = {
        {"system list", "Get", "Element", {{"ID", ""}},
         {{"UserPassword", "secret"}, {"UserName", "admin"}, {"Type", "Element"}, {"ID", ""}}},
        {"disk set", "Set", "Disk", {{"comments", "spare"}, {"ElementID", "c1"}, {"ID", "d7"}},
         {{"UserPassword", "secret"}, {"UserName", "admin"}, {"Type", "Disk"}, {"ID", "d7"},
          {"ElementID", "c1"}, {"comments", "spare"}}},
        {"folder create", "Create", "Folder", {{"Name", "Lab"}, {"ElementID", "c1"}},
         {{"UserPassword", "secret"}, {"UserName", "admin"}, {"Type", "Folder"},
          {"ElementID", "c1"}, {"Name", "Lab"}}},
        {"monitor set", "Set", "Monitor", {{"Threshold", "80"}, {"ID", "m1"}},
         {{"UserPassword", "secret"}, {"UserName", "admin"}, {"Type", "Monitor"}, {"ID", "m1"},
          {"Threshold", "80"}}},
        {"vdisk create", "Create", "Storage", {{"Name", "db01"}, {"Size", "10"}},
         {{"UserPassword", "secret"}, {"UserName", "admin"}, {"Type", "Storage"}, {"Size", "10"},
          {"Name", "db01"}}},
        {"snapshot", "Copy", "Storage", {{"Name", "snap1"}, {"ID", "vd-1"}},
         {{"UserPassword", "secret"}, {"UserName", "admin"}, {"Type", "Storage"}, {"ID", "vd-1"},
          {"Name", "snap1"}}},
        {"LUN delete", "Delete", "PresentedUnit", {{"ElementID", "c1"}, {"ID", "lun-3"}},
         {{"UserPassword", "secret"}, {"UserName", "admin"}, {"Type", "PresentedUnit"},
          {"ID", "lun-3"}, {"ElementID", "c1"}}},
        {"disk group create", "Create", "DiskGroup", {{"Name", "dg2"}, {"DiskCount", "8"}},
         {{"UserPassword", "secret"}, {"UserName", "admin"}, {"Type", "DiskGroup"},
          {"DiskCount", "8"}, {"Name", "dg2"}}},
        {"power set", "Set", "Power", {{"Coupled", "YES"}, {"ID", "p1"}},
         {{"UserPassword", "secret"}, {"UserName", "admin"}, {"Type", "Power"}, {"ID", "p1"},
          {"Coupled", "YES"}}},
    };
    for (const legacy_case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const sentence& s : c.queued) ss_add_soap_sentence(pb, s.name, s.value);
        std::string lines;
        for (const sentence& s : c.written) lines += legacy_line(s.name, s.value);
        EXPECT_EQ(legacy(c.operation, c.type), expected_legacy(c.operation, lines));
    }
}

TEST_F(EnvelopeTest, DrGroupRequestsUseVersion3) {
    // Delete: queued objecttype, objectid, scellid with the plain replace.
    ss_replace_soap_sentence(pb, "objecttype", "drmgroup");
    ss_replace_soap_sentence(pb, "objectid", "dr-5");
    ss_replace_soap_sentence(pb, "scellid", "c1");
    EXPECT_EQ(version3("deleteobject"),
              expected_v3("deleteobject", v3_line("scellid", "c1") + v3_line("objectid", "dr-5") +
                                              v3_line("objecttype", "drmgroup")));

    // Set: the action routines append, the identifier goes in front.
    ss_add_soap_sentence_V3(pb, "objectname", "dr-new");
    ss_add_soap_sentence_V3(pb, "comments", "moved");
    ss_replace_soap_sentence(pb, "objectid", "dr-5");
    EXPECT_EQ(version3("setproperties"),
              expected_v3("setproperties", v3_line("objectid", "dr-5") +
                                               v3_line("objectname", "dr-new") +
                                               v3_line("comments", "moved")));

    ss_add_soap_sentence_V3(pb, "objectname", "dr1");
    ss_add_soap_sentence_V3(pb, "scellid", "c1");
    EXPECT_EQ(version3("createobject"),
              expected_v3("createobject", v3_line("objectname", "dr1") + v3_line("scellid", "c1")));
}

TEST_F(EnvelopeTest, QueueOrderAndReplaceRules) {
    // Plain sentences come out last-queued-first, _V3 ones in order, and a
    // plain one queued after _V3 ones comes out before them.
    ss_add_soap_sentence_V3(pb, "a", "1");
    ss_add_soap_sentence_V3(pb, "b", "2");
    ss_add_soap_sentence(pb, "c", "3");
    ss_add_soap_sentence(pb, "d", "4");
    ss_add_soap_sentence_V3(pb, "a", "5");  // a second "a"
    // Replace changes only the first "a" from the head and keeps its place.
    ss_replace_soap_sentence(pb, "a", "X");
    ss_replace_soap_sentence_V3(pb, "b", "Y");
    ss_replace_soap_sentence_count_V3(pb, "e", "67890", 2);  // new: to the tail
    ss_replace_soap_sentence_count(pb, "f", "ABC", 1);       // new: to the head
    ss_add_soap_sentence_count(pb, "g", "not terminated", 3);
    std::string written;
    for (const _soap_sent_info* s = pb->state->sentences; s; s = s->next)
        written += std::string(s->name) + "=" + s->value + " ";
    EXPECT_EQ(written, "g=not f=A d=4 c=3 a=X b=Y a=5 e=67 ");
}

TEST_F(EnvelopeTest, ValuesAreWrittenAsTheyAre) {
    ss_add_soap_sentence(pb, "Empty", "");
    ss_add_soap_sentence(pb, "Odd", "a<b>&c");
    std::string legacy_text = legacy("Set", "Host");
    EXPECT_NE(legacy_text.find("<Odd xsd:type=\"string\">a<b>&c</Odd>\n"
                               "<Empty xsd:type=\"string\"></Empty>\n"),
              std::string::npos);
    ss_add_soap_sentence(pb, "Empty", "");
    ss_add_soap_sentence(pb, "Odd", "a<b>&c");
    std::string v3_text = version3("setproperties");
    EXPECT_NE(v3_text.find("<Odd>a<b>&c</Odd>\n<Empty></Empty>\n"), std::string::npos);
}

TEST_F(EnvelopeTest, LongSentenceLinesAreComposedWhole) {
    std::string value(5000, 'v');
    ss_add_soap_sentence(pb, "Long", value.c_str());
    std::string text = legacy("Set", "Host");
    EXPECT_NE(text.find("<Long xsd:type=\"string\">" + value + "</Long>\n"), std::string::npos);
}

// Fills the request to `total` characters with one sentence.
void build_of_length(_parseblk* pb, size_t total) {
    ss_add_soap_sentence(pb, "Fill", "");
    ss_soap_header(pb, "Set", "Host");
    ss_write_soap_sentences(pb);
    ss_soap_trailer(pb);
    size_t bare = pb->state->soap_length;
    std::string fill(total - bare, 'f');
    ss_add_soap_sentence(pb, "Fill", fill.c_str());
    ss_soap_header(pb, "Set", "Host");
    ss_write_soap_sentences(pb);
    ss_soap_trailer(pb);
}

TEST_F(EnvelopeTest, FiveDigitLengthKeepsTheLineEnd) {
    build_of_length(pb, 29999);
    ASSERT_EQ(pb->state->soap_length, 29999u);
    std::string text = request();
    // The fifth digit takes the blank before the field, not the line end.
    EXPECT_NE(text.find("\nContent-Length:29999\nSOAP Action:\"Set\"\n"), std::string::npos);
    EXPECT_EQ(text.size(), 29999u);
}

TEST_F(EnvelopeTest, LengthFieldAtItsEdges) {
    build_of_length(pb, 9999);
    EXPECT_NE(request().find("\nContent-Length: 9999\n"), std::string::npos);
    build_of_length(pb, 10000);
    EXPECT_NE(request().find("\nContent-Length:10000\n"), std::string::npos);
}

TEST_F(EnvelopeTest, OverlongRequestEndsTheProgram) {
    set_input("");
    EXPECT_EXIT(
        {
            OutFile = stderr;
            build_of_length(pb, 30000);
        },
        ::testing::ExitedWithCode(1),
        "\nError: SOAP buffer exceeded when building SOAP command\n\nPress return to exit");
}

}  // namespace
