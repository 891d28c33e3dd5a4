// Request documents as the client writes them, for the simulator's tests.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace simtest {

using Sentences = std::vector<std::pair<std::string, std::string>>;

// Legacy form; `sentences` in the order they are written.
inline std::string legacy_doc(const std::string& op, const Sentences& sentences) {
    std::string d = "<SOAP:Envelope xmlns:SOAP=\"urn:schemas-xmlsoap-org:soap.v1\">\n"
                    "<SOAP:Body=tessel-brindle:qxapi.v1>\n<m:" + op + " xmlns:m=\"FENN-URI\">\n";
    for (const auto& [n, v] : sentences) d += "<" + n + " xsd:type=\"string\">" + v + "</" + n + ">\n";
    return d + "</m:" + op + ">\n</SOAP:Body>\n</SOAP:Envelope>\n";
}

inline std::string v3_doc(const std::string& op, const Sentences& sentences) {
    std::string d = "<Envelope xmlns='http://example.invalid/qxapiv32'>\n<Header>\n<version>3.2</version>\n"
                    "<application>\n<hostip>10.1.1.1</hostip>\n</application>\n<disablevalidation/>\n</Header>\n"
                    "<Body>\n<NsaServerOperation>\n<" + op + ">\n";
    for (const auto& [n, v] : sentences) d += "<" + n + ">" + v + "</" + n + ">\n";
    return d + "</" + op + ">\n</NsaServerOperation>\n</Body>\n</Envelope>\n";
}

// The bridge call as the client wraps a document: escaped into xmlPayload.
inline std::string soap_call(const std::string& document) {
    std::string escaped;
    for (char c : document) escaped += c == '<' ? "&lt;" : c == '>' ? "&gt;" : std::string(1, c);
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<soap:Envelope>\n<soap:Body>\n"
           "<m:executeTextTransport xmlns:m=\"urn:VELTRA-Kestrel:BridgeXMLInterface.v3\">\n<xmlPayload>" +
           escaped + "</xmlPayload>\n</m:executeTextTransport>\n</soap:Body>\n</soap:Envelope>";
}

// The whole HTTP request of a bridge call, header lines ending in a line feed.
inline std::string bridge_http(const std::string& authorization, const std::string& document) {
    std::string body = soap_call(document);
    return "POST /qxbridge HTTP/1.1\nHost:h:12301\nUser-Agent: SoapClient 1.0\nAuthorization: " + authorization +
           "\nContent-Type:text/xml; charset=utf-8\nContent-Length:" + std::to_string(body.size()) +
           "\nSOAPAction:\"x\"\n\n" + body;
}

}  // namespace simtest
