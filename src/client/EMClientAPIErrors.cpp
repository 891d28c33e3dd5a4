#include "EMClientAPIErrors.h"

#include <cstdio>
#include <cstring>

#include "EMClientAPIDebug.h"
#include "SString.h"

namespace {

struct ErrorEntry {
    int code;
    const char* name;
    const char* text;
};

constexpr ErrorEntry kErrors[] = {
    {0, "EMCLIENTAPI_SUCCESS", "The operation was a success."},
    {101, "EMCLIENTAPISOCKET_STARTUP_ERROR", "Initialization of the sockets failed."},
    {102, "EMCLIENTAPISOCKET_CREATESOCKET_ERROR", "Creation of the socket failed."},
    {103, "EMCLIENTAPISOCKET_FINDWBEMSERVICEPORT_ERROR", "Cannot find the name of the WBEM server."},
    {104, "EMCLIENTAPISOCKET_RESOLVESERVERNAME_ERROR", "Cannot resolve the IP address the server name provided."},
    {105, "EMCLIENTAPISOCKET_CONNECT_ERROR", "Cannot establish socket connection with the server."},
    {106, "EMCLIENTAPISOCKET_CLOSE_ERROR", "Closing of the socket connection failed."},
    {107, "EMCLIENTAPISOCKET_SOCKETNOTOPEN_ERROR", "Cannot perform action without an open socket."},
    {108, "EMCLIENTAPISOCKET_SEND_ERROR", "Network send failed."},
    {109, "EMCLIENTAPISOCKET_RECEIVE_ERROR", "Network receive failed."},
    {110, "EMCLIENTAPISOCKET_SETSOCKETOPTION_ERROR", "Setting of the socket options failed."},
    {111, "EMCLIENTAPISOCKET_RECEIVETIMEOUT_ERROR", "Receive timeout reach, no data to receive."},
    {112, "EMCLIENTAPISOCKET_RECEIVEINVALIDSTRING_ERROR",
     "The server sent a buffer that contains binary data (invalid string)."},
    {113, "EMCLIENTAPISOCKET_CANNOTRESOLVELOCALHOSTIP_ERROR", "Error cannot resolve the local host IP address."},
    {200, "EMCLIENTAPI_RESQUESTINVALID_ERROR",
     "The request provided is invalid. If debug mode is enabled, additional information was logged in the "
     "debug file."},
    {201, "EMCLIENTAPI_SESSIONKEYNOTFOUND_ERROR", "The server didn't return a valid session key."},
    {202, "EMCLIENTAPI_PERMISSIONDENIED_ERROR", "Invalid username or password."},
    {203, "EMCLIENTAPI_INVALIDSERVERRESPONSE_ERROR", "The response sent by the server is invalid."},
    {204, "EMCLIENTAPI_FILENOTRECEIVED_ERROR", "The server did not send the requested file.."},
    {205, "EMCLIENTAPI_NOCONTROLLERDATA_ERROR",
     "Error cannot retrieve controller data. System may be unitialized, or locked."},
    {300, "EMCLIENTAPI_INVALIDPARAMETER_ERROR", "The function received an invalid parameter."},
    {301, "EMCLIENTAPI_BUFFERTOOSMALL_ERROR", "The result buffer provided is too small."},
    {302, "EMCLIENTAPI_ALLOCATION_ERROR", "Error allocating buffer memory."},
    {400, "EMCLIENTAPI_OPENDEBUGFILE_ERROR", "Error opening debug output file."},
    {401, "EMCLIENTAPI_OPENPERSISTCOOKIEFILE_ERROR", "Error opening persistent session information file."},
    {402, "EMCLIENTAPI_OPENCLIENTFILE_ERROR", "Error opening the client file after the transfer."},
    {403, "EMCLIENTAPI_WRITECLIENTFILE_ERROR", "Error writing to the client file after the transfer."},
    {500, "EMCLIENTAPI_OBJECTNOTFOUND_ERROR", "Error a requested object doesn't exist on the specified storage cell."},
    {1000, "EMCLIENTAPITNG_SOAPSERVER_RESPONSE_INVALID_ERROR", "Invalid Soap Server Response."},
    {404, "EMCLIENTAPI_ROTATEDEBUGFILE_ERROR",
     "Cannot replace the previous debug output file; the debug output file was emptied instead."},
    {1001, "EMCLIENTAPITNG_REPLYTOOLARGE_ERROR", "The server's reply is larger than the accepted maximum of 256 MB."},
};

const ErrorEntry* find_entry(int code) {
    for (const auto& entry : kErrors)
        if (entry.code == code) return &entry;
    return nullptr;
}

// Everything after the first line: "NAME : text\n" or the unknown-code line
// in the given interface's wording.
SString second_line(int code, const char* unknown_word) {
    SString line;
    if (const ErrorEntry* entry = find_entry(code)) {
        line = entry->name;
        line += " : ";
        line += entry->text;
    } else {
        char number[32];
        std::snprintf(number, sizeof number, "(%d)", code);
        line = unknown_word;
        line += number;
    }
    line += "\n";
    return line;
}

// A whole description: the interface's heading line, then the code's line.
SString describe(int code, const char* heading, const char* unknown_word) {
    SString description(heading);
    description += second_line(code, unknown_word);
    return description;
}

SString legacy_description(int code) {
    return describe(code, "EMClientAPI error ->\n", "Unknown EMClientAPIError");
}

// A buffer must hold the text and its terminator.
bool fits(const SString& text, int bufferSize) { return text.GetBufferSize() >= 0 && text.GetBufferSize() < bufferSize; }

// The text and its terminator into the caller's buffer, when it fits.
bool copy_out(const SString& text, char* buffer, int bufferSize) {
    if (!fits(text, bufferSize)) return false;
    std::memcpy(buffer, text.GetBufferPointer(), static_cast<size_t>(text.GetBufferSize()) + 1);
    return true;
}

}  // namespace

