#include "EMClientAPISecurity.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstring>

#include "EMClientAPIAuth.h"
#include "EMClientAPIDebug.h"
#include "EMClientAPIErrors.h"
#include "EMClientAPISeams.h"
#include "EMClientAPISocket.h"
#include "md5c.h"

SString PersistedUsername;
SString PersistedUserpassword;

extern int gnBlockMode;
extern int gnTimeout;

namespace {

constexpr int kCookieLength = 56;
constexpr const char* kKeyMarker = "<PARAM NAME=SessionKey VALUE=\"Tessel-KLMD=";
constexpr const char* kCookieMarker = "Set-Cookie: Tessel-KLMD=";

// The cookie is a credential: the file is only ever opened without
// following a symbolic link, must be a plain file of ours with no other
// name, and is kept private. -1 when it cannot be opened that way.
int open_cookie_file(int flags) {
    int fd = ::open(EMClientAPIPersistFileName(), flags | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0600);
    if (fd < 0) return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid() || st.st_nlink != 1) {
        ::close(fd);
        return -1;
    }
    if ((st.st_mode & 077) != 0) ::fchmod(fd, st.st_mode & 0700);
    return fd;
}

void truncate_cookie_file() {
    int fd = open_cookie_file(O_WRONLY | O_CREAT);
    if (fd < 0) return;
    // Truncated only after the checks, so a foreign file is never emptied.
    bool emptied = ::ftruncate(fd, 0) == 0;
    (void)emptied;  // a cookie left behind is only ever read for the same user
    ::close(fd);
}

// The session kept for this manager and user, or empty: an old file (a bare
// cookie) or one written for another manager or user holds none for us.
SString read_cookie_file(const SString& owner, bool& opened) {
    int fd = open_cookie_file(O_RDONLY);
    opened = fd >= 0;
    if (fd < 0) return SString();
    char data[4096];
    ssize_t n = ::read(fd, data, sizeof data);
    ::close(fd);
    return EMClientAPIStoredSession(data, n > 0 ? static_cast<size_t>(n) : 0, owner);
}

bool write_cookie_file(const SString& owner, const SString& cookie) {
    int fd = open_cookie_file(O_WRONLY | O_CREAT);
    if (fd < 0) return false;
    bool ok = ::ftruncate(fd, 0) == 0;
    SString record = owner + cookie + "\n";
    size_t n = static_cast<size_t>(SizeOf(record));
    ok = ok && ::write(fd, TextOf(record), n) == static_cast<ssize_t>(n);
    ::close(fd);
    return ok;
}

// One exchange of the login: open, send, receive until close, close.
int exchange(SString& server, SString& port, const SString& request, SString& answer, const char* openLine,
             const char* sentLine, const char* receivedLine) {
    EMClientAPISocket socket(gnBlockMode, gnTimeout);
    int rc = socket.OpenConnection(server, port);
    if (rc != 0) return rc;
    EMClientAPILogAt(2, openLine);
    if ((rc = socket.Send(request)) != 0) return rc;
    EMClientAPILogAt(2, sentLine);
    if ((rc = socket.Receive(answer)) != 0) return rc;
    socket.CloseConnection();
    EMClientAPILogAt(2, receivedLine);
    return 0;
}

// The 56 characters after marker, or empty when the text ends within them
// or they are not all visible ASCII: the cookie goes back into a request
// header, where a CR or LF from the server would start headers of its own.
SString value_after(const SString& text, int markerAt, const char* marker) {
    SString value;
    int from = markerAt + static_cast<int>(std::strlen(marker));
    if (text.GetBufferSize() - from < kCookieLength) return value;
    const char* start = text.GetBufferPointer() + from;
    for (int i = 0; i < kCookieLength; ++i)
        if (start[i] < '!' || start[i] > '~') return value;
    value.AssignRange(start, kCookieLength);
    return value;
}

}  // namespace

