#include "sim_request.h"

namespace talosim {

const std::string& Request::get(std::string_view name) const {
    static const std::string empty;
    for (const Field& f : sentences)
        if (f.name == name) return f.value;
    return empty;
}

bool Request::has(std::string_view name) const {
    for (const Field& f : sentences)
        if (f.name == name) return true;
    return false;
}

std::vector<std::string> Request::all(std::string_view name) const {
    std::vector<std::string> out;
    for (const Field& f : sentences)
        if (f.name == name) out.push_back(f.value);
    return out;
}

namespace {

bool is_space(char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t'; }

size_t skip_space(std::string_view s, size_t pos) {
    while (pos < s.size() && is_space(s[pos])) ++pos;
    return pos;
}

// Reads the flat elements from `pos` up to the closing tag `end_tag`.
bool read_elements(std::string_view doc, size_t pos, std::string_view end_tag, std::vector<Field>& out,
                   std::string& error) {
    for (;;) {
        pos = skip_space(doc, pos);
        if (pos >= doc.size()) {
            error = "missing " + std::string(end_tag);
            return false;
        }
        if (doc.substr(pos, end_tag.size()) == end_tag) return true;
        if (doc[pos] != '<' || pos + 1 >= doc.size() || doc[pos + 1] == '/') {
            error = "unexpected text in the operation element";
            return false;
        }
        size_t name_end = doc.find_first_of(" \t\r\n/>", pos + 1);
        size_t tag_end = doc.find('>', pos);
        if (name_end == std::string_view::npos || tag_end == std::string_view::npos || name_end == pos + 1) {
            error = "malformed element";
            return false;
        }
        std::string name(doc.substr(pos + 1, name_end - pos - 1));
        if (doc[tag_end - 1] == '/') {  // <name/> or <name attr="x"/>
            out.push_back({name, ""});
            pos = tag_end + 1;
            continue;
        }
        std::string close = "</" + name + ">";
        size_t value_end = doc.find(close, tag_end + 1);
        if (value_end == std::string_view::npos) {
            error = "missing " + close;
            return false;
        }
        out.push_back({name, std::string(doc.substr(tag_end + 1, value_end - tag_end - 1))});
        pos = value_end + close.size();
    }
}

std::string element_text(std::string_view doc, std::string_view name) {
    std::string open = std::string("<").append(name).append(">");
    size_t start = doc.find(open);
    if (start == std::string_view::npos) return {};
    start += open.size();
    size_t end = doc.find("</" + std::string(name) + ">", start);
    return end == std::string_view::npos ? std::string() : std::string(doc.substr(start, end - start));
}

}  // namespace

bool parse_request_document(std::string_view doc, Request& out, std::string& error) {
    out = Request{};
    size_t op = doc.find("<NsaServerOperation>");
    if (op != std::string_view::npos) {
        out.form = Form::v3;
        out.version = element_text(doc.substr(0, op), "version");
        size_t pos = skip_space(doc, op + 20);
        if (pos >= doc.size() || doc[pos] != '<' || (pos + 1 < doc.size() && doc[pos + 1] == '/')) {
            error = "no operation inside NsaServerOperation";
            return false;
        }
        size_t name_end = doc.find_first_of(" \t\r\n/>", pos + 1);
        size_t tag_end = doc.find('>', pos);
        if (name_end == std::string_view::npos || tag_end == std::string_view::npos) {
            error = "malformed operation element";
            return false;
        }
        out.operation.assign(doc.substr(pos + 1, name_end - pos - 1));
        if (doc[tag_end - 1] == '/') return !out.operation.empty() || (error = "empty operation name", false);
        return read_elements(doc, tag_end + 1, "</" + out.operation + ">", out.sentences, error);
    }
    size_t env = doc.find("<SOAP:Envelope");
    size_t start = env == std::string_view::npos ? std::string_view::npos : doc.find("<m:", env);
    if (start == std::string_view::npos) {
        error = "neither a legacy nor a version-3 request document";
        return false;
    }
    out.form = Form::legacy;
    size_t name_end = doc.find_first_of(" \t\r\n/>", start + 3);
    size_t tag_end = doc.find('>', start);
    if (name_end == std::string_view::npos || tag_end == std::string_view::npos || name_end == start + 3) {
        error = "malformed operation element";
        return false;
    }
    out.operation.assign(doc.substr(start + 3, name_end - start - 3));
    return read_elements(doc, tag_end + 1, "</m:" + out.operation + ">", out.sentences, error);
}

}  // namespace talosim