const char* EMClientAPIErrorName(int code) {
    const ErrorEntry* entry = find_entry(code);
    return entry ? entry->name : nullptr;
}

const char* EMClientAPIErrorText(int code) {
    const ErrorEntry* entry = find_entry(code);
    return entry ? entry->text : nullptr;
}

int EMClientAPIGetErrorDescription(int code, char* buffer, int bufferSize) {
    SString description = legacy_description(code);
    if (buffer != nullptr && !copy_out(description, buffer, bufferSize)) return EMCLIENTAPI_BUFFERTOOSMALL_ERROR;
    if (gnDebugMode >= 2) {
        EMClientAPIWriteDebugFile("** ERROR ->");
        EMClientAPIWriteDebugFile(description.GetBufferPointer());
        EMClientAPIWriteDebugFile("<- ERROR **");
    }
    return EMCLIENTAPI_SUCCESS;
}

int EMClientAPITNGGetErrorDescription(int code, char* buffer, int bufferSize) {
    if (buffer != nullptr && bufferSize > 0) std::memset(buffer, 0, static_cast<size_t>(bufferSize));

    const bool known = find_entry(code) != nullptr;
    SString description = describe(code, "EMClientAPITNG error ->\n", "Unknown EMCLIENTAPITNGError");

    // The legacy description (one line shorter in wording) is asked for
    // first; it logs itself at level 2 and refuses a buffer too small for it.
    // It is built apart from the caller's buffer, so a result that then
    // fails to fit leaves that buffer empty.
    if (buffer != nullptr && !fits(legacy_description(code), bufferSize)) return EMCLIENTAPI_BUFFERTOOSMALL_ERROR;
    EMClientAPIGetErrorDescription(code, nullptr, 0);

    if (!known && gnTNGDebugMode >= 2) {
        EMClientAPITNGWriteDebugFile("** ERROR tng ->");
        EMClientAPITNGWriteDebugFile(description.GetBufferPointer());
        EMClientAPITNGWriteDebugFile("<- ERROR tng **");
    }
    if (buffer != nullptr && !copy_out(description, buffer, bufferSize)) return EMCLIENTAPI_BUFFERTOOSMALL_ERROR;
    return EMCLIENTAPI_SUCCESS;
}
