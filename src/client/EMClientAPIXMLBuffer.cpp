#include "EMClientAPIXMLBuffer.h"

#include <arpa/inet.h>

#include <climits>
#include <cstring>
#include <string>

#include "EMClientAPIDebug.h"
#include "EMClientAPIErrors.h"
#include "EMClientAPISeams.h"

namespace {

constexpr char kUserLegacyOpen[] = "<UserName xsd:type=\"string\">";
constexpr char kUserLegacyClose[] = "</UserName>";
constexpr char kUserOpen[] = "<username>";
constexpr char kUserClose[] = "</username>";
constexpr char kPasswordLegacyOpen[] = "<UserPassword xsd:type=\"string\">";
constexpr char kPasswordLegacyClose[] = "</UserPassword>";
constexpr char kPasswordOpen[] = "<userpassword>";
constexpr char kPasswordClose[] = "</userpassword>";

constexpr int len(const char* s) { return static_cast<int>(std::char_traits<char>::length(s)); }

// Accumulates a new text; remembers whether any step ran out of memory.
class Builder {
public:
    void add(const char* p, size_t n) {
        if (ok_ && n > 0 && text_.AppendRange(p, n) != 0) ok_ = false;
    }
    void add(const char* s) { add(s, std::strlen(s)); }
    void add_range(const SString& s, int from, int to) {
        if (to > from) add(s.GetBufferPointer() + from, static_cast<size_t>(to - from));
    }
    bool ok() const { return ok_ && text_.GetBufferPointer() != nullptr; }
    const SString& text() const { return text_; }

private:
    SString text_;
    bool ok_ = true;
};

// Replaces the message text; false (text unchanged) when memory ran out.
bool replace_text(SString& message, const Builder& built) {
    return built.ok() && message.AssignRange(built.text().GetBufferPointer(),
                                             static_cast<size_t>(built.text().GetBufferSize())) == 0;
}

// Position and length of the first marker found, trying first then second.
struct Tag {
    int pos = -1;
    int size = 0;
};

Tag find_tag(const SString& text, const char* first, const char* second, int from = 0) {
    int pos = text.FindIndex(first, from);
    if (pos >= 0) return {pos, len(first)};
    pos = text.FindIndex(second, from);
    if (pos >= 0) return {pos, len(second)};
    return {};
}

// An element whose opening tag is found (first form, else second) and whose
// closing tag follows it (first form, else second).
struct Element {
    int open = -1;     // start of the opening tag
    int content = -1;  // first character after it
    int close = -1;    // start of the closing tag
    int end = -1;      // first character after the closing tag
    bool complete() const { return open >= 0 && close >= 0; }
};

Element find_element(const SString& text, const char* open1, const char* open2, const char* close1,
                     const char* close2) {
    Element e;
    Tag open = find_tag(text, open1, open2);
    if (open.pos < 0) return e;
    e.open = open.pos;
    e.content = open.pos + open.size;
    Tag close = find_tag(text, close1, close2, e.content);
    if (close.pos < 0) return e;
    e.close = close.pos;
    e.end = close.pos + close.size;
    return e;
}

Element user_element(const SString& text) {
    return find_element(text, kUserLegacyOpen, kUserOpen, kUserLegacyClose, kUserClose);
}

Element password_element(const SString& text) {
    return find_element(text, kPasswordLegacyOpen, kPasswordOpen, kPasswordLegacyClose, kPasswordClose);
}

SString element_content(const SString& text, const Element& e) {
    SString result;
    if (e.complete()) result.AssignRange(text.GetBufferPointer() + e.content, static_cast<size_t>(e.close - e.content));
    return result;
}

// Removes an element (tags included) when both its tags are there.
void remove_element(SString& text, const Element& e) {
    if (!e.complete()) return;
    Builder built;
    built.add_range(text, 0, e.open);
    built.add_range(text, e.end, SizeOf(text));
    replace_text(text, built);
}

// Start of the envelope: the version-3 form, else the legacy form.
int envelope_start(const SString& text) {
    int pos = text.Find("<Envelope");
    return pos >= 0 ? pos : text.Find("<SOAP:Envelope");
}

// The Host line's name and port: the text after "Host:" up to the line's
// end, split at its first colon.
struct HostLine {
    int name_from = -1, name_to = -1, port_from = -1, port_to = -1;
};

HostLine host_line(const SString& text) {
    HostLine h;
    int at = text.Find("Host:");
    if (at < 0) return h;
    const char* t = text.GetBufferPointer();
    int from = at + len("Host:");
    int end = from;
    while (end < SizeOf(text) && t[end] != '\n') ++end;
    int colon = from;
    while (colon < end && t[colon] != ':') ++colon;
    h.name_from = from;
    h.name_to = colon;
    if (colon < end) {
        h.port_from = colon + 1;
        h.port_to = end;
    }
    return h;
}

// Each escape character and its entity.
int escape_all(SString& text) {
    Builder built;
    const char* t = text.GetBufferPointer();
    int n = SizeOf(text);
    int run = 0;
    for (int i = 0; i < n; ++i) {
        if (t[i] != '<' && t[i] != '>') continue;
        built.add(t + run, static_cast<size_t>(i - run));
        built.add(t[i] == '<' ? "&lt;" : "&gt;");
        run = i + 1;
    }
    if (run == 0) return EMCLIENTAPI_SUCCESS;
    built.add(t + run, static_cast<size_t>(n - run));
    return replace_text(text, built) ? EMCLIENTAPI_SUCCESS : EMCLIENTAPI_ALLOCATION_ERROR;
}

int unescape_all(SString& text) {
    if (text.Find("&lt;") < 0) return EMCLIENTAPI_SUCCESS;
    Builder built;
    const char* t = text.GetBufferPointer();
    int n = SizeOf(text);
    int run = 0;
    for (int i = 0; i + 4 <= n; ++i) {
        if (t[i] != '&' || t[i + 2] != 't' || t[i + 3] != ';' || (t[i + 1] != 'l' && t[i + 1] != 'g')) continue;
        built.add(t + run, static_cast<size_t>(i - run));
        built.add(t[i + 1] == 'l' ? "<" : ">");
        run = i + 4;
        i += 3;
    }
    built.add(t + run, static_cast<size_t>(n - run));
    return replace_text(text, built) ? EMCLIENTAPI_SUCCESS : EMCLIENTAPI_ALLOCATION_ERROR;
}

// The strings every legacy element-manager request must carry, in the order
// they are checked.
constexpr char kRequired[16][80] = {
    "POST /ResEltTslPyrite/Fenn HTTP/1.1",
    "Content-Type: text/SOAP",
    "Content-Length:",
    "SOAP Action:",
    "<SOAP:Envelope xmlns:SOAP=\"urn:schemas-xmlsoap-org:soap.v1\">",
    "<SOAP:Body=tessel-brindle:qxapi.v1",
    "<m:",
    "xmlns:m=\"FENN-URI\">",
    "<UserPassword xsd:type=\"string\">",
    "</UserPassword>",
    "<UserName xsd:type=\"string\">",
    "</UserName>",
    "<Type xsd:type=\"string\">",
    "</m:",
    "</SOAP:Body>",
    "</SOAP:Envelope>",
};

}  // namespace

