#include "corvane_envelope.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "corvane_memory.h"
#include "corvane_namespace.h"
#include "corvane_sentence.h"

namespace {
const char ss_module[] = "corvane_envelope";

const char content_length_line[] = "Content-Length: 0000\n";
constexpr size_t content_length_digits = 4;

void append(_parseblk* pb, const char* text, size_t length) {
    session_state* s = pb->state;
    if (s->soap_length > ss_soap_max_length || length > ss_soap_max_length - s->soap_length) {
        std::fputs("\nError: SOAP buffer exceeded when building SOAP command", OutFile);
        ss_fatal_exit();
    }
    std::memcpy(s->soap_buffer + s->soap_length, text, length);
    s->soap_length += static_cast<uint32_t>(length);
    s->soap_buffer[s->soap_length] = '\0';
}

void append(_parseblk* pb, const char* text) { append(pb, text, std::strlen(text)); }

const char* or_empty(const char* text) { return text ? text : ""; }

void start_request(_parseblk* pb, const char* request_line) {
    session_state* s = pb->state;
    s->soap_length = 0;
    s->soap_buffer[0] = '\0';
    append(pb, request_line);
    append(pb, "Host:");
    append(pb, or_empty(s->manager_name));
    append(pb, "\n");
}

// Appends the length line and remembers where its four zeros are.
void content_length(_parseblk* pb) {
    session_state* s = pb->state;
    uint32_t line_start = s->soap_length;
    append(pb, content_length_line);
    s->content_length_field = s->soap_buffer + line_start + (sizeof content_length_line - 1) -
                              content_length_digits - 1;
}

void remember_operation(_parseblk* pb, const char* operation) {
    session_state* s = pb->state;
    ss_deallocate_mem(s->soap_command, ss_module, __LINE__);
    s->soap_command = ss_copy_string(operation);
}

// One sentence line goes straight into the request buffer piece by piece, so
// no value is too long to compose; only the request limit applies.
void write_sentences(_parseblk* pb, const char* open_tail) {
    session_state* s = pb->state;
    for (const _soap_sent_info* sentence = s->sentences; sentence; sentence = sentence->next) {
        append(pb, "<");
        append(pb, sentence->name);
        append(pb, open_tail);
        append(pb, sentence->value);
        append(pb, "</");
        append(pb, sentence->name);
        append(pb, ">\n");
    }
    ss_deallocate_soap_sentences(s->sentences);
    s->sentences = nullptr;
}

// Writes the whole text length into the length field. Four digits fill the
// field right-aligned; five take the blank before it as well ("Length:12345"),
// so the line end stays and the reader's "digits after optional blanks" rule
// still holds.
// The end of every trailer: the length goes into its field and the
// operation name, needed only between header and trailer, is released.
void finish_request(_parseblk* pb) {
    session_state* s = pb->state;
    if (s->content_length_field) {
        char digits[16];
        int count = std::snprintf(digits, sizeof digits, "%4u", s->soap_length);
        char* field = s->content_length_field + content_length_digits - count;
        std::memcpy(field, digits, static_cast<size_t>(count));
    }
    ss_release_text(s->soap_command);
}

void close_operation(_parseblk* pb, const char* open_tag) {
    session_state* s = pb->state;
    append(pb, open_tag);
    append(pb, or_empty(s->soap_command));
    append(pb, ">\n");
}
}  // namespace

void ss_move_to_soap(_parseblk* pb, const char* text) { append(pb, text); }

void ss_move_to_soap_new(_parseblk* pb, const char* text) {
    append(pb, text);
    append(pb, "\n");
}

void ss_soap_header(_parseblk* pb, const char* operation, const char* type) {
    session_state* s = pb->state;
    start_request(pb, "POST /ResEltTslPyrite/Fenn HTTP/1.1\n");
    append(pb, "Content-Type: text/SOAP\n");
    content_length(pb);
    append(pb, "SOAP Action:\"");
    append(pb, operation);
    append(pb, "\"\n");
    append(pb, "\n");
    append(pb, "<SOAP:Envelope xmlns:SOAP=\"urn:schemas-xmlsoap-org:soap.v1\">\n");
    append(pb, "<SOAP:Body=tessel-brindle:qxapi.v1>\n");
    append(pb, "<m:");
    append(pb, operation);
    append(pb, " xmlns:m=\"FENN-URI\">\n");
    ss_replace_soap_sentence(pb, "Type", type);
    ss_replace_soap_sentence(pb, "UserName", s->user_name);
    ss_replace_soap_sentence(pb, "UserPassword", s->user_password);
    remember_operation(pb, operation);
}

void ss_write_soap_sentences(_parseblk* pb) { write_sentences(pb, " xsd:type=\"string\">"); }

void ss_soap_trailer(_parseblk* pb) {
    close_operation(pb, "</m:");
    append(pb, "</SOAP:Body>\n");
    append(pb, "</SOAP:Envelope>\n");
    finish_request(pb);
}

void ss_soap_header_V3(_parseblk* pb, const char* operation) {
    session_state* s = pb->state;
    start_request(pb, "POST /ResEltTslPyrite/XMLIntr HTTP/1.1\n");
    append(pb, "Content-Type: text/SOAP\n");
    append(pb, "SOAPAction:'urn:VELTRA-Kestrel:BridgeXMLInterface.v3'\n");
    content_length(pb);
    append(pb, "\n");
    append(pb, "\n");
    append(pb, "<Envelope xmlns='");
    append(pb, ss_vendor_namespace_v32);
    append(pb, "'>\n");
    for (const char* line :
         {"<Header>", "<version>3.2</version>", "<application>", "<hostip>111.111.111.111</hostip>",
          "<hostname>notspecified</hostname>", "<applicationname>TALO</applicationname>",
          "<applicationtype>0a</applicationtype>", "</application>",
          "<tracerequest>always</tracerequest>", "<disablevalidation/>", "</Header>", "<Body>"})
        ss_move_to_soap_new(pb, line);
    append(pb, "<username>");
    append(pb, or_empty(s->user_name));
    append(pb, "</username>\n");
    append(pb, "<userpassword>");
    append(pb, or_empty(s->user_password));
    append(pb, "</userpassword>\n");
    append(pb, "<NsaServerOperation>\n");
    append(pb, "<");
    append(pb, operation);
    append(pb, ">\n");
    remember_operation(pb, operation);
}

void ss_write_soap_sentences_V3(_parseblk* pb) { write_sentences(pb, ">"); }

void ss_soap_trailer_V3(_parseblk* pb) {
    close_operation(pb, "</");
    append(pb, "</NsaServerOperation>\n");
    append(pb, "</Body>\n");
    append(pb, "</Envelope>\n");
    finish_request(pb);
}
