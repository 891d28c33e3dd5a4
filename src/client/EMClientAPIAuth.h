// Credentials for the bridge: the HTTP Basic code made from the user name and
// an MD5 proof of the password, the fallback for a request to this computer
// that carries no password, and the Base64 encoder the code needs.
#pragma once

#include "EMClientAPIXMLBuffer.h"
#include "SString.h"

// user name, ":", and the MD5 digest of "user:password" in upper-case hex.
// At level 2 the pair itself is logged (the log is private to its owner).
SString GetMD5HashAuthCode(SString userName, SString password);

// The Basic code of an authorization text, with "\r\n" after every 76
// characters.
SString GetBase64AuthCode(SString& text);
SString Base64EncodeBasicAuth(const SString& text);
// Empty for null data or length 0.
SString base64Encode(const unsigned char* data, unsigned length);

// The request carries a non-empty password element of either dialect.
bool IsUsrnamePwdPresent(EMClientAPIXMLBuffer& request);
// The name is "localhost", this computer's host name or the dotted form of
// its first address (exact, case-sensitive comparison).
bool IsLocalSystem(SString serverName);
// Inserts the administrator's credential elements after "<Body>" (version 3)
// or inside "<SOAP:Body" (legacy); the request's cached server name and port
// are dropped and read afresh from its text.
void AddUsernamePassword(EMClientAPIXMLBuffer& request);
// Always empty: nothing supplies an administrator password.
SString GetAdministratorPassword();
