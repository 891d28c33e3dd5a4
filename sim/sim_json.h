// A small JSON reader for the simulator's scenario files: enough of RFC 8259
// to read objects (member order and repeated keys kept), arrays, strings,
// numbers, booleans and null.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace talosim {

struct JsonMember;

struct JsonValue {
    enum class Kind { null, boolean, number, string, array, object };
    Kind kind = Kind::null;
    bool boolean = false;
    double number = 0;
    std::string text;                                         // string, or a number's own text
    std::vector<JsonValue> items;                             // array
    // A vector of an incomplete type is allowed; a pair of one is not.
    std::vector<JsonMember> members;                          // object, in file order

    bool is(Kind k) const { return kind == k; }
    // First member of that name, or null when absent or not an object.
    const JsonValue* find(std::string_view key) const;
    // A string member, or `fallback` when absent; numbers are given as written.
    std::string get(std::string_view key, std::string_view fallback = "") const;
};

struct JsonMember {
    std::string key;
    JsonValue value;
};

// Parses a whole document. On failure returns false and puts a message with
// the line number into `error`. Nesting deeper than 64 levels is refused.
bool parse_json(std::string_view text, JsonValue& out, std::string& error);

}  // namespace talosim
