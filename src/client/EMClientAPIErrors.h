// The client library's result codes, one table for both interfaces, and the
// two operations that turn a code into its printable description.
#pragma once

constexpr int EMCLIENTAPI_SUCCESS = 0;
constexpr int EMCLIENTAPISOCKET_STARTUP_ERROR = 101;
constexpr int EMCLIENTAPISOCKET_CREATESOCKET_ERROR = 102;
constexpr int EMCLIENTAPISOCKET_FINDWBEMSERVICEPORT_ERROR = 103;
constexpr int EMCLIENTAPISOCKET_RESOLVESERVERNAME_ERROR = 104;
constexpr int EMCLIENTAPISOCKET_CONNECT_ERROR = 105;
constexpr int EMCLIENTAPISOCKET_CLOSE_ERROR = 106;
constexpr int EMCLIENTAPISOCKET_SOCKETNOTOPEN_ERROR = 107;
constexpr int EMCLIENTAPISOCKET_SEND_ERROR = 108;
constexpr int EMCLIENTAPISOCKET_RECEIVE_ERROR = 109;
constexpr int EMCLIENTAPISOCKET_SETSOCKETOPTION_ERROR = 110;
constexpr int EMCLIENTAPISOCKET_RECEIVETIMEOUT_ERROR = 111;
constexpr int EMCLIENTAPISOCKET_RECEIVEINVALIDSTRING_ERROR = 112;
constexpr int EMCLIENTAPISOCKET_CANNOTRESOLVELOCALHOSTIP_ERROR = 113;
constexpr int EMCLIENTAPI_RESQUESTINVALID_ERROR = 200;
constexpr int EMCLIENTAPI_SESSIONKEYNOTFOUND_ERROR = 201;
constexpr int EMCLIENTAPI_PERMISSIONDENIED_ERROR = 202;
constexpr int EMCLIENTAPI_INVALIDSERVERRESPONSE_ERROR = 203;
constexpr int EMCLIENTAPI_FILENOTRECEIVED_ERROR = 204;
constexpr int EMCLIENTAPI_NOCONTROLLERDATA_ERROR = 205;
constexpr int EMCLIENTAPI_INVALIDPARAMETER_ERROR = 300;
constexpr int EMCLIENTAPI_BUFFERTOOSMALL_ERROR = 301;
constexpr int EMCLIENTAPI_ALLOCATION_ERROR = 302;
constexpr int EMCLIENTAPI_OPENDEBUGFILE_ERROR = 400;
constexpr int EMCLIENTAPI_OPENPERSISTCOOKIEFILE_ERROR = 401;
constexpr int EMCLIENTAPI_OPENCLIENTFILE_ERROR = 402;
constexpr int EMCLIENTAPI_WRITECLIENTFILE_ERROR = 403;
constexpr int EMCLIENTAPI_OBJECTNOTFOUND_ERROR = 500;
constexpr int EMCLIENTAPITNG_SOAPSERVER_RESPONSE_INVALID_ERROR = 1000;
constexpr int EMCLIENTAPI_ROTATEDEBUGFILE_ERROR = 404;
constexpr int EMCLIENTAPITNG_REPLYTOOLARGE_ERROR = 1001;
// The largest reply accepted on either port, in bytes (256 MiB); larger
// ones end in EMCLIENTAPITNG_REPLYTOOLARGE_ERROR.
constexpr int EMClientAPIMaxReplyBytes = 256 * 1024 * 1024;

// Symbolic name and text of a code; null for a code not in the table.
const char* EMClientAPIErrorName(int code);
const char* EMClientAPIErrorText(int code);

// "EMClientAPI error ->\n", then "NAME : text\n" (or the unknown-code line).
// With a buffer too small for it (length + 1 bytes are needed) returns 301
// and writes nothing; else copies it when a buffer is given, logs it at
// level 2 and returns 0.
int EMClientAPIGetErrorDescription(int code, char* buffer, int bufferSize);

// The current interface's form, "EMClientAPITNG error ->\n" and the same
// second line. The buffer is zero-filled first and stays empty on 301.
int EMClientAPITNGGetErrorDescription(int code, char* buffer, int bufferSize);
