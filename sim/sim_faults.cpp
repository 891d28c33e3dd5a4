#include "sim_faults.h"

#include <cstdlib>
#include <sstream>
#include <vector>

namespace talosim {

bool Faults::take(Counter c) {
    std::lock_guard lock(mutex_);
    if (counters_[c] <= 0) return false;
    --counters_[c];
    return true;
}

void Faults::set(Counter c, int count) {
    std::lock_guard lock(mutex_);
    counters_[c] = count < 0 ? 0 : count;
}

int Faults::get(Counter c) const {
    std::lock_guard lock(mutex_);
    return counters_[c];
}

void Faults::set_split(std::size_t piece, int pause_ms) {
    std::lock_guard lock(mutex_);
    split_piece_ = piece == 0 ? 1 : piece;
    split_pause_ms_ = pause_ms < 0 ? 0 : pause_ms;
}

std::size_t Faults::split_piece() const {
    std::lock_guard lock(mutex_);
    return split_piece_;
}

int Faults::split_pause_ms() const {
    std::lock_guard lock(mutex_);
    return split_pause_ms_;
}

void Faults::set_refuse_bridge(bool on) {
    std::lock_guard lock(mutex_);
    refuse_bridge_ = on;
}

bool Faults::refuse_bridge() const {
    std::lock_guard lock(mutex_);
    return refuse_bridge_;
}

void Faults::set_cut_bytes(std::size_t bytes) {
    std::lock_guard lock(mutex_);
    cut_bytes_ = bytes;
}

std::size_t Faults::cut_bytes() const {
    std::lock_guard lock(mutex_);
    return cut_bytes_;
}

void Faults::set_older_manager(bool on) {
    std::lock_guard lock(mutex_);
    older_manager_ = on;
}

bool Faults::older_manager() const {
    std::lock_guard lock(mutex_);
    return older_manager_;
}

void Faults::reset() {
    std::lock_guard lock(mutex_);
    for (int& c : counters_) c = 0;
    refuse_bridge_ = false;
    older_manager_ = false;
}

namespace {

bool to_int(const std::string& s, long max, long& out) {
    if (s.empty() || s.size() > 9 || s.find_first_not_of("0123456789") != std::string::npos) return false;
    out = std::strtol(s.c_str(), nullptr, 10);
    return out <= max;
}

}  // namespace

std::string Faults::command(std::string_view line) {
    std::istringstream in{std::string(line)};
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    if (words.empty()) return "ERR empty command\n";
    static constexpr std::pair<std::string_view, Counter> counted[] = {
        {"busy", busy},           {"html", html},           {"garbage", garbage},
        {"unauthorized", unauthorized}, {"close", close_mid}, {"nokey", login_nokey},
        {"deny", login_deny},     {"nocookie", login_nocookie}, {"shortkey", login_shortkey},
        {"shortcookie", login_shortcookie}, {"empty", empty}};
    const std::string& verb = words[0];
    for (const auto& [name, counter] : counted) {
        if (verb != name) continue;
        long n = 1;
        if (words.size() > 2 || (words.size() == 2 && !to_int(words[1], 1000000, n))) return "ERR usage: " + verb + " [COUNT]\n";
        set(counter, static_cast<int>(n));
        return "OK\n";
    }
    if (verb == "split") {
        long piece = 0, pause = 0, n = 1;
        if (words.size() < 3 || words.size() > 4 || !to_int(words[1], 1000000, piece) || piece == 0 ||
            !to_int(words[2], 60000, pause) || (words.size() == 4 && !to_int(words[3], 1000000, n)))
            return "ERR usage: split BYTES PAUSE_MS [COUNT]\n";
        set_split(static_cast<std::size_t>(piece), static_cast<int>(pause));
        set(split, static_cast<int>(n));
        return "OK\n";
    }
    if (verb == "cut-reply") {
        long bytes = 0, n = 1;
        if (words.size() < 2 || words.size() > 3 || !to_int(words[1], 999999999, bytes) ||
            (words.size() == 3 && !to_int(words[2], 1000000, n)))
            return "ERR usage: cut-reply BYTES [COUNT]\n";
        set_cut_bytes(static_cast<std::size_t>(bytes));
        set(cut_reply, static_cast<int>(n));
        return "OK\n";
    }
    if (verb == "older-manager") {
        if (words.size() != 2 || (words[1] != "on" && words[1] != "off")) return "ERR usage: older-manager on|off\n";
        set_older_manager(words[1] == "on");
        return "OK\n";
    }
    if (verb == "refuse") {
        if (words.size() != 2 || (words[1] != "on" && words[1] != "off")) return "ERR usage: refuse on|off\n";
        set_refuse_bridge(words[1] == "on");
        return "OK\n";
    }
    if (verb == "reset" && words.size() == 1) {
        reset();
        return "OK\n";
    }
    return "ERR unknown command " + verb + "\n";
}

const char* Faults::help() {
    return "  busy [N]          answer the next N element requests with status 18034 (busy)\n"
           "  html [N]          answer the next N element requests with a \"<!DOCTYPE\" web page\n"
           "  empty [N]         answer the next N element requests with an empty reply document\n"
           "  garbage [N]       answer the next N bridge requests with a page that is not XML\n"
           "  unauthorized [N]  answer the next N bridge requests with \"401 Unauthorized\"\n"
           "  close [N]         close the connection half-way through the next N replies\n"
           "  split B P [N]     send the next N replies in pieces of B bytes, P ms apart\n"
           "  cut-reply B [N]   close the connection after the first B bytes of the next N replies to\n"
           "                    element requests (logins are not counted)\n"
           "  older-manager on|off  the element manager on the legacy port is (on) or is not (off) the\n"
           "                    older one: it answers every version-3 request \"xmlintr - is not yet\n"
           "                    supported or known\"\n"
           "  refuse on|off     close (on) or reopen (off) the bridge port, so connections are refused\n"
           "  nokey [N]         the next N login pages carry no session key\n"
           "  deny [N]          the next N login answers refuse the proof\n"
           "  nocookie [N]      the next N login answers succeed without Set-Cookie\n"
           "  shortkey [N]      the next N login pages end 10 characters into the session key\n"
           "  shortcookie [N]   the next N login answers end 10 characters into the session cookie\n"
           "  file NAME BYTES   serve the file NAME as BYTES bytes of repeatable text (lines of 63\n"
           "                    letters and digits); answers \"OK md5=\" and the digest of the content\n"
           "  file NAME off     serve NAME as the one-line default again\n"
           "  controller-data BYTES|off  answer controller-data requests with BYTES repeatable bytes\n"
           "                    (Base64, answers \"OK md5=\" and their digest), or the short default\n"
           "  reset             switch every fault off (served files and controller data stay)\n"
           "  status            connection and request counts (see below)\n";
}

}  // namespace talosim