EMClientAPIXMLBuffer& EMClientAPIXMLBuffer::operator=(const EMClientAPIXMLBuffer& other) {
    if (this != &other) {
        SString::operator=(other);
        server_name_ = other.server_name_;
        server_port_ = other.server_port_;
    }
    return *this;
}

SString EMClientAPIXMLBuffer::GetServerName() {
    if (!server_name_.IsEmpty()) return server_name_;
    HostLine h = host_line(*this);
    SString name;
    if (h.name_from >= 0) name.AssignRange(GetBufferPointer() + h.name_from, static_cast<size_t>(h.name_to - h.name_from));
    server_name_ = name;
    return name;
}

SString EMClientAPIXMLBuffer::GetServerPort() {
    if (!server_port_.IsEmpty()) return server_port_;
    HostLine h = host_line(*this);
    SString port;
    if (h.port_from >= 0) port.AssignRange(GetBufferPointer() + h.port_from, static_cast<size_t>(h.port_to - h.port_from));
    server_port_ = port;
    return port;
}

void EMClientAPIXMLBuffer::SetServerPort(const char* port) {
    if (port != nullptr) server_port_ = port;
}

SString EMClientAPIXMLBuffer::GetUsername() const { return element_content(*this, user_element(*this)); }

SString EMClientAPIXMLBuffer::GetUserPassword() const { return element_content(*this, password_element(*this)); }

