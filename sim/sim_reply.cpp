#include "sim_reply.h"

namespace talosim {

namespace {
void append_text(std::string& out, std::string_view value) {
    for (char c : value) {
        if (c == '<') out += "&lt;";
        else if (c == '>') out += "&gt;";
        else out += c;
    }
}
}  // namespace

std::string element(std::string_view name, std::string_view value) {
    std::string out;
    out.reserve(name.size() * 2 + value.size() + 6);
    out += '<';
    out += name;
    out += '>';
    append_text(out, value);
    out += "</";
    out += name;
    out += ">\n";
    return out;
}

std::string category(std::string_view label, const std::vector<Field>& fields) {
    std::string out = "<LabelName xsd:type=\"u:string\">";
    append_text(out, label);
    out += "</LabelName>\n<Category>\n";
    for (const Field& f : fields) out += element(f.name, f.value);
    out += "</Category>\n";
    return out;
}

std::string name_id_array(std::string_view label, const std::vector<std::pair<std::string, std::string>>& rows) {
    if (rows.empty()) return {};
    size_t size = 128 + label.size();
    for (const auto& [name, id] : rows) size += name.size() + id.size() + 24;
    std::string out;
    out.reserve(size);
    out += "<LabelName xsd:type=\"u:string\">";
    append_text(out, label);
    out += "</LabelName>\n<ArrayOfString xsd:type=\"u:string[2," + std::to_string(rows.size()) + "]\">\n";
    for (const auto& [name, id] : rows) {
        out += element("Name", name);
        out += element("ID", id);
    }
    out += "</ArrayOfString>\n";
    return out;
}

std::string success_message(std::string_view text) { return element("SuccessMsg", text); }

std::string failure_message(std::string_view text, int number) {
    return element("NotSuccessMsg", text) + element("MessageNum", std::to_string(number));
}

std::string legacy_envelope(std::string_view content) {
    std::string out;
    out.reserve(content.size() + 200);
    out +=
        "<SOAP:Envelope xmlns:SOAP=\"urn:schemas-xmlsoap-org:soap.v1\">\n"
        "<SOAP:Body=tessel-brindle:qxapi.v1>\n"
        "<m:getResponse xmlns:m=\"FENN-URI\">\n";
    out += content;
    out += "</m:getResponse>\n</SOAP:Body>\n</SOAP:Envelope>\n";
    return out;
}

std::string v3_envelope(int status, std::string_view description, std::string_view content, std::string_view ns) {
    std::string out;
    out.reserve(content.size() + description.size() + 2 * ns.size() + 200);
    if (ns.empty()) {
        out = "<SOAP:Envelope>\n";
    } else {
        out = "<SOAP:Envelope xmlns=\"";
        out += ns;
        out += "\" xmlns:qxapi=\"";
        out += ns;
        out += "\">\n";
    }
    out += "<SOAP:Body>\n<version>3.2</version>\n";
    out += element("statuscode", std::to_string(status));
    out += element("statusdescription", description);
    out += content;
    out += "</SOAP:Body>\n</SOAP:Envelope>\n";
    return out;
}

}  // namespace talosim
