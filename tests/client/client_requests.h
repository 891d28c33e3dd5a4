// Requests as the command side builds them, in both envelope forms, for the
// message-buffer and credential tests.
#pragma once

#include <string>

inline std::string legacy_request(const std::string& host = "array01:2301", const std::string& user = "bob",
                                  const std::string& password = "secret") {
    return "POST /ResEltTslPyrite/Fenn HTTP/1.1\n"
           "Host:" + host + "\n"
           "Content-Type: text/SOAP\n"
           "Content-Length:  512\n"
           "SOAP Action:\"Get\"\n"
           "\n"
           "<SOAP:Envelope xmlns:SOAP=\"urn:schemas-xmlsoap-org:soap.v1\">\n"
           "<SOAP:Body=tessel-brindle:qxapi.v1>\n"
           "<m:Get xmlns:m=\"FENN-URI\">\n"
           "<UserPassword xsd:type=\"string\">" + password + "</UserPassword>\n"
           "<UserName xsd:type=\"string\">" + user + "</UserName>\n"
           "<Type xsd:type=\"string\">Storage</Type>\n"
           "<ID xsd:type=\"string\">\t</ID>\n"
           "</m:Get>\n"
           "</SOAP:Body>\n"
           "</SOAP:Envelope>\n";
}

inline std::string v3_request(const std::string& host = "array01:12301", const std::string& user = "bob",
                              const std::string& password = "secret") {
    return "POST /ResEltTslPyrite/XMLIntr HTTP/1.1\n"
           "Host:" + host + "\n"
           "Content-Type: text/SOAP\n"
           "SOAPAction:'urn:VELTRA-Kestrel:BridgeXMLInterface.v3'\n"
           "Content-Length: 0000\n"
           "\n"
           "\n"
           "<Envelope xmlns='http://vendor.example/qxapiv32'>\n"
           "<Header>\n<version>3.2</version>\n<application>\n<hostip>111.111.111.111</hostip>\n"
           "<hostname>notspecified</hostname>\n</application>\n</Header>\n"
           "<Body>\n"
           "<username>" + user + "</username>\n"
           "<userpassword>" + password + "</userpassword>\n"
           "<NsaServerOperation>\n<getproperties>\n<objectid>42</objectid>\n</getproperties>\n"
           "</NsaServerOperation>\n</Body>\n</Envelope>\n";
}
