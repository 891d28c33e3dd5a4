// The simulated management server's protocol side: the XML bridge (Basic
// authorization, SOAP unwrapping and wrapping) and the legacy element
// manager behind its web agent (login page, hashed proof, session cookie).
// Socket handling lives in the server; this unit maps requests to replies.
#pragma once

#include <cstddef>
#include <deque>
#include <mutex>
#include <random>
#include <set>
#include <string>
#include <string_view>

#include "sim_engine.h"
#include "sim_faults.h"
#include "sim_http.h"
#include "sim_model.h"

namespace talosim {

struct Account {
    std::string user = "administrator";
    std::string password = "password";
};

// A reply and how to deliver it.
struct Delivery {
    std::string bytes;
    bool close_after = false;  // close the connection once it is sent
    bool cut_mid = false;      // send half of it, then close
    std::size_t cut_at = std::string::npos;  // send at most this many bytes, then close
    std::size_t piece = 0;     // > 0: send in pieces of that size ...
    int pause_ms = 0;          // ... this far apart
};

class Service {
public:
    Service(Model model, Account account, Faults& faults, std::string v3_namespace = {});

    Delivery bridge(const HttpRequest& req);
    Delivery legacy(const HttpRequest& req);

    // The code the bridge accepts: Base64 of the user name, ":" and the
    // upper-case MD5 hex of "user:password".
    std::string expected_basic_code() const;

    // Runs a request document directly (tests and the control channel).
    std::string execute(std::string_view document);

    // The control commands that set what the retrievals serve ("file",
    // "controller-data"); false for any other line.
    bool control(std::string_view line, std::string& answer);

private:
    std::mutex mutex_;  // guards the model, the engine and the sessions
    Model model_;
    Engine engine_;
    Account account_;
    Faults& faults_;
    std::mt19937_64 random_;
    std::deque<std::string> pending_answers_;  // answer keys of issued session keys
    std::deque<std::string> sessions_;         // session cookies handed out

    bool authorized(const HttpRequest& req) const;
    std::string element_reply(std::string_view document);
    std::string random_text(std::size_t length);
    void apply_delivery_faults(Delivery& d);
    void cut_element_reply(Delivery& d);
    Delivery login_page();
    Delivery login_answer(const HttpRequest& req);
    Delivery element_manager(const HttpRequest& req);
};

// The page of a refused bridge request: plain HTML, no XML declaration.
std::string unauthorized_page();

}  // namespace talosim
