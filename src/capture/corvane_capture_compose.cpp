#include "corvane_capture_compose.h"

#include <strings.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

#include "corvane_capture_script.h"
#include "corvane_state.h"
#include "corvane_token_scan.h"

namespace {

// The command being composed; kept within ss_capture_command_size - 1 characters.
std::string command;

constexpr char removed_characters[] = "?\"/\\<>*|:&+,%";

}  // namespace

const _xlate_info xlate_write_cache[2] = {
    {"Mirrored write-back", "MIRRORED_WRITEBACK"},
    {"Unmirrored write-back", "NOMIRRORED_WRITEBACK"},
};
const _xlate_info xlate_read_cache[2] = {
    {"On", "READ_CACHE"},
    {"Off", "NOREAD_CACHE"},
};
const _xlate_info xlate_write_protect[2] = {
    {"No", "NOWRITE_PROTECT"},
    {"Yes", "WRITE_PROTECT"},
};
const _xlate_info xlate_preferred[4] = {
    {"Path A-Failover only", "PATH_A_FAILOVER"},
    {"Path A-Failover/failback", "PATH_A_BOTH"},
    {"Path B-Failover only", "PATH_B_FAILOVER"},
    {"Path B-Failover/failback", "PATH_B_BOTH"},
};
const _xlate_info xlate_dr_access[2] = {
    {"readonly", "READONLY"},
    {"disable", "DISABLE"},
};
const _xlate_info xlate_dr_suspend[2] = {
    {"suspend", "SUSPEND"},
    {"resume", "NOSUSPEND"},
};
const _xlate_info xlate_dr_failsafe[2] = {
    {"enabled", "FAILSAFE"},
    {"disabled", "NOFAILSAFE"},
};

const char* ss_capture_command() { return command.c_str(); }

int add_to_command(const char* text) {
    size_t length = std::strlen(text);
    if (command.size() + length > ss_capture_command_size - 1) {
        std::fprintf(OutFile, "\nError: Command becomes too long when adding %s.  Command so far:\n       %s", text,
                     command.c_str());
        return 1;
    }
    if (std::strchr(text, '"')) {
        command.append(text, length);
    } else {
        for (size_t i = 0; i < length; ++i)
            command.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(text[i]))));
    }
    return 0;
}

int start_command(const char* text) {
    command.clear();
    return add_to_command(text);
}

// Each piece goes in as one text, so a piece that does not fit leaves the
// command as it was.
int keyword_only(const char* text) { return add_to_command((std::string(" ") + text).c_str()); }

int quote_only(const char* text) { return add_to_command((std::string(" \"") + text + "\"").c_str()); }

int keyword_eq_string(const char* keyword, const char* value) {
    return add_to_command((std::string(" ") + keyword + "=" + value).c_str());
}

int keyword_eq_quote_string(const char* keyword, const char* value) {
    return add_to_command((std::string(" ") + keyword + "=\"" + value + "\"").c_str());
}

int write_command() {
    command.push_back('\n');
    int status = ss_write_script(command.data(), command.size());
    command.pop_back();
    return status;
}

int comment_only(const char* text) {
    return ss_write_script("! ", 2) || ss_write_script(text, std::strlen(text)) || ss_write_script("\n", 1);
}

int write_comments(const char* text) {
    size_t length = std::strlen(text);
    while (length > ss_capture_command_size) {
        // At the last space at or before the 2048th character; a text with
        // no space there is cut at 2048 characters.
        size_t cut = ss_capture_command_size;
        while (cut > 0 && text[cut - 1] != ' ') --cut;
        size_t take = cut > 0 ? cut - 1 : ss_capture_command_size;
        std::string part(text, take);
        if (comment_only(part.c_str())) return 1;
        size_t skip = cut > 0 ? cut : take;
        text += skip;
        length -= skip;
    }
    return comment_only(text);
}

void ss_capture_comment(_token_info* tree, const char* token_name) {
    const char* value = scan_notrequired_token(token_name, tree, 1);
    if (!value || !*value) return;
    std::string cleaned(value);
    cleaned.resize(remove_special_characters(cleaned.data()));
    if (cleaned.empty()) return;
    keyword_eq_quote_string("COMMENT", cleaned.c_str());
}

bool match(const char* a, const char* b) { return std::strlen(a) == std::strlen(b) && strcasecmp(a, b) == 0; }

int xlate_token_value(const char** value, const _xlate_info* table, size_t table_size) {
    size_t rows = table_size / sizeof(_xlate_info);
    for (size_t i = 0; i < rows; ++i) {
        if (match(*value, table[i].reply)) {
            *value = table[i].keyword;
            return 0;
        }
    }
    std::fprintf(OutFile, "\nError: Cannot translate token \"%s\".  Choices are the following:", *value);
    for (size_t i = 0; i < rows; ++i) std::fprintf(OutFile, "\n       %s", table[i].reply);
    return 1;
}

size_t remove_special_characters(char* text) {
    size_t kept = 0;
    for (size_t i = 0; text[i]; ++i) {
        auto c = static_cast<signed char>(text[i]);
        if (c < 32 || c == 127 || std::strchr(removed_characters, c)) continue;
        text[kept++] = text[i];
    }
    text[kept] = '\0';
    return kept;
}

int ss_capture_check_length(const char* token_name, const char* value) {
    if (std::strlen(value) <= ss_capture_value_limit) return 0;
    std::fprintf(OutFile, "\nError: Token \"%s\" is longer than %zu characters:\n       %s", token_name,
                 ss_capture_value_limit, value);
    return 1;
}