SString EMClientAPISessionOwner(const SString& server, const SString& port, const SString& user) {
    return server + ":" + port + "\n" + user + "\n";
}

SString EMClientAPIStoredSession(const char* data, size_t size, const SString& owner) {
    SString cookie;
    size_t head = static_cast<size_t>(SizeOf(owner));
    if (data == nullptr || head == 0 || size < head + kCookieLength ||
        std::memcmp(data, TextOf(owner), head) != 0)
        return cookie;
    const char* value = data + head;
    for (int i = 0; i < kCookieLength; ++i)
        if (value[i] == '\0' || std::isspace(static_cast<unsigned char>(value[i]))) return cookie;
    // A longer token is not a cookie this library wrote.
    if (size > head + kCookieLength && value[kCookieLength] != '\n') return cookie;
    cookie.AssignRange(value, kCookieLength);
    return cookie;
}

SString EMClientAPISessionKeyOf(const SString& page, bool& marked) {
    int marker = page.Find(kKeyMarker);
    marked = marker >= 0;
    return marked ? value_after(page, marker, kKeyMarker) : SString();
}

SString EMClientAPISessionCookieOf(const SString& answer) {
    int marker = answer.Find(kCookieMarker);
    return marker < 0 ? SString() : value_after(answer, marker, kCookieMarker);
}

bool EMClientAPISessionRefused(const SString& response) {
    // The web agent answers a session it does not know with "401" or with
    // its login page, never with the element manager's reply.
    const char* text = TextOf(response);
    if (std::strncmp(text, "HTTP/", 5) == 0) {
        const char* space = std::strchr(text, ' ');
        const char* eol = std::strchr(text, '\n');
        if (space != nullptr && (eol == nullptr || space < eol) && std::strncmp(space + 1, "401", 3) == 0) return true;
    }
    return response.Find(kKeyMarker) >= 0;
}

void EMClientAPIUpdateFinalRequest(EMClientAPIXMLBuffer& request, SString& cookie) {
    request.StripUsernamePassword();
    request.UpdateClientIP();  // the address is informative; the request goes without it
    request.ResetContentLength();
    SString text;
    int at = request.Find("Content-Type");
    if (at < 0) {
        text = request;
    } else {
        text.AssignRange(request.GetBufferPointer(), static_cast<size_t>(at));
        text += "Cookie: Tessel-KLMD=";
        text += cookie;
        text += "\n";
        text += request.GetBufferPointer() + at;
    }
    request = EMClientAPIXMLBuffer(text);
}

void EMClientAPIEmptyPersistFile() { truncate_cookie_file(); }