void EMClientAPIXMLBuffer::StripUsernamePassword() {
    remove_element(*this, user_element(*this));
    remove_element(*this, password_element(*this));
}

int EMClientAPIXMLBuffer::UpdateClientIP() {
    int open = Find("<hostip>");
    if (open < 0) return EMCLIENTAPI_SUCCESS;
    char host[128] = {};
    in_addr address{};
    if (EMClientAPIGetHostName(host, sizeof host - 1) != 0 || EMClientAPIResolveHost(host, &address) != 0)
        return EMCLIENTAPISOCKET_CANNOTRESOLVELOCALHOSTIP_ERROR;
    char dotted[INET_ADDRSTRLEN] = {};
    if (::inet_ntop(AF_INET, &address, dotted, sizeof dotted) == nullptr)
        return EMCLIENTAPISOCKET_CANNOTRESOLVELOCALHOSTIP_ERROR;
    int from = open + len("<hostip>");
    int close = FindIndex("</hostip>", from);
    if (close < 0) return EMCLIENTAPI_SUCCESS;  // nothing to fill in
    Builder built;
    built.add_range(*this, 0, from);
    built.add(dotted);
    built.add_range(*this, close, SizeOf(*this));
    return replace_text(*this, built) ? EMCLIENTAPI_SUCCESS : EMCLIENTAPI_ALLOCATION_ERROR;
}

void EMClientAPIXMLBuffer::ResetContentLength() {
    int envelope = envelope_start(*this);
    if (envelope < 0) return;
    // Only the header's field: a "Content-Length:" inside the body is data.
    int field = Find("Content-Length:");
    if (field < 0 || field > envelope) return;
    const char* t = GetBufferPointer();
    int eol = field;
    while (eol < SizeOf(*this) && t[eol] != '\n' && t[eol] != '\r') ++eol;
    if (eol >= SizeOf(*this)) return;
    char digits[32];
    itoa(SizeOf(*this) - envelope, digits, 10);
    Builder built;
    built.add_range(*this, 0, field);
    built.add("Content-Length: ");
    built.add(digits);
    built.add_range(*this, eol, SizeOf(*this));
    replace_text(*this, built);
}

void EMClientAPIXMLBuffer::ReCalculateContentLength() {
    int declaration = Find("<?xml version");
    int start = Find("<soap:Envelope");
    int end = Find("</soap:Envelope>");
    int field = Find("Content-Length:");
    int action = Find("SOAPAction:");
    if (declaration < 0 || start < declaration || end < start || field < 0 || action < field) return;
    char digits[32];
    itoa(end + len("</soap:Envelope>") - declaration, digits, 10);
    Builder built;
    built.add_range(*this, 0, field + len("Content-Length:"));
    built.add(digits);
    built.add("\n");
    built.add_range(*this, action, SizeOf(*this));
    replace_text(*this, built);
}

int EMClientAPIXMLBuffer::Normalize() { return escape_all(*this); }

int EMClientAPIXMLBuffer::RemoveNormalization() { return unescape_all(*this); }

void EMClientAPIXMLBuffer::InsertXmlPayLoad(EMClientAPIXMLBuffer payload) {
    int from = payload.Find("<SOAP:Envelope");
    if (from < 0) from = payload.Find("<Envelope");
    if (from < 0) return;
    // Escape only the envelope, so brackets in the header cannot shift it.
    EMClientAPIXMLBuffer envelope(payload.SubStrFrom(static_cast<unsigned>(from)));
    if (envelope.Normalize() != 0) return;
    int open = Find("<xmlPayload>");
    if (open < 0) return;
    int content = open + len("<xmlPayload>");
    int close = FindIndex("</xmlPayload>", content);
    if (close < 0) return;
    Builder built;
    built.add_range(*this, 0, content);
    built.add_range(envelope, 0, SizeOf(envelope));
    built.add_range(*this, close, SizeOf(*this));
    if (replace_text(*this, built)) ReCalculateContentLength();
}

