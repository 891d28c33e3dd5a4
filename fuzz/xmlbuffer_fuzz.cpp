// Any bytes through every rewrite of the client's message buffer, the
// Base64 codecs and the string type: no crash, no hang, no leak, and the
// round trips that must hold do hold.
#include <netinet/in.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "Base64Coder.h"
#include "EMClientAPIAuth.h"
#include "EMClientAPISeams.h"
#include "EMClientAPIXMLBuffer.h"

namespace {

int fake_host_name(char* name, size_t size) {
    std::strncpy(name, "fuzzhost", size);
    return 0;
}

int fake_resolver(const char*, in_addr* address) {
    address->s_addr = htonl(0x7F000001);
    return 0;
}

void check(bool holds) {
    if (!holds) __builtin_trap();
}

const char kWrapper[] =
    "POST /qxbridge HTTP/1.1\nHost:h:12301\nContent-Length:0\nSOAPAction:\"x\"\n\n"
    "<?xml version=\"1.0\"?>\n<soap:Envelope>\n<xmlPayload></xmlPayload>\n</soap:Envelope>";

void message_operations(const std::string& text) {
    EMClientAPIXMLBuffer message(text.c_str());
    message.GetServerName();
    message.GetServerPort();
    message.GetUsername();
    message.GetUserPassword();
    message.GetContentLength();
    message.GetHeader();
    message.GetCommand();
    IsUsrnamePwdPresent(message);
    IsLocalSystem(message.GetServerName());

    SString clean;
    message.GetCleanContent(clean);
    EMClientAPIXMLBuffer payload;
    message.GetXmlPayload(payload);

    EMClientAPIXMLBuffer rewritten(message);
    rewritten.StripUsernamePassword();
    rewritten.UpdateClientIP();
    rewritten.ResetContentLength();
    rewritten.ReCalculateContentLength();
    rewritten.AddAuthCodeToHeader(SString("Authorization: Basic x"));
    rewritten.Validate();
    AddUsernamePassword(rewritten);

    EMClientAPIXMLBuffer wrapper(kWrapper);
    wrapper.InsertXmlPayLoad(message);

    // Escaping and un-escaping give the text back when it had no entities
    // and (since un-escaping starts only at a "&lt;") a "<" or no ">".
    EMClientAPIXMLBuffer escaped(message);
    check(escaped.Normalize() == 0);
    check(escaped.Find('<') < 0 && escaped.Find('>') < 0);
    check(escaped.RemoveNormalization() == 0);
    const char* t = text.c_str();
    if (std::strchr(t, '&') == nullptr && (std::strchr(t, '<') != nullptr || std::strchr(t, '>') == nullptr))
        check(escaped == message);
}

void string_operations(const std::string& text, const uint8_t* data, size_t size) {
    SString s(text.c_str());
    int n = s.GetBufferSize();
    int a = size > 0 ? data[0] % (n + 2) - 1 : 0;
    int b = size > 1 ? data[1] % (n + 2) - 1 : 0;
    SString needle = s.SubStrFromTo(static_cast<unsigned>(a < 0 ? 0 : a), static_cast<unsigned>(b < 0 ? 0 : b));
    int at = s.FindIndex(needle.GetBufferPointer(), a);
    if (at >= 0) check(std::memcmp(s.GetBufferPointer() + at, needle.GetBufferPointer(), needle.GetBufferSize()) == 0);
    s.Find(size > 2 ? static_cast<char>(data[2]) : 'x', b);
    SString copy(s);
    copy.Replace(a, b, needle.GetBufferPointer());
    copy.RemovePrecedingSpaces();
    copy.RemoveTrailingSpaces();
    copy += s;
    copy.SubStrFrom(static_cast<unsigned>(b));
}

void codec_operations(const uint8_t* data, size_t size) {
    Base64Coder coder;
    coder.Decode(data, static_cast<unsigned>(size));
    // The decoded data is followed by zeros for at least as many bytes as the
    // text had characters: callers copy that many.
    volatile char sink = 0;
    for (size_t i = 0; i <= size; ++i) sink = static_cast<char>(sink ^ coder.DecodedMessage()[i]);
    check(coder.DecodedMessage()[size] == 0);

    // Encoding with line breaks, then decoding (which skips them), gives the
    // bytes back.
    SString encoded = base64Encode(data, static_cast<unsigned>(size));
    Base64Coder back;
    back.Decode(encoded.GetBufferPointer());
    check(size == 0 || std::memcmp(back.DecodedMessage(), data, size) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    EMClientAPISetHostName(fake_host_name);
    EMClientAPISetResolver(fake_resolver);
    std::string text(reinterpret_cast<const char*>(data), size);
    message_operations(text);
    string_operations(text, data, size);
    codec_operations(data, size);
    return 0;
}
