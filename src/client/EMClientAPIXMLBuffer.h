// EMClientAPIXMLBuffer: one HTTP message (request line or status line,
// headers, blank line, XML body) held as text, with the rewrites both client
// paths apply before sending and after receiving. Every operation works on
// fixed markers; none parses HTTP or XML in general, and a missing marker
// leaves the message unchanged.
#pragma once

#include "SString.h"

class EMClientAPIXMLBuffer : public SString {
public:
    EMClientAPIXMLBuffer() = default;
    EMClientAPIXMLBuffer(const char* text) : SString(text) {}
    EMClientAPIXMLBuffer(const SString& text) : SString(text) {}
    EMClientAPIXMLBuffer(const EMClientAPIXMLBuffer& other) = default;
    EMClientAPIXMLBuffer& operator=(const EMClientAPIXMLBuffer& other);
    ~EMClientAPIXMLBuffer() override = default;
    // Assigning text keeps both caches: they describe the message as it
    // first was.
    using SString::operator=;

    // Server name and port of the "Host:name:port" line, cached on first
    // use; empty when the message has no such line.
    SString GetServerName();
    SString GetServerPort();
    void SetServerPort(const char* port);  // the cache only, not the text

    // Contents of the first credential elements of either dialect.
    SString GetUsername() const;
    SString GetUserPassword() const;
    // Removes the user-name element, then the password element; an element
    // missing a tag stays.
    void StripUsernamePassword();

    // Fills the hostip element with the local IPv4 address: 0, or 113 when
    // the local name does not resolve (message unchanged).
    int UpdateClientIP();
    // Sets "Content-Length: " to the length of the envelope part.
    void ResetContentLength();
    // For a request wrapped for the SOAP bridge: Content-Length from the XML
    // declaration through "</soap:Envelope>", SOAPAction line right after it.
    void ReCalculateContentLength();

    // "<" and ">" to "&lt;" and "&gt;" and back; 302 when memory ran out.
    int Normalize();
    int RemoveNormalization();

    // Puts the escaped envelope of payload between this message's
    // xmlPayload tags and recomputes its length.
    void InsertXmlPayLoad(EMClientAPIXMLBuffer payload);
    // The un-escaped content of the xmlPayload element: 0, -1 when a tag is
    // missing, 302 when memory ran out.
    int GetXmlPayload(EMClientAPIXMLBuffer& out) const;
    // The same, in place: this message becomes the un-escaped content of its
    // xmlPayload element without a second copy of it (0, or -1 with the
    // message unchanged when a tag is missing).
    int TakeXmlPayload();
    // The Content-Length (or Content-length) header value, counted from the
    // XML declaration: -1 without a declaration, without the header before it
    // or without digits after the header.
    int GetContentLength() const;
    SString GetHeader() const;  // text before "<Envelope"
    // Appends the envelope to out, less the credential elements: 0; 200 when
    // there is no envelope or the elements stand in an impossible order; 302
    // when memory ran out.
    int GetCleanContent(SString& out) const;
    SString GetCommand() const;  // operation name and type of a legacy request
    void AddAuthCodeToHeader(SString code);
    // A legacy element-manager request must hold 16 fixed strings: 0 (with
    // the envelope's line breaks and tabs removed), 200 when one is missing,
    // 302 when memory ran out. Other requests pass unchanged.
    int Validate();

private:
    SString server_name_;
    SString server_port_;
};

// The body length a "Content-Length:" header field (either spelling) before
// `limit` announces: -1 when there is none or it holds no digits; a value
// past INT_MAX is INT_MAX.
int EMClientAPIAnnouncedLength(const SString& text, int limit);

// value written in base 2..10, "-" first when negative, NUL-terminated;
// returns buffer (left empty for any other base). The buffer must hold 66
// bytes for base 2.
char* itoa(long value, char* buffer, int base);
