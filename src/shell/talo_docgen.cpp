// Writes the documents made from the keyword tables, so that they list the
// commands the parser takes and never drift from it:
//
//   talo-docgen man OUT               the talo(1) manual page
//   talo-docgen bash OUT              the bash completion of talo
//   talo-docgen commands OUT          the command reference (Markdown)
//   talo-docgen sim-man HELP OUT      talo-sim(1) from the text of talo-sim --help
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "corvane_kwt.h"

namespace {

bool visible(const _kw_desc* e) { return !(e->flags & (kw_hidden | kw_disabled | kw_unmatchable)); }

template <typename F>
void each_entry(const _kw_desc* table, F f) {
    for (const _kw_desc* e = table;; ++e) {
        f(e);
        if (e->flags & kw_last) break;
    }
}

// Roff text: backslashes doubled, a leading "." or "'" kept from being a request.
std::string roff_escape(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '\\') out += "\\e";
        else if (c == '-') out += "\\-";
        else out += c;
    }
    if (!out.empty() && (out[0] == '.' || out[0] == '\'')) out.insert(0, "\\&");
    return out;
}

// What may follow a keyword: its visible keywords, or the description of
// the free text it takes, as one short line.
std::string what_follows(const _kw_desc* table, bool roff) {
    if (!table) return "";
    std::string text;
    each_entry(table, [&](const _kw_desc* e) {
        if (!visible(e)) return;
        if (!text.empty()) text += " | ";
        if (e->flags & kw_free_text)
            text += roff ? std::string("\\fI") + roff_escape(e->text) + "\\fR" : std::string("*") + e->text + "*";
        else
            text += std::string(e->text) + ((e->flags & kw_assign) ? "=" : "");
    });
    return text;
}

std::string value_of(const _kw_desc* e, bool roff) {
    std::string value;
    if (e->flags & kw_string) value = "\"text\"";
    else if (e->flags & (kw_decimal | kw_hex | kw_octal)) value = "number";
    if (!value.empty() && roff) value = std::string("\\fI") + value + "\\fR";
    return value;
}

void write_commands_roff(std::ostream& out) {
    each_entry(Corvane_kwt, [&](const _kw_desc* top) {
        if (!visible(top)) return;
        if (!top->next) {
            out << ".TP\n.B " << top->text << "\n" << "Takes nothing more.\n";
            return;
        }
        bool keywords = false;
        each_entry(top->next, [&](const _kw_desc* e) { keywords |= visible(e) && !(e->flags & kw_free_text); });
        if (!keywords) {
            out << ".TP\n.B " << top->text << "\n" << what_follows(top->next, true) << "\n";
            return;
        }
        each_entry(top->next, [&](const _kw_desc* second) {
            if (!visible(second)) return;
            out << ".TP\n.B " << top->text << " ";
            if (second->flags & kw_free_text)
                out << "\n\\fI" << roff_escape(second->text) << "\\fR\n";
            else {
                std::string value = value_of(second, true);
                out << second->text << ((second->flags & kw_assign) ? "=" : "") << "\n";
                std::string next = what_follows(second->next, true);
                if (!value.empty()) out << value << (next.empty() ? "" : ", then ") << next << "\n";
                else out << (next.empty() ? "Takes nothing more." : next) << "\n";
            }
        });
    });
}

void write_man(std::ostream& out) {
    out << ".TH TALO 1 \"\" \"talo\" \"User Commands\"\n"
           ".SH NAME\n"
           "talo \\- script the storage systems of a management server\n"
           ".SH SYNOPSIS\n"
           ".B talo\n[\\fICOMMAND\\fR...]\n.br\n"
           ".B talo \\-\\-check\n\\fIFILE\\fR...\n.br\n"
           ".B talo \\-\\-help\n.br\n"
           ".B talo \\-\\-version\n"
           ".SH DESCRIPTION\n"
           ".B talo\n"
           "selects a management server and a storage system on it, shows and changes the system's\n"
           "objects, and captures a configuration as a script that builds it again.\n"
           "Commands come from three sources:\n"
           ".TP\n.B the invocation line\n"
           "every argument is one complete command (quote it for the shell); each is echoed before it runs.\n"
           ".TP\n.B the keyboard\n"
           "with no argument, talo prompts with the selected system's name and runs each line typed.\n"
           "On a terminal the line can be edited, earlier lines recalled, and keywords completed with Tab.\n"
           ".TP\n.B command files\n"
           "\\fBFILE\\fR \\fIname\\fR runs the lines of a file one by one; files may name other files.\n"
           ".PP\n"
           "Keywords may be abbreviated to any unique prefix and are not case sensitive; \\fB?\\fR at any\n"
           "point lists what may follow. Lines are at most 2046 characters.\n"
           ".PP\n"
           "\\fB\\-\\-check\\fR reads command files and reports the lines the parser refuses, sending nothing.\n"
           "\\fB\\-\\-help\\fR and \\fB\\-\\-version\\fR print the usage and the version.\n"
           ".SH COMMANDS\n"
           "Each command with the words that may follow it; \\fIitalics\\fR name a value.\n";
    write_commands_roff(out);
    out << ".SH FILES\n"
           ".TP\n.I ~/.talo_history\n"
           "the lines typed at the keyboard, kept private (lines holding a password are left out).\n"
           ".TP\n.I /tmp/EMClientAPIDebug.txt\n"
           "the client library's log, written under \\fBDEBUG FENN_FLAGS\\fR; it holds credentials and is private.\n"
           ".TP\n.I /tmp/EMClientAPIPersist.txt\n"
           "the older element manager's session cookie, a private file.\n"
           ".SH SEE ALSO\n"
           ".BR talo-sim (1)\n";
}

