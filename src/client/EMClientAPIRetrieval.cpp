#include "EMClientAPIRetrieval.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Base64Coder.h"
#include "EMClientAPIErrors.h"

namespace {

constexpr const char* kGetResponse = "<m:GetResponse xmlns:m=\"FENN-URI\">";
constexpr const char* kGetResponseEnd = "</m:GetResponse>";

const char* text_or_empty(const char* text) { return text ? text : ""; }

bool write_all(int fd, const char* data, size_t size) {
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

SString EMClientAPIRetrievalRequest(const char* server, const char* port, const char* elementId, const char* user,
                                    const char* password, const SString& typeLines) {
    SString r = SString("POST /ResEltTslPyrite/Fenn HTTP/1.1\n") + "Host:" + text_or_empty(server) + ":" +
                text_or_empty(port) +
                "\nContent-Type: text/SOAP\nContent-Length: 500\nSOAP Action:\"Get\"\n\n"
                "<SOAP:Envelope xmlns:SOAP=\"urn:schemas-xmlsoap-org:soap.v1\">\n"
                "<SOAP:Body=tessel-brindle:qxapi.v1>\n"
                "<m:Get xmlns:m=\"FENN-URI\">\n"
                "<ID xsd:type=\"string\"></ID>\n"
                "<ElementID xsd:type=\"string\">" + text_or_empty(elementId) + "</ElementID>\n" +
                "<UserPassword xsd:type=\"string\">" + text_or_empty(password) + "</UserPassword>\n" +
                "<UserName xsd:type=\"string\">" + text_or_empty(user) + "</UserName>\n" + typeLines +
                "</m:Get>\n</SOAP:Body>\n</SOAP:Envelope>\n";
    return r;
}

SString EMClientAPIFileTypeLines(const char* fileName) {
    return SString("<Type xsd:type=\"string\">file</Type>\n<Filename xsd:type=\"string\">") +
           text_or_empty(fileName) + "</Filename>\n";
}

SString EMClientAPIControllerDataTypeLines(int dataType) {
    return SString("<Type xsd:type=\"string\">ControllerData</Type>\n<DataType xsd:type=\"string\">") +
           (dataType == 1 ? "PerformanceData" : "GeometryData") + "</DataType>\n";
}

const char* EMClientAPIRetrievalFileName(const char* localPath) {
    const char* name = text_or_empty(localPath);
    for (const char* p = name; *p; ++p)
        if (*p == '/' || *p == '\\') name = p + 1;
    return name;
}

int EMClientAPIRetrievalAnswer(const SString& response, int noStartCode, int& from, int& to) {
    int start = response.Find(kGetResponse);
    if (start < 0) return noStartCode;
    from = start + static_cast<int>(std::strlen(kGetResponse));
    while (response[static_cast<unsigned>(from)] == '\r' || response[static_cast<unsigned>(from)] == '\n') ++from;
    to = response.Find(kGetResponseEnd, from);
    if (to < 0) return EMCLIENTAPI_INVALIDSERVERRESPONSE_ERROR;
    return 0;
}

int EMClientAPIWriteClientFile(const char* path, const char* data, size_t size) {
    if (path == nullptr || *path == '\0') return EMCLIENTAPI_OPENCLIENTFILE_ERROR;
    struct stat st {};
    if (::lstat(path, &st) == 0 && !S_ISREG(st.st_mode)) return EMCLIENTAPI_OPENCLIENTFILE_ERROR;

    // Beside the target, so the rename stays within one file system.
    std::string target(path);
    size_t slash = target.rfind('/');
    std::string temp = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    temp += ".";
    temp += slash == std::string::npos ? target : target.substr(slash + 1);
    temp += ".XXXXXX";
    int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return EMCLIENTAPI_OPENCLIENTFILE_ERROR;
    bool written = write_all(fd, data, size);
    if (::close(fd) != 0) written = false;
    // rename replaces a link that appeared meanwhile; it never writes
    // through one.
    if (!written || ::rename(temp.c_str(), path) != 0) {
        ::unlink(temp.c_str());
        return EMCLIENTAPI_WRITECLIENTFILE_ERROR;
    }
    return 0;
}

int EMClientAPIDecodeControllerData(const char* text, int n, unsigned char* out, int outSize) {
    if (out == nullptr || n < 0 || n >= outSize) return EMCLIENTAPI_BUFFERTOOSMALL_ERROR;
    if (n == 0) return 0;
    Base64Coder coder;
    coder.Decode(reinterpret_cast<const unsigned char*>(text), static_cast<unsigned>(n));
    // The decoder's result holds at least n + 1 bytes, zero after the data.
    const char* decoded = coder.DecodedMessage();
    if (decoded == nullptr) return EMCLIENTAPI_ALLOCATION_ERROR;
    std::memcpy(out, decoded, static_cast<size_t>(n));
    return 0;
}
