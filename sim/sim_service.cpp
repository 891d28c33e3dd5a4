#include "sim_service.h"

#include <algorithm>
#include <sstream>
#include <vector>

#include "sim_codec.h"

namespace talosim {

namespace {

constexpr std::size_t key_length = 56;
constexpr std::size_t remembered = 256;  // issued keys and sessions kept

constexpr std::string_view web_page =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\">\n"
    "<HTML><HEAD><TITLE>Storage Management Appliance</TITLE></HEAD>\n"
    "<BODY><H1>Service unavailable</H1><P>The management server is starting or restarting.</P></BODY></HTML>\n";

std::string soap_reply(std::string_view document) {
    std::string body =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
        "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"\n"
        "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\"\n"
        "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n"
        "<soap:Body>\n"
        "<m:executeTextTransportResponse xmlns:m=\"urn:VELTRA-Kestrel:BridgeXMLInterface.v3\">\n"
        "<xmlPayload>";
    body += xml_escape(document);
    body += "</xmlPayload>\n</m:executeTextTransportResponse>\n</soap:Body>\n</soap:Envelope>\n";
    return http_response("HTTP/1.1 200 OK", "text/xml; charset=utf-8", body);
}

std::string soap_fault(std::string_view text) {
    std::string body =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
        "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\">\n<soap:Body>\n<soap:Fault>\n"
        "<faultcode>soap:Client</faultcode>\n<faultstring>";
    body += xml_escape(text);
    body += "</faultstring>\n</soap:Fault>\n</soap:Body>\n</soap:Envelope>\n";
    return http_response("HTTP/1.1 500 Internal Server Error", "text/xml; charset=utf-8", body);
}

// The value after "Tessel-KLMD=" in a Cookie header, up to a ';' or blank.
std::string tessel_cookie(const HttpRequest& req) {
    const std::string* cookie = req.header("Cookie");
    if (cookie == nullptr) return {};
    size_t pos = cookie->find("Tessel-KLMD=");
    if (pos == std::string::npos) return {};
    pos += 12;
    size_t end = cookie->find_first_of("; \t", pos);
    return cookie->substr(pos, end == std::string::npos ? std::string::npos : end - pos);
}

void remember(std::deque<std::string>& list, std::string value) {
    list.push_back(std::move(value));
    if (list.size() > remembered) list.pop_front();
}

bool forget(std::deque<std::string>& list, std::string_view value) {
    auto it = std::find(list.begin(), list.end(), value);
    if (it == list.end()) return false;
    list.erase(it);
    return true;
}

}  // namespace

std::string unauthorized_page() {
    return http_response("HTTP/1.1 401 Unauthorized", "text/html",
                         "<HTML><HEAD><TITLE>401 Unauthorized</TITLE></HEAD><BODY>Unauthorized: the user name "
                         "or password is not valid.</BODY></HTML>\n",
                         "WWW-Authenticate: Basic realm=\"qxbridge\"\r\n");
}

Service::Service(Model model, Account account, Faults& faults, std::string v3_namespace)
    : model_(std::move(model)),
      engine_(model_, std::move(v3_namespace)),
      account_(std::move(account)),
      faults_(faults),
      random_(std::random_device{}()) {}

std::string Service::expected_basic_code() const {
    return base64_encode(account_.user + ":" + md5_upper_hex(account_.user + ":" + account_.password));
}

bool Service::authorized(const HttpRequest& req) const {
    const std::string* auth = req.header("Authorization");
    if (auth == nullptr || auth->compare(0, 6, "Basic ") != 0) return false;
    std::optional<std::string> text = base64_decode(std::string_view(*auth).substr(6));
    if (!text) return false;
    if (*text == account_.user + ":" + md5_upper_hex(account_.user + ":" + account_.password)) return true;
    // A client talking to its own host without a password sends the plain
    // pair; only an account without a password can match it.
    return account_.password.empty() && *text == account_.user + ":";
}

std::string Service::random_text(std::size_t length) {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string out(length, '0');
    std::lock_guard lock(mutex_);
    for (char& c : out) c = digits[random_() & 15];
    return out;
}

std::string Service::execute(std::string_view document) {
    std::lock_guard lock(mutex_);
    return engine_.execute(document);
}

bool Service::control(std::string_view line, std::string& answer) {
    std::istringstream in{std::string(line)};
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    if (words.empty() || (words[0] != "file" && words[0] != "controller-data")) return false;
    auto size = [](const std::string& w, std::size_t& out) {
        if (w.empty() || w.size() > 10 || w.find_first_not_of("0123456789") != std::string::npos) return false;
        out = std::stoul(w);
        return out <= 1000000000;
    };
    std::size_t bytes = 0;
    std::lock_guard lock(mutex_);
    if (words[0] == "file") {
        if (words.size() != 3 || (words[2] != "off" && !size(words[2], bytes))) {
            answer = "ERR usage: file NAME BYTES|off\n";
        } else if (words[2] == "off") {
            engine_.serve_default_file(words[1]);
            answer = "OK\n";
        } else {
            answer = "OK md5=" + engine_.serve_file(words[1], bytes) + "\n";
        }
        return true;
    }
    if (words.size() != 2 || (words[1] != "off" && !size(words[1], bytes))) {
        answer = "ERR usage: controller-data BYTES|off\n";
    } else if (words[1] == "off") {
        engine_.serve_default_controller_data();
        answer = "OK\n";
    } else {
        answer = "OK md5=" + engine_.serve_controller_data(bytes) + "\n";
    }
    return true;
}

void Service::cut_element_reply(Delivery& d) {
    if (!faults_.take(Faults::cut_reply)) return;
    d.cut_at = faults_.cut_bytes();
    d.close_after = true;
}

std::string Service::element_reply(std::string_view document) {
    if (faults_.take(Faults::busy)) {
        std::lock_guard lock(mutex_);
        return engine_.busy_reply(document);
    }
    if (faults_.take(Faults::html)) return std::string(web_page);
    if (faults_.take(Faults::empty)) return std::string();
    return execute(document);
}

void Service::apply_delivery_faults(Delivery& d) {
    if (faults_.take(Faults::close_mid)) {
        d.cut_mid = true;
        d.close_after = true;
    } else if (faults_.take(Faults::split)) {
        d.piece = faults_.split_piece();
        d.pause_ms = faults_.split_pause_ms();
    }
}

Delivery Service::bridge(const HttpRequest& req) {
    Delivery d;
    const std::string* connection = req.header("Connection");
    d.close_after = connection != nullptr && *connection == "close";
    if (faults_.take(Faults::unauthorized)) {
        d.bytes = unauthorized_page();
    } else if (faults_.take(Faults::garbage)) {
        d.bytes = http_response("HTTP/1.1 502 Bad Gateway", "text/html",
                                "<HTML><BODY>Bad gateway: the bridge service did not answer.</BODY></HTML>\n");
    } else if (!req.method_is("POST")) {
        d.bytes = http_response("HTTP/1.1 405 Method Not Allowed", "text/plain", "Only POST is served here.\n",
                                "Allow: POST\r\n");
    } else if (req.path != "/qxbridge") {
        d.bytes = http_response("HTTP/1.1 404 Not Found", "text/plain", "No such service.\n");
    } else if (!authorized(req)) {
        d.bytes = unauthorized_page();
    } else if (req.header("Content-Length") == nullptr) {
        d.bytes = http_response("HTTP/1.1 411 Length Required", "text/plain", "Content-Length is required.\n");
        d.close_after = true;
    } else {
        size_t open = req.body.find("<xmlPayload>");
        size_t close = open == std::string::npos ? open : req.body.find("</xmlPayload>", open);
        if (req.body.find("executeTextTransport") == std::string::npos || close == std::string::npos) {
            d.bytes = soap_fault("expected an executeTextTransport call with an xmlPayload");
        } else {
            std::string document = xml_unescape(std::string_view(req.body).substr(open + 12, close - open - 12));
            d.bytes = soap_reply(element_reply(document));
            cut_element_reply(d);
        }
    }
    apply_delivery_faults(d);
    return d;
}

Delivery Service::legacy(const HttpRequest& req) {
    Delivery d;
    if (req.method_is("GET") && req.path == "/tsllogin.htm") {
        d = login_page();
    } else if (req.method_is("POST") && req.path == "/Proxy/LoginResponse") {
        d = login_answer(req);
    } else if (req.method_is("POST") &&
               (req.path == "/ResEltTslPyrite/Fenn" || req.path == "/ResEltTslPyrite/XMLIntr")) {
        d = element_manager(req);
    } else {
        d.bytes = http_response("HTTP/1.0 404 Not Found", "text/html", "<HTML><BODY>Not found</BODY></HTML>\n");
    }
    d.close_after = true;  // the web agent answers one request per connection
    apply_delivery_faults(d);
    return d;
}

Delivery Service::login_page() {
    Delivery d;
    std::string body = "<HTML><HEAD><TITLE>Storage Management Appliance login</TITLE></HEAD><BODY>\n"
                       "<APPLET CODE=\"TesselLogin.class\" WIDTH=400 HEIGHT=200>\n";
    if (!faults_.take(Faults::login_nokey)) {
        // Characters 20 to 23 say who made the key; the client's answer
        // carries "0002" there.
        std::string key = random_text(20) + "0001" + random_text(key_length - 24);
        std::string answer = key;
        answer.replace(20, 4, "0002");
        {
            std::lock_guard lock(mutex_);
            remember(pending_answers_, answer);
        }
        if (faults_.take(Faults::login_shortkey)) {
            d.bytes = http_response("HTTP/1.1 200 OK", "text/html", body + "<PARAM NAME=SessionKey VALUE=\"Tessel-KLMD=" +
                                                                         key.substr(0, 10), {}, false);
            return d;
        }
        body += "<PARAM NAME=SessionKey VALUE=\"Tessel-KLMD=" + key + "\">\n";
    }
    body += "</APPLET></BODY></HTML>\n";
    d.bytes = http_response("HTTP/1.1 200 OK", "text/html", body);
    return d;
}

Delivery Service::login_answer(const HttpRequest& req) {
    Delivery d;
    std::string cookie = tessel_cookie(req);
    const std::string* user = req.header("Tessel-WBEM-UserName");
    bool proof_ok = false;
    if (faults_.take(Faults::login_deny)) {
        d.bytes = http_response("HTTP/1.0 401 Unauthorized", "text/html",
                                "<HTML><BODY>Login failed: permission denied.</BODY></HTML>\n");
        return d;
    }
    if (cookie.size() == key_length + 32 && user != nullptr && *user == account_.user) {
        std::string answer = cookie.substr(0, key_length);
        std::string proof = md5_upper_hex("Tessel-KLMD=" + answer + account_.user +
                                          md5_upper_hex(account_.user + ":" + account_.password));
        std::lock_guard lock(mutex_);
        // A key answers one login only.
        proof_ok = cookie.compare(key_length, 32, proof) == 0 && forget(pending_answers_, answer);
    }
    if (!proof_ok) {
        d.bytes = http_response("HTTP/1.0 401 Unauthorized", "text/html",
                                "<HTML><BODY>Login failed: permission denied.</BODY></HTML>\n");
        return d;
    }
    if (faults_.take(Faults::login_shortcookie)) {
        d.bytes = "HTTP/1.0 200 Ok\r\nContent-Type: text/html\r\nSet-Cookie: Tessel-KLMD=" + random_text(10);
        return d;
    }
    std::string extra;
    if (!faults_.take(Faults::login_nocookie)) {
        std::string session = random_text(key_length);
        {
            std::lock_guard lock(mutex_);
            remember(sessions_, session);
        }
        extra = "Set-Cookie: Tessel-KLMD=" + session + "; path=/\r\n";
    }
    d.bytes = http_response("HTTP/1.0 200 Ok", "text/html", "<HTML><BODY>Login successful</BODY></HTML>\n", extra);
    return d;
}

Delivery Service::element_manager(const HttpRequest& req) {
    Delivery d;
    std::string cookie = tessel_cookie(req);
    bool valid = false;
    if (cookie.size() == key_length) {
        std::lock_guard lock(mutex_);
        valid = std::find(sessions_.begin(), sessions_.end(), cookie) != sessions_.end();
    }
    if (!valid) {
        // What the web agent shows a browser without a session: its login page.
        d.bytes = http_response("HTTP/1.1 401 Unauthorized", "text/html",
                                "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\">\n<HTML><BODY>Unauthorized: "
                                "please log in.</BODY></HTML>\n",
                                {}, false);
        return d;
    }
    if (faults_.older_manager() && req.body.find("<NsaServerOperation>") != std::string::npos) {
        d.bytes = http_response("HTTP/1.1 200 OK", "text/html",
                                "<HTML><BODY>Error: xmlintr - is not yet supported or known</BODY></HTML>\n",
                                "Connection: close\r\n", false);
    } else {
        d.bytes = http_response("HTTP/1.1 200 OK", "text/xml", element_reply(req.body), "Connection: close\r\n", false);
    }
    cut_element_reply(d);
    return d;
}

}  // namespace talosim
