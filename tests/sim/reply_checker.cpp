#include "reply_checker.h"

#include <cstdio>

namespace simtest {

const std::string* Reading::find(std::string_view name, int n) const {
    for (const Item& i : items)
        if (i.name == name && --n == 0) return &i.value;
    return nullptr;
}

int Reading::count(std::string_view name) const {
    int c = 0;
    for (const Item& i : items) c += i.name == name;
    return c;
}

namespace {

enum class Row { step_over, wrapper, array, category, label, info };

// The client's table of element openings, matched as prefixes.
Row classify(std::string_view s) {
    static constexpr std::pair<std::string_view, Row> table[] = {
        {"<SOAP:Envelope xmlns:SOAP=\"urn:schemas-xmlsoap-org:soap.v1\">", Row::step_over},
        {"<SOAP:Envelope>", Row::step_over},
        {"<SOAP:Body=tessel-brindle:qxapi.v1>", Row::step_over},
        {"<SOAP:Body>", Row::step_over},
        {"<object>", Row::wrapper},
        {"<OBJECT>", Row::wrapper},
        {"<membervirtualdisks>", Row::wrapper},
        {"<member>", Row::wrapper},
        {"<linkscells>", Row::wrapper},
        {"<link>", Row::wrapper},
        {"<remotevdisk>", Row::wrapper},
        {"<remotevdiskmembers>", Row::wrapper},
        {"<m:getResponse xmlns:m=\"FENN-URI\">", Row::step_over},
        {"<ArrayOfString xsd:type=\"u:string[", Row::array},
        {"<Category>", Row::category},
        {"<LabelName xsd:type=\"u:string\">", Row::label},
    };
    for (const auto& [text, row] : table)
        if (s.substr(0, text.size()) == text) return row;
    return Row::info;
}

struct Frame {
    std::string name;
    Row row;
    std::string category;
    int per_row = 0, rows_left = 0, in_row = 0;
};

}  // namespace

Reading read_reply(std::string_view doc) {
    Reading r;
    std::vector<Frame> stack;
    std::string label;
    size_t pos = 0;
    auto fail = [&](std::string what) {
        r.error = what + " at: " + std::string(doc.substr(pos, 60));
        return r;
    };
    auto current_category = [&]() { return stack.empty() ? std::string() : stack.back().category; };
    for (;;) {
        pos = doc.find('<', pos);
        if (pos == std::string_view::npos) break;
        std::string_view s = doc.substr(pos);
        size_t gt = s.find('>');
        if (gt == std::string_view::npos) return fail("no '>'");
        if (s[1] == '/') {
            if (stack.empty()) return fail("closing tag without an opening");
            Frame f = stack.back();
            stack.pop_back();
            if (s.substr(2, f.name.size()) != f.name) return fail("expected </" + f.name);
            if (f.row == Row::array && (f.rows_left != 0 || f.in_row != 0)) return fail("array shorter than its counts");
            pos += gt + 1;
            continue;
        }
        size_t start = 1;
        while (start < s.size() && (s[start] == '<' || s[start] == ' ')) ++start;
        size_t end = s.find_first_of(" >=", start);
        std::string name(s.substr(start, end - start));
        if (name.empty()) return fail("zero-length name");
        Row row = classify(s);
        if (!stack.empty() && stack.back().row == Row::array && row != Row::info)
            return fail("only flat elements may stand in an array row");
        switch (row) {
        case Row::step_over:
        case Row::wrapper:
        case Row::category:
            stack.push_back({name, row, row == Row::category ? label : current_category()});
            if (row == Row::category) r.categories.push_back(label);
            pos += gt + 1;
            break;
        case Row::array: {
            int x = 0, y = 0;
            if (std::sscanf(std::string(s.substr(0, gt)).c_str(), "<ArrayOfString xsd:type=\"u:string[%d,%d]", &x, &y) != 2 ||
                x <= 0 || y < 0)
                return fail("bad array counts");
            stack.push_back({name, row, current_category(), x, y, 0});
            r.array_label = label;
            pos += gt + 1;
            break;
        }
        case Row::label:
        case Row::info: {
            std::string value;
            size_t after = gt + 1;
            if (name.back() == '/') {
                name.pop_back();
            } else {
                size_t lt = s.find('<', after);
                if (lt == std::string_view::npos) return fail("no '<' after a value");
                value.assign(s.substr(after, lt - after));
                std::string close = "</" + name;
                if (s.substr(lt, close.size()) != close) return fail("element nested in " + name + " or no end tag");
                size_t close_gt = s.find('>', lt);
                if (close_gt == std::string_view::npos) return fail("no '>'");
                after = close_gt + 1;
            }
            pos += after;
            if (row == Row::label) {
                while (!value.empty() && value.back() == ' ') value.pop_back();
                label = value;
                break;
            }
            if (!stack.empty() && stack.back().row == Row::array) {
                Frame& a = stack.back();
                if (a.rows_left == 0) return fail("more items than the array's counts");
                if (a.in_row == 0) r.rows.emplace_back();
                r.rows.back().emplace_back(name, value);
                if (++a.in_row == a.per_row) {
                    a.in_row = 0;
                    --a.rows_left;
                }
            } else {
                r.items.push_back({name, value, current_category()});
            }
            break;
        }
        }
    }
    if (!stack.empty()) return fail("unclosed " + stack.back().name);
    r.ok = true;
    return r;
}

}  // namespace simtest