int EMClientAPIXMLBuffer::GetXmlPayload(EMClientAPIXMLBuffer& out) const {
    int open = Find("<xmlPayload>");
    if (open < 0) return -1;
    int content = open + len("<xmlPayload>");
    int close = FindIndex("</xmlPayload>", content);
    if (close < 0) return -1;
    if (out.AssignRange(GetBufferPointer() + content, static_cast<size_t>(close - content)) != 0)
        return EMCLIENTAPI_ALLOCATION_ERROR;
    return out.RemoveNormalization();
}

int EMClientAPIXMLBuffer::TakeXmlPayload() {
    int open = Find("<xmlPayload>");
    if (open < 0) return -1;
    int content = open + len("<xmlPayload>");
    int close = FindIndex("</xmlPayload>", content);
    if (close < 0) return -1;
    char* t = MutableBuffer();
    size_t n = static_cast<size_t>(close - content);
    std::memmove(t, t + content, n);
    Truncate(n);
    // As unescape_all: only a payload holding "&lt;" was escaped at all.
    if (Find("&lt;") < 0) return EMCLIENTAPI_SUCCESS;
    size_t out = 0;
    for (size_t i = 0; i < n;) {
        if (i + 4 <= n && t[i] == '&' && t[i + 2] == 't' && t[i + 3] == ';' && (t[i + 1] == 'l' || t[i + 1] == 'g')) {
            t[out++] = t[i + 1] == 'l' ? '<' : '>';
            i += 4;
        } else {
            t[out++] = t[i++];
        }
    }
    Truncate(out);
    return EMCLIENTAPI_SUCCESS;
}

int EMClientAPIAnnouncedLength(const SString& text, int limit) {
    // Either spelling of the field name, whichever comes first.
    int field = text.Find("Content-Length:");
    int other = text.Find("Content-length:");
    if (field < 0 || (other >= 0 && other < field)) field = other;
    if (field < 0 || field > limit) return -1;
    const char* t = TextOf(text);
    int end = SizeOf(text) < limit ? SizeOf(text) : limit;
    int i = field + len("Content-Length:");
    while (i < end && (t[i] == ' ' || t[i] == '\t')) ++i;
    if (i >= end || t[i] < '0' || t[i] > '9') return -1;
    long value = 0;
    for (; i < end && t[i] >= '0' && t[i] <= '9'; ++i) {
        value = value * 10 + (t[i] - '0');
        if (value > INT_MAX) return INT_MAX;  // the exchange will fail on it, not overflow
    }
    return static_cast<int>(value);
}

int EMClientAPIXMLBuffer::GetContentLength() const {
    int declaration = Find("<?xml version");
    if (declaration < 0) return -1;
    return EMClientAPIAnnouncedLength(*this, declaration);
}

SString EMClientAPIXMLBuffer::GetHeader() const {
    SString header;
    int envelope = Find("<Envelope");
    if (envelope > 0) header.AssignRange(GetBufferPointer(), static_cast<size_t>(envelope));
    return header;
}