int EMClientAPIUpdateAndValidateRequestSecurity(EMClientAPIXMLBuffer& request, int usePersisted) {
    SString user = request.GetUsername();
    SString password = request.GetUserPassword();
    if (user != PersistedUsername || password != PersistedUserpassword) {
        truncate_cookie_file();
        PersistedUsername = user;
        PersistedUserpassword = password;
    }

    SString server = request.GetServerName();
    SString port = request.GetServerPort();
    // A session belongs to the manager that issued it and to its user: sent
    // anywhere else it is refused, and would stay refused.
    SString owner = EMClientAPISessionOwner(server, port, user);
    if (usePersisted) {
        bool opened = false;
        SString cookie = read_cookie_file(owner, opened);
        if (!opened) {
            EMClientAPILogAt(2, " ** Cannot open persistent session information file (file may not exist).");
        } else if (cookie.GetBufferSize() == kCookieLength) {
            EMClientAPIUpdateFinalRequest(request, cookie);
            EMClientAPILogAt(1, " ** Persistent security updated request for server ->", &request);
            return 0;
        }
    }

    SString answer;
    int result = 0;
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (attempt > 0) EMClientAPISleepSeconds(0);
        SString keyRequest = SString("Get /tsllogin.htm HTTP/1.1\nHost:") + server + ":" + port +
                             "\nContent-Type:text/xml\nContent-Length:" + "0\n\n";
        EMClientAPILogAt(2, " ** SessionKeyRequest string ->", &keyRequest);
        SString keyAnswer;
        int rc = exchange(server, port, keyRequest, keyAnswer, " ** Socket open to request the session key",
                          " ** Request for the session key sent", " ** Response with session key received");
        if (rc != 0) return rc;
        EMClientAPILogAt(2, " ** SessionKeyResponse string ->", &keyAnswer);

        bool marked = false;
        SString key = EMClientAPISessionKeyOf(keyAnswer, marked);
        if (!marked) {
            result = EMCLIENTAPI_SESSIONKEYNOTFOUND_ERROR;
            EMClientAPILogAt(2, " ** Security validation RETRY : No session key");
            continue;
        }
        if (key.IsEmpty()) {
            EMClientAPIGetErrorDescription(EMCLIENTAPI_SESSIONKEYNOTFOUND_ERROR, nullptr, 0);
            return EMCLIENTAPI_SESSIONKEYNOTFOUND_ERROR;
        }
        EMClientAPILogAt(2, " ** Session key found in session key response ->", &key);

        SString pair = user + ":" + password;
        char digest[129] = {};
        TslKlmoMD5Buffer(TextOf(pair), digest);
        SString pairDigest(digest);
        EMClientAPILogAt(2, " ** Username password pair build for MD5 hashing ->", &pair);
        EMClientAPILogAt(2, " ** MD5 hash for username password pair ->", &pairDigest);

        SString answerKey = key;
        answerKey.Replace(20, 4, "0002");
        SString security = SString("Tessel-KLMD=") + answerKey + user + pairDigest;
        EMClientAPILogAt(2, " ** Final security string before MD5 hashing ->", &security);
        char proof[129] = {};
        TslKlmoMD5Buffer(TextOf(security), proof);
        SString proofText(proof);
        EMClientAPILogAt(2, " ** Final security string MD5 hashed ->", &proofText);
        SString loginCookie = answerKey + proofText;
        EMClientAPILogAt(2, " ** Final security cookie with session key and final hashing ->", &loginCookie);

        SString login = SString("Post /Proxy/LoginResponse HTTP/1.0\nAccept:*/*\nCookie: Tessel-KLMD=") + loginCookie +
                        "\nTessel-WBEM-UserName:" + user + "\n";
        EMClientAPILogAt(2, " ** Security validation request ->", &login);
        answer.Clear();
        rc = exchange(server, port, login, answer, " ** Socket connection open for security validation request",
                      " ** Security validation request sent", " ** Security validation response received");
        if (rc != 0) return rc;
        EMClientAPILogAt(2, " ** Security validation response ->", &answer);
        if (answer.Find("HTTP/1.0 200 Ok") < 0) {
            result = EMCLIENTAPI_PERMISSIONDENIED_ERROR;
            EMClientAPILogAt(2, " ** Security validation RETRY : Permission denied");
            continue;
        }
        result = 0;
        break;
    }
    if (result != 0) return result;
    EMClientAPILogAt(2, " ** User rights validated");

    SString cookie = EMClientAPISessionCookieOf(answer);
    if (cookie.IsEmpty()) {
        EMClientAPIGetErrorDescription(EMCLIENTAPI_INVALIDSERVERRESPONSE_ERROR, nullptr, 0);
        return EMCLIENTAPI_INVALIDSERVERRESPONSE_ERROR;
    }
    EMClientAPILogAt(2, " ** Final security cookie obtained from security validation response ->", &cookie);
    if (!write_cookie_file(owner, cookie))
        EMClientAPILogAt(2, " ** Cannot open persistent session information file (file may not exist).");
    EMClientAPIUpdateFinalRequest(request, cookie);
    EMClientAPILogAt(1, " ** Security updated request for server ->", &request);
    return 0;
}
