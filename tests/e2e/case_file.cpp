#include "case_file.h"

#include <cctype>
#include <fstream>
#include <sstream>

#include "case_text.h"

namespace e2e {

std::string Text::bytes(const std::string& address) const {
    std::string out;
    for (const std::string& line : lines) out += expand(line, address) + "\n";
    if (!final_newline && !out.empty()) out.pop_back();
    return out;
}

bool Directive::checks_run() const {
    return kind == output || kind == output_has || kind == output_lacks || kind == status || kind == sleeps;
}

namespace {

bool whole_number(const std::string& text, long& out) {
    if (text.empty() || text.size() > 12) return false;
    for (char c : text)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    out = std::stol(text);
    return true;
}

// A name for a file in the case's working folder.
bool plain_name(const std::string& name) {
    return !name.empty() && name[0] != '/' && name.find("..") == std::string::npos &&
           name.find(' ') == std::string::npos;
}

constexpr const char* bad_name = "a file name in the working folder, without spaces or \"..\"";

class Reader {
public:
    Reader(const std::string& path, CaseFile& out) : path_(path), out_(out) {}

    // One line of the file; false with the reason in error_.
    bool line(int number, const std::string& text) {
        number_ = number;
        bool directive = text.starts_with("#>") && (text.size() == 2 || text[2] == ' ');
        if (!directive) {
            if (open_ >= 0) {
                if (std::string why = unsafe_text(text); !why.empty()) return fail("the text holds " + why);
                if (uses_address(text) && !sim_started_) return fail("@ADDR@ before \"#> sim\"");
                out_.directives[static_cast<std::size_t>(open_)].text.lines.push_back(text);
                return true;
            }
            if (out_.directives.empty()) return true;  // the description of the case
            return fail("a text line outside a text section (directives start with \"#> \")");
        }
        int ended = open_;
        open_ = -1;
        std::string rest = text.size() > 3 ? text.substr(3) : "";
        if (std::string why = unsafe_text(rest); !why.empty()) return fail("the directive holds " + why);
        if (rest.starts_with("#")) return true;
        if (rest == "no newline at end") {
            Text* text = ended >= 0 ? &out_.directives[static_cast<std::size_t>(ended)].text : nullptr;
            if (!text || text->lines.empty())
                return fail("\"no newline at end\" must follow the last line of a text section");
            text->final_newline = false;
            return true;
        }
        return directive_line(rest);
    }

    bool finish() {
        number_ = last_check_line_ ? last_check_line_ : 1;
        if (out_.directives.empty() || !last_check_line_)
            return fail("no run of talo: a case needs at least \"#> status: N\"");
        if (!close_block()) return false;
        for (auto it = out_.directives.rbegin(); it != out_.directives.rend() && !it->checks_run(); ++it) {
            if (it->kind == Directive::arg || it->kind == Directive::input || it->kind == Directive::env ||
                it->kind == Directive::clock) {
                number_ = it->line;
                return fail("this sets up a run that never comes: no check of a run follows");
            }
        }
        return true;
    }

    const std::string& error() const { return error_; }

private:
    bool fail(const std::string& what) {
        error_ = path_ + ":" + std::to_string(number_) + ": " + what;
        return false;
    }

