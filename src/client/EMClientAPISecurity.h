// The legacy element manager's login: a session cookie for the request's
// user, taken from the cookie file or obtained by the two-step login with a
// hashed proof, and the rewrite that puts it on the request.
#pragma once

#include <cstddef>

#include "EMClientAPIXMLBuffer.h"
#include "SString.h"

// Credentials of the last request seen; a change empties the cookie file.
extern SString PersistedUsername;
extern SString PersistedUserpassword;

// 0 with the request rewritten for sending; else a socket code, 201 (no
// session key), 202 (permission denied) or 203 (no cookie in the answer).
int EMClientAPIUpdateAndValidateRequestSecurity(EMClientAPIXMLBuffer& request, int usePersisted);
// Credentials out, local address in, Content-Length recomputed, the cookie
// line before Content-Type; the caches are read afresh afterwards.
void EMClientAPIUpdateFinalRequest(EMClientAPIXMLBuffer& request, SString& cookie);
// Empties the cookie file (never through a link, never a foreign file), so
// the next legacy request logs in afresh.
void EMClientAPIEmptyPersistFile();

// The cookie file holds one session: a line "server:port", a line with the
// user name, then the 56-character cookie. This is its head for a manager
// and user.
SString EMClientAPISessionOwner(const SString& server, const SString& port, const SString& user);
// The cookie of a file's bytes when they hold a session of owner; else empty.
SString EMClientAPIStoredSession(const char* data, size_t size, const SString& owner);

// The web agent's answers, as the login reads them. The session key of a
// login page (marked: the key's marker is there; the key is empty when the
// page ends within it), and the session cookie of a login answer (empty
// without one).
SString EMClientAPISessionKeyOf(const SString& page, bool& marked);
SString EMClientAPISessionCookieOf(const SString& answer);
// The element manager refused the request's session: it answered "401" or
// with its login page instead of a reply.
bool EMClientAPISessionRefused(const SString& response);
