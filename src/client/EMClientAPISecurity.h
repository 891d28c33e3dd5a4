// The legacy element manager's login: a session cookie for the request's
// user, taken from the cookie file or obtained by the two-step login with a
// hashed proof, and the rewrite that puts it on the request.
#pragma once

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