int EMClientAPIXMLBuffer::GetCleanContent(SString& out) const {
    int envelope = envelope_start(*this);
    if (envelope < 0) return EMCLIENTAPI_RESQUESTINVALID_ERROR;
    const int total = SizeOf(*this);

    // The two credential elements go, together with whatever stands between
    // them; the version-3 tags are looked for first.
    Tag user_open = find_tag(*this, kUserOpen, kUserLegacyOpen);
    Tag user_close = find_tag(*this, kUserClose, kUserLegacyClose);
    Tag password_open = find_tag(*this, kPasswordOpen, kPasswordLegacyOpen);
    Tag password_close = find_tag(*this, kPasswordClose, kPasswordLegacyClose);
    int skip_from = -1;
    int skip_to = -1;
    if (user_open.pos >= 0 && password_close.pos >= 0 &&
        user_open.pos < password_close.pos + password_close.size) {
        skip_from = user_open.pos;  // user name first (version 3)
        skip_to = password_close.pos + password_close.size;
    } else if (password_open.pos >= 0 && user_close.pos >= 0) {
        skip_from = password_open.pos;  // password first (legacy)
        skip_to = user_close.pos + user_close.size;
        if (skip_to < skip_from) {
            // Logged at every level: the text of 200 promises the details
            // whenever debugging is on.
            EMClientAPITNGDebugLog("Username and password invalid order.");
            return EMCLIENTAPI_RESQUESTINVALID_ERROR;
        }
    } else {
        // Only one element is whole: it alone goes, so no credential is
        // ever carried into the payload.
        Element whole = find_element(*this, kUserOpen, kUserLegacyOpen, kUserClose, kUserLegacyClose);
        if (!whole.complete())
            whole = find_element(*this, kPasswordOpen, kPasswordLegacyOpen, kPasswordClose, kPasswordLegacyClose);
        if (whole.complete()) {
            skip_from = whole.open;
            skip_to = whole.end;
        }
    }
    if (skip_from < envelope) skip_from = skip_to = total;  // nothing of the envelope to leave out

    Builder built;
    built.add_range(*this, envelope, skip_from);
    built.add_range(*this, skip_to, total);
    if (!built.ok() || out.Concatenate(built.text().GetBufferPointer()) != 0) return EMCLIENTAPI_ALLOCATION_ERROR;
    return EMCLIENTAPI_SUCCESS;
}

SString EMClientAPIXMLBuffer::GetCommand() const {
    Builder built;
    int op = Find("<m:");
    if (op >= 0) {
        int from = op + len("<m:");
        int to = FindIndex("xmlns", from);
        if (to >= 0) built.add_range(*this, from, to);
    }
    int type = Find("<Type xsd:type=\"string\">");
    if (type >= 0) {
        int from = type + len("<Type xsd:type=\"string\">");
        int to = FindIndex("</Type>", from);
        if (to >= 0) built.add_range(*this, from, to);
    }
    return built.text();
}

void EMClientAPIXMLBuffer::AddAuthCodeToHeader(SString code) {
    int at = Find("Content-Type:");
    if (at < 0 || code.GetBufferPointer() == nullptr) return;
    Builder built;
    built.add_range(*this, 0, at);
    built.add(code.GetBufferPointer());
    built.add("\r\n");
    built.add_range(*this, at, SizeOf(*this));
    replace_text(*this, built);
}

int EMClientAPIXMLBuffer::Validate() {
    if (Find(kRequired[0]) < 0) return EMCLIENTAPI_SUCCESS;  // not a legacy element-manager request
    for (const auto& row : kRequired) {
        if (Find(row) >= 0) continue;
        if (gnDebugMode != 0) {  // as for every 200: whenever debugging is on
            EMClientAPIWriteDebugFile("Validation string not found ->");
            EMClientAPIWriteDebugFile(row);
        }
        return EMCLIENTAPI_RESQUESTINVALID_ERROR;
    }
    int envelope = Find("<SOAP:Envelope");
    Builder built;
    built.add_range(*this, 0, envelope);
    const char* t = GetBufferPointer();
    int total = SizeOf(*this);
    int run = envelope;
    for (int i = envelope; i < total; ++i) {
        if (t[i] != '\r' && t[i] != '\n' && t[i] != '\t') continue;
        built.add_range(*this, run, i);
        run = i + 1;
    }
    built.add_range(*this, run, total);
    return replace_text(*this, built) ? EMCLIENTAPI_SUCCESS : EMCLIENTAPI_ALLOCATION_ERROR;
}

char* itoa(long value, char* buffer, int base) {
    if (buffer == nullptr) return buffer;
    buffer[0] = '\0';
    if (base < 2 || base > 10) return buffer;
    // Digits of the magnitude, worked in unsigned so LONG_MIN is no overflow.
    unsigned long magnitude = value < 0 ? 0UL - static_cast<unsigned long>(value) : static_cast<unsigned long>(value);
    char reversed[72];
    int n = 0;
    do {
        reversed[n++] = static_cast<char>('0' + magnitude % static_cast<unsigned long>(base));
        magnitude /= static_cast<unsigned long>(base);
    } while (magnitude != 0);
    int out = 0;
    if (value < 0) buffer[out++] = '-';
    while (n > 0) buffer[out++] = reversed[--n];
    buffer[out] = '\0';
    return buffer;
}
