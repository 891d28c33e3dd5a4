#include "sim_json.h"

#include <cctype>
#include <cstdlib>

namespace talosim {

const JsonValue* JsonValue::find(std::string_view key) const {
    if (kind != Kind::object) return nullptr;
    for (const auto& [name, value] : members)
        if (name == key) return &value;
    return nullptr;
}

std::string JsonValue::get(std::string_view key, std::string_view fallback) const {
    const JsonValue* v = find(key);
    if (v == nullptr) return std::string(fallback);
    if (v->kind == Kind::string || v->kind == Kind::number) return v->text;
    if (v->kind == Kind::boolean) return v->boolean ? "true" : "false";
    return std::string(fallback);
}

namespace {

constexpr int max_depth = 64;

class Reader {
public:
    explicit Reader(std::string_view text) : s_(text) {}

    bool document(JsonValue& out, std::string& error) {
        bool ok = value(out, 0) && (skip(), pos_ == s_.size() || fail("text after the document"));
        if (!ok) error = "line " + std::to_string(line()) + ": " + error_;
        return ok;
    }

private:
    std::string_view s_;
    size_t pos_ = 0;
    std::string error_;

    size_t line() const {
        size_t n = 1;
        for (size_t i = 0; i < pos_ && i < s_.size(); ++i) n += s_[i] == '\n';
        return n;
    }
    bool fail(const char* what) {
        if (error_.empty()) error_ = what;
        return false;
    }
    void skip() {
        while (pos_ < s_.size() && (s_[pos_] == ' ' || s_[pos_] == '\t' || s_[pos_] == '\n' || s_[pos_] == '\r'))
            ++pos_;
    }
    bool literal(std::string_view word) {
        if (s_.substr(pos_, word.size()) != word) return fail("unknown literal");
        pos_ += word.size();
        return true;
    }

    bool value(JsonValue& out, int depth) {
        if (depth > max_depth) return fail("nesting too deep");
        skip();
        if (pos_ >= s_.size()) return fail("unexpected end of text");
        char c = s_[pos_];
        if (c == '{') return object(out, depth);
        if (c == '[') return array(out, depth);
        if (c == '"') {
            out.kind = JsonValue::Kind::string;
            return string(out.text);
        }
        if (c == 't') { out.kind = JsonValue::Kind::boolean; out.boolean = true; return literal("true"); }
        if (c == 'f') { out.kind = JsonValue::Kind::boolean; return literal("false"); }
        if (c == 'n') { out.kind = JsonValue::Kind::null; return literal("null"); }
        return number(out);
    }

    bool number(JsonValue& out) {
        size_t start = pos_;
        if (pos_ < s_.size() && s_[pos_] == '-') ++pos_;
        size_t digits = pos_;
        while (pos_ < s_.size() && (isdigit(static_cast<unsigned char>(s_[pos_])) || s_[pos_] == '.' ||
                                    s_[pos_] == 'e' || s_[pos_] == 'E' || s_[pos_] == '+' || s_[pos_] == '-'))
            ++pos_;
        if (pos_ == digits || !isdigit(static_cast<unsigned char>(s_[digits]))) return fail("expected a value");
        out.kind = JsonValue::Kind::number;
        out.text.assign(s_.substr(start, pos_ - start));
        char* end = nullptr;
        out.number = std::strtod(out.text.c_str(), &end);
        if (end != out.text.c_str() + out.text.size()) return fail("malformed number");
        return true;
    }

    static void put_utf8(std::string& out, unsigned cp) {
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }

    bool hex4(unsigned& cp) {
        if (pos_ + 4 > s_.size()) return fail("short \\u escape");
        cp = 0;
        for (int i = 0; i < 4; ++i) {
            char h = s_[pos_++];
            cp <<= 4;
            if (h >= '0' && h <= '9') cp |= h - '0';
            else if (h >= 'a' && h <= 'f') cp |= h - 'a' + 10;
            else if (h >= 'A' && h <= 'F') cp |= h - 'A' + 10;
            else return fail("bad \\u escape");
        }
        return true;
    }

    bool string(std::string& out) {
        ++pos_;  // opening quote
        out.clear();
        while (pos_ < s_.size()) {
            char c = s_[pos_++];
            if (c == '"') return true;
            if (static_cast<unsigned char>(c) < 0x20) return fail("control character in string");
            if (c != '\\') {
                out += c;
                continue;
            }
            if (pos_ >= s_.size()) break;
            char e = s_[pos_++];
            switch (e) {
            case '"': out += '"'; break;
            case '\\': out += '\\'; break;
            case '/': out += '/'; break;
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case 'u': {
                unsigned cp = 0;
                if (!hex4(cp)) return false;
                if (cp >= 0xD800 && cp < 0xDC00 && s_.substr(pos_, 2) == "\\u") {
                    pos_ += 2;
                    unsigned low = 0;
                    if (!hex4(low)) return false;
                    if (low < 0xDC00 || low > 0xDFFF) return fail("bad surrogate pair");
                    cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                }
                put_utf8(out, cp);
                break;
            }
            default: return fail("unknown escape in string");
            }
        }
        return fail("unterminated string");
    }

    bool array(JsonValue& out, int depth) {
        out.kind = JsonValue::Kind::array;
        ++pos_;
        skip();
        if (pos_ < s_.size() && s_[pos_] == ']') { ++pos_; return true; }
        for (;;) {
            out.items.emplace_back();
            if (!value(out.items.back(), depth + 1)) return false;
            skip();
            if (pos_ >= s_.size()) return fail("unterminated array");
            char c = s_[pos_++];
            if (c == ']') return true;
            if (c != ',') return fail("expected ',' or ']'");
        }
    }

    bool object(JsonValue& out, int depth) {
        out.kind = JsonValue::Kind::object;
        ++pos_;
        skip();
        if (pos_ < s_.size() && s_[pos_] == '}') { ++pos_; return true; }
        for (;;) {
            skip();
            if (pos_ >= s_.size() || s_[pos_] != '"') return fail("expected a member name");
            std::string key;
            if (!string(key)) return false;
            skip();
            if (pos_ >= s_.size() || s_[pos_++] != ':') return fail("expected ':'");
            out.members.push_back(JsonMember{std::move(key), JsonValue{}});
            if (!value(out.members.back().value, depth + 1)) return false;
            skip();
            if (pos_ >= s_.size()) return fail("unterminated object");
            char c = s_[pos_++];
            if (c == '}') return true;
            if (c != ',') return fail("expected ',' or '}'");
        }
    }
};

}  // namespace

bool parse_json(std::string_view text, JsonValue& out, std::string& error) {
    out = JsonValue{};
    return Reader(text).document(out, error);
}

}  // namespace talosim