    bool directive_line(const std::string& rest) {
        std::string head = rest, value;
        bool colon = false;
        if (std::size_t at = rest.find(':'); at != std::string::npos) {
            head = rest.substr(0, at);
            colon = true;
            if (at + 1 < rest.size()) {
                if (rest[at + 1] != ' ' || at + 2 == rest.size()) return fail("a value goes after \": \"");
                value = rest.substr(at + 2);
            }
        }
        if (uses_address(value) && !sim_started_) return fail("@ADDR@ before \"#> sim\"");

        Directive d{};
        d.line = number_;
        bool opens = false;  // a text section follows
        auto one_liner = [&](Directive::Kind kind) {
            d.kind = kind;
            d.value = value;
            return colon || fail("\"" + head + "\" needs \": VALUE\"");
        };
        auto section = [&](Directive::Kind kind) {
            d.kind = kind;
            if (!colon || !value.empty())
                return fail("\"" + head + "\" starts a text section: end the line with \":\"");
            opens = true;
            return true;
        };
        // "has" and "lacks" take one line after the colon, or a section after it.
        auto search = [&](Directive::Kind kind) {
            d.kind = kind;
            if (!colon) return fail("\"" + head + "\" needs \": TEXT\" or \":\" and a text section");
            if (!value.empty()) d.text = Text{number_, {value}, false};
            opens = value.empty();
            return true;
        };

        bool ok = true;
        if (head == "arg")
            ok = one_liner(Directive::arg);
        else if (head == "stdin")
            ok = section(Directive::input);
        else if (head == "env")
            ok = one_liner(Directive::env) &&
                 ((value.find('=') != std::string::npos && value[0] != '=') || fail("env needs NAME=VALUE"));
        else if (head == "clock")
            ok = one_liner(Directive::clock) &&
                 (whole_number(value, d.number) || fail("clock needs whole seconds since 1970"));
        else if (head.starts_with("file ") && !colon && head.find(" < ") != std::string::npos) {
            d.kind = Directive::copy;
            std::size_t at = head.find(" < ");
            d.name = head.substr(5, at - 5);
            d.value = head.substr(at + 3);
            ok = plain_name(d.name) || fail(bad_name);
        } else if (head.starts_with("file-is ")) {
            d.name = head.substr(8);
            ok = section(Directive::file_is) && (plain_name(d.name) || fail(bad_name));
        } else if (head.starts_with("file ")) {
            d.name = head.substr(5);
            ok = section(Directive::file) && (plain_name(d.name) || fail(bad_name));
        } else if (head == "no file") {
            d.name = value;
            ok = one_liner(Directive::no_file) && (plain_name(d.name) || fail(bad_name));
        } else if (head == "same file") {
            std::istringstream words(value);
            std::string extra;
            ok = one_liner(Directive::same_file) && ((words >> d.name >> d.value && !(words >> extra) &&
                                                      plain_name(d.name) && plain_name(d.value)) ||
                                                     fail("same file: A B, two names in the working folder"));
        } else if (head.starts_with("symlink ")) {
            d.name = head.substr(8);
            ok = one_liner(Directive::symlink) && (!value.empty() || fail("symlink NAME: TARGET")) &&
                 (plain_name(d.name) || fail(bad_name));
        } else if (head.starts_with("append ")) {
            d.name = head.substr(7);
            if (std::size_t comma = d.name.find(", "); comma != std::string::npos) {
                std::string times = d.name.substr(comma + 2);
                d.name = d.name.substr(0, comma);
                long n = 0;
                if (!times.ends_with(" times") || !whole_number(times.substr(0, times.size() - 6), n) || n < 1)
                    return fail("append NAME, N times:");
                d.times = static_cast<int>(n);
            }
            ok = section(Directive::append) && (plain_name(d.name) || fail(bad_name));
        } else if (head == "sim") {
            d.kind = Directive::sim;
            d.value = value;
            sim_started_ = true;
        } else if (head == "sim-control")
            ok = needs_sim() && one_liner(Directive::sim_control) &&
                 (!value.empty() || fail("sim-control needs a command"));
        else if (head.starts_with("sim-count ")) {
            d.name = head.substr(10);
            ok = needs_sim() && one_liner(Directive::sim_count);
            if (ok && value.starts_with("> ")) {
                d.more_than = true;
                value = value.substr(2);
            }
            ok = ok && (whole_number(value, d.number) || fail("sim-count NAME: N (or \"> N\")"));
        } else if (head == "output")
            ok = section(Directive::output);
        else if (head == "output has")
            ok = search(Directive::output_has);
        else if (head == "output lacks")
            ok = search(Directive::output_lacks);
        else if (head == "sim-log has")
            ok = needs_sim() && search(Directive::sim_log_has);
        else if (head == "sim-log lacks")
            ok = needs_sim() && search(Directive::sim_log_lacks);
        else if (head == "status")
            ok = one_liner(Directive::status) && (whole_number(value, d.number) || fail("status needs a number"));
        else if (head == "sleeps") {
            ok = one_liner(Directive::sleeps);
            std::istringstream seconds(value);
            for (double s; ok && seconds >> s;) {
            }
            ok = ok && (seconds.eof() || fail("sleeps needs numbers separated by spaces"));
        } else
            return fail("unknown directive \"" + head + "\"");
        if (!ok) return false;

        if (d.checks_run()) {
            if (!in_block_) block_ = {};
            in_block_ = true;
            last_check_line_ = number_;
            if (d.kind == Directive::status && block_.status++) return fail("a second status for one run");
            if (d.kind == Directive::output && block_.output++) return fail("a second output for one run");
            if (d.kind == Directive::sleeps && block_.sleeps++) return fail("a second sleeps for one run");
        } else if (!close_block()) {
            return false;
        } else if (d.kind == Directive::input && input_set_++) {
            return fail("a second stdin for one run");
        }
        if (opens) {
            d.text.first_line = number_ + 1;
            open_ = static_cast<int>(out_.directives.size());
        }
        out_.directives.push_back(std::move(d));
        return true;
    }

    // The checks of a run end at the first other directive; each run states its status.
    bool close_block() {
        if (!in_block_) return true;
        in_block_ = false;
        input_set_ = 0;
        if (!block_.status) {
            number_ = last_check_line_;
            return fail("a run without \"#> status: N\"");
        }
        return true;
    }

    bool needs_sim() { return sim_started_ || fail("no simulator yet: start one with \"#> sim\""); }

    struct Block {
        int status = 0, output = 0, sleeps = 0;
    };

    std::string path_;
    CaseFile& out_;
    std::string error_;
    int number_ = 0;
    int open_ = -1;  // the directive whose text section is being read
    bool sim_started_ = false;
    bool in_block_ = false;
    Block block_;
    int input_set_ = 0;
    int last_check_line_ = 0;
};

}  // namespace

bool read_case(const std::string& path, const std::string& shown_as, CaseFile& out, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = shown_as + ": cannot be read";
        return false;
    }
    out = CaseFile{shown_as, {}};
    Reader reader(shown_as, out);
    std::string text;
    for (int number = 1; std::getline(file, text); ++number) {
        if (!reader.line(number, text)) {
            error = reader.error();
            return false;
        }
    }
    if (!reader.finish()) {
        error = reader.error();
        return false;
    }
    return true;
}

}  // namespace e2e
