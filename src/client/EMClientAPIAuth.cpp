#include "EMClientAPIAuth.h"

#include <arpa/inet.h>

#include <cstdlib>
#include <cstring>

#include "EMClientAPIDebug.h"
#include "EMClientAPISeams.h"
#include "md5c.h"

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr unsigned kLineLength = 76;

SString& administrator_password() {
    static SString password;
    return password;
}

}  // namespace

SString GetMD5HashAuthCode(SString userName, SString password) {
    SString pair(TextOf(userName));
    pair += ":";
    pair += TextOf(password);
    if (gnTNGDebugMode >= 2) {
        EMClientAPITNGWriteDebugFile(" ** Username password pair build for MD5 hashing ->");
        EMClientAPITNGWriteDebugFile(TextOf(pair));
    }
    char digest[129] = {};
    TslKlmoMD5Buffer(TextOf(pair), digest);
    SString code(TextOf(userName));
    code += ":";
    code += digest;
    return code;
}

SString base64Encode(const unsigned char* data, unsigned length) {
    SString result;
    if (data == nullptr || length == 0) return result;
    size_t chars = (size_t{length} + 2) / 3 * 4;
    size_t total = chars + chars / kLineLength * 2;
    char* out = static_cast<char*>(std::malloc(total + 1));
    if (out == nullptr) return result;
    size_t n = 0;
    unsigned in_line = 0;
    for (unsigned i = 0; i < length; i += 3) {
        unsigned rest = length - i;
        unsigned b0 = data[i];
        unsigned b1 = rest > 1 ? data[i + 1] : 0;
        unsigned b2 = rest > 2 ? data[i + 2] : 0;
        out[n++] = kAlphabet[b0 >> 2];
        out[n++] = kAlphabet[((b0 & 3) << 4) | (b1 >> 4)];
        out[n++] = rest > 1 ? kAlphabet[((b1 & 15) << 2) | (b2 >> 6)] : '=';
        out[n++] = rest > 2 ? kAlphabet[b2 & 63] : '=';
        // 76 is a multiple of 4, so a line always ends between two groups.
        in_line += 4;
        if (in_line == kLineLength) {
            out[n++] = '\r';
            out[n++] = '\n';
            in_line = 0;
        }
    }
    result.AssignRange(out, n);
    std::free(out);
    return result;
}

SString Base64EncodeBasicAuth(const SString& text) {
    const char* t = TextOf(text);
    return base64Encode(reinterpret_cast<const unsigned char*>(t), static_cast<unsigned>(std::strlen(t)));
}

SString GetBase64AuthCode(SString& text) { return Base64EncodeBasicAuth(text); }

bool IsUsrnamePwdPresent(EMClientAPIXMLBuffer& request) { return !request.GetUserPassword().IsEmpty(); }

bool IsLocalSystem(SString serverName) {
    if (serverName.GetBufferPointer() == nullptr) return false;
    if (serverName == "localhost") return true;
    char host[257] = {};
    if (EMClientAPIGetHostName(host, sizeof host - 1) != 0) return false;
    if (serverName == host) return true;
    in_addr address{};
    char dotted[INET_ADDRSTRLEN] = {};
    return EMClientAPIResolveHost(host, &address) == 0 &&
           ::inet_ntop(AF_INET, &address, dotted, sizeof dotted) != nullptr && serverName == dotted;
}

void AddUsernamePassword(EMClientAPIXMLBuffer& request) {
    SString password = GetAdministratorPassword();
    SString elements;
    int at = request.Find("<Body>");
    if (at >= 0) {
        at += 6;
        elements = "<username>administrator</username><userpassword>";
        elements += TextOf(password);
        elements += "</userpassword>";
    } else {
        at = request.Find("<SOAP:Body");
        if (at < 0) return;
        at += 10;
        elements = "<UserName xsd:type=\"string\">administrator</UserName><UserPassword xsd:type=\"string\">";
        elements += TextOf(password);
        elements += "</UserPassword>";
    }
    SString text;
    if (text.AssignRange(request.GetBufferPointer(), static_cast<size_t>(at)) != 0 || (text += elements) != 0 ||
        (text += request.GetBufferPointer() + at) != 0)
        return;  // out of memory: the request stays as it was
    request = EMClientAPIXMLBuffer(text);  // fresh buffer: caches empty
}

SString GetAdministratorPassword() { return administrator_password(); }