void write_commands_markdown(std::ostream& out) {
    out << "# TALO command reference\n\n"
           "Generated from the keyword tables. Keywords may be abbreviated to any unique prefix; "
           "`?` at any point lists what may follow. *Italics* name a value.\n\n";
    each_entry(Corvane_kwt, [&](const _kw_desc* top) {
        if (!visible(top)) return;
        out << "## " << top->text << "\n\n";
        if (!top->next) {
            out << "`" << top->text << "` takes nothing more.\n\n";
            return;
        }
        each_entry(top->next, [&](const _kw_desc* second) {
            if (!visible(second)) return;
            if (second->flags & kw_free_text) {
                out << "- `" << top->text << "` *" << second->text << "*";
                std::string next = what_follows(second->next, false);
                if (!next.empty()) out << ", then " << next;
                out << "\n";
                return;
            }
            out << "- `" << top->text << " " << second->text << ((second->flags & kw_assign) ? "=" : "") << "`";
            std::string value = value_of(second, false);
            std::string next = what_follows(second->next, false);
            if (!value.empty()) out << " " << value;
            if (!next.empty()) out << (value.empty() ? " " : ", then ") << next;
            out << "\n";
        });
        out << "\n";
    });
}

// The bash completion: every table a node, walked the way the parser walks
// them (exact word first, a unique prefix, full-word keywords only in full,
// free text taking any other word), so abbreviations typed earlier count.
void write_bash(std::ostream& out) {
    std::map<const _kw_desc*, int> number;
    std::vector<const _kw_desc*> tables;
    auto node = [&](const _kw_desc* t) -> int {
        if (!t) return -1;
        auto [it, added] = number.emplace(t, static_cast<int>(tables.size()));
        if (added) tables.push_back(t);
        return it->second;
    };
    node(Corvane_kwt);
    out << "# bash completion for talo, generated from its keyword tables.\n"
           "# Each node: _talo_w_N keywords, _talo_f_N their flags (h hidden, f whole word only,\n"
           "# a takes \"=\", v then a value word), _talo_n_N the node after each (-1: the end),\n"
           "# _talo_t_N the node after a free-text word (-2: no free text).\n";
    for (size_t i = 0; i < tables.size(); ++i) {
        std::string words, flags, next;
        int free_next = -2;
        bool stop = false;
        each_entry(tables[i], [&](const _kw_desc* e) {
            if (stop || (e->flags & (kw_unmatchable | kw_disabled))) return;
            if (e->flags & kw_free_text) {
                free_next = node(e->next);
                stop = true;  // the parser never reaches past free text
                return;
            }
            std::string f;
            if (e->flags & kw_hidden) f += 'h';
            if (e->flags & kw_full_word) f += 'f';
            if (e->flags & kw_assign) f += 'a';
            if (e->flags & (kw_string | kw_decimal | kw_hex | kw_octal)) f += 'v';
            if (f.empty()) f += '-';
            (words += ' ') += e->text;
            (flags += ' ') += f;
            (next += ' ') += std::to_string(node(e->next));
        });
        out << "_talo_w_" << i << "=(" << words << " )\n"
            << "_talo_f_" << i << "=(" << flags << " )\n"
            << "_talo_n_" << i << "=(" << next << " )\n"
            << "_talo_t_" << i << "=" << free_next << "\n";
    }
    out << R"BASH(
# Sets _talo_node to where `word` leads from node $1; fails when the parser
# would refuse it. _talo_value is set when a value word follows.
_talo_step() {
    local -n words=_talo_w_$1 flags=_talo_f_$1 nexts=_talo_n_$1 freetext=_talo_t_$1
    local w=${2^^} i found=-1
    for i in "${!words[@]}"; do
        if [[ ${words[i]} == "$w" ]]; then found=$i; break; fi
        if [[ ${words[i]} == "$w"* && ${flags[i]} != *f* ]]; then
            [[ $found -ge 0 ]] && return 1
            found=$i
        fi
    done
    _talo_value=0
    if [[ $found -ge 0 ]]; then
        _talo_node=${nexts[found]}
        [[ ${flags[found]} == *v* ]] && _talo_value=1
        return 0
    fi
    [[ $freetext -eq -2 ]] && return 1
    _talo_node=$freetext
}

_talo() {
    local cur=${COMP_WORDS[COMP_CWORD]} i w _talo_node=0 _talo_value=0 skip=0
    [[ $cur == "=" ]] && cur=
    if [[ $COMP_CWORD -eq 1 && $cur == -* ]]; then
        COMPREPLY=($(compgen -W "--check --help --version -h" -- "$cur"))
        return
    fi
    [[ ${COMP_WORDS[1]} == --check ]] && { COMPREPLY=($(compgen -f -- "$cur")); return; }
    for ((i = 1; i < COMP_CWORD; i++)); do
        w=${COMP_WORDS[i]}
        [[ $w == "=" ]] && continue
        if [[ $skip -eq 1 ]]; then skip=0; continue; fi
        [[ $_talo_node -lt 0 ]] && return
        _talo_step "$_talo_node" "$w" || return
        skip=$_talo_value
    done
    [[ $skip -eq 1 || $_talo_node -lt 0 ]] && return
    local -n words=_talo_w_$_talo_node flags=_talo_f_$_talo_node
    local offer=() up=${cur^^}
    for i in "${!words[@]}"; do
        [[ ${words[i]} == "$up"* ]] || continue
        [[ ${flags[i]} == *h* && ${words[i]} != "$up" ]] && continue
        if [[ ${flags[i]} == *a* ]]; then offer+=("${words[i]}="); else offer+=("${words[i]}"); fi
    done
    COMPREPLY=("${offer[@]}")
    [[ ${#offer[@]} -eq 1 && ${offer[0]} == *= ]] && compopt -o nospace 2>/dev/null
}
complete -F _talo talo
)BASH";
}

// talo-sim(1) from its --help text: the usage line, the first paragraph as
// the description, the option lines, and the rest as it is laid out.
void write_sim_man(std::istream& help, std::ostream& out) {
    std::vector<std::string> lines;
    for (std::string line; std::getline(help, line);) lines.push_back(line);
    out << ".TH TALO-SIM 1 \"\" \"talo\" \"User Commands\"\n"
           ".SH NAME\n"
           "talo-sim \\- a simulated storage management server for trying talo\n"
           ".SH SYNOPSIS\n"
           ".B talo-sim\n[\\fIOPTIONS\\fR]\n"
           ".SH DESCRIPTION\n";
    size_t i = 0;
    if (i < lines.size() && lines[i].rfind("Usage:", 0) == 0) ++i;
    for (; i < lines.size() && !lines[i].empty(); ++i) out << roff_escape(lines[i]) << "\n";
    bool in_options = false, in_block = false;
    for (; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line == "Options:") {
            out << ".SH OPTIONS\n";
            in_options = true;
            continue;
        }
        if (line.empty()) {
            if (in_block) out << ".fi\n";
            in_block = false;
            if (in_options) out << ".SH DETAILS\n";
            else out << ".PP\n";
            in_options = false;
            continue;
        }
        if (in_options) {
            if (line.rfind("  -", 0) == 0) {
                // The option, then its argument when one follows in capitals.
                std::istringstream words(line);
                std::string option, word, rest;
                words >> option;
                std::streampos after = words.tellg();
                if (words >> word && word.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ") == std::string::npos)
                    (option += ' ') += word;
                else
                    words.seekg(after);
                words.clear();
                std::getline(words >> std::ws, rest);
                out << ".TP\n.B " << roff_escape(option) << "\n";
                if (!rest.empty()) out << roff_escape(rest) << "\n";
            } else {
                size_t first = line.find_first_not_of(' ');
                out << roff_escape(line.substr(first)) << "\n";
            }
            continue;
        }
        // Indented lines are tables: kept as laid out.
        bool indented = line[0] == ' ';
        if (indented && !in_block) out << ".nf\n";
        if (!indented && in_block) out << ".fi\n";
        in_block = indented;
        out << roff_escape(line) << "\n";
    }
    if (in_block) out << ".fi\n";
    out << ".SH SEE ALSO\n.BR talo (1)\n";
}

}  // namespace

int main(int argc, char** argv) {
    std::string mode = argc > 1 ? argv[1] : "";
    int outputs = mode == "sim-man" ? 4 : 3;
    if (argc != outputs || (mode != "man" && mode != "bash" && mode != "commands" && mode != "sim-man")) {
        std::cerr << "usage: talo-docgen man|bash|commands OUT\n       talo-docgen sim-man HELP OUT\n";
        return 2;
    }
    std::ostringstream text;
    if (mode == "man") write_man(text);
    else if (mode == "bash") write_bash(text);
    else if (mode == "commands") write_commands_markdown(text);
    else {
        std::ifstream help(argv[2]);
        if (!help) {
            std::cerr << "talo-docgen: cannot read " << argv[2] << "\n";
            return 1;
        }
        write_sim_man(help, text);
    }
    std::ofstream out(argv[argc - 1], std::ios::binary);
    out << text.str();
    out.close();
    if (!out) {
        std::cerr << "talo-docgen: cannot write " << argv[argc - 1] << "\n";
        return 1;
    }
    return 0;
}
