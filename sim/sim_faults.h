// Fault switches the simulator can be told to apply while it runs, and the
// one-line commands of its control channel that set them.
#pragma once

#include <cstddef>
#include <mutex>
#include <string>
#include <string_view>

namespace talosim {

class Faults {
public:
    // Each counter applies to that many of the next requests (or logins) and
    // then switches itself off. `take` decrements and reports whether the
    // fault applies to this one.
    enum Counter {
        busy,          // element requests answered with status 18034
        html,          // element requests answered with a "<!DOCTYPE" web page
        garbage,       // bridge requests answered with a non-XML page
        unauthorized,  // bridge requests answered "401 Unauthorized"
        close_mid,     // replies cut off half-way by closing the connection
        split,         // replies sent in small pieces with pauses
        login_nokey,   // login pages without the session key
        login_deny,    // login answers that refuse the proof
        login_nocookie,  // login answers without Set-Cookie
        login_shortkey,  // login pages that end inside the session key
        login_shortcookie,  // login answers that end inside the session cookie
        cut_reply,     // element replies closed after a set number of bytes
        empty,         // element requests answered with an empty reply document
        counter_count
    };

    bool take(Counter c);
    void set(Counter c, int count);
    int get(Counter c) const;

    void set_split(std::size_t piece, int pause_ms);
    std::size_t split_piece() const;
    int split_pause_ms() const;

    void set_refuse_bridge(bool on);
    bool refuse_bridge() const;

    void set_cut_bytes(std::size_t bytes);
    std::size_t cut_bytes() const;

    // The legacy port's element manager is the older one, which knows no
    // version-3 requests.
    void set_older_manager(bool on);
    bool older_manager() const;

    void reset();

    // Applies one control command; returns the answer line (with its line
    // feed). "status" is answered by the server, not here.
    std::string command(std::string_view line);

    // Text of the control commands, for --help.
    static const char* help();

private:
    mutable std::mutex mutex_;
    int counters_[counter_count] = {};
    std::size_t split_piece_ = 16;
    int split_pause_ms_ = 50;
    bool refuse_bridge_ = false;
    std::size_t cut_bytes_ = 0;
    bool older_manager_ = false;
};

}  // namespace talosim
