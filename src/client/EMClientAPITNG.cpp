#include "EMClientAPITNG.h"
#include "EMClientAPITNGSteps.h"

#include <cstring>
#include <new>

#include "EMClientAPI.h"
#include "EMClientAPIAuth.h"
#include "EMClientAPISeams.h"
#include "EMClientAPISocketPool.h"

int gnTNGBlockMode = 0;
int gnTNGTimeout = 60;
int gnSockDestroy = 0;

namespace {

int report(int code) {
    EMClientAPITNGGetErrorDescription(code, nullptr, 0);
    return code;
}

// Where the header block of an HTTP answer ends (-1: not yet).
int header_end(const SString& text) {
    int crlf = text.Find("\r\n\r\n");
    int lf = text.Find("\n\n");
    if (crlf >= 0 && (lf < 0 || crlf + 2 < lf)) return crlf + 4;
    return lf >= 0 ? lf + 2 : -1;
}

// A server may send its headers and its body in separate writes: read on
// until the XML declaration arrives, or until a non-XML answer is complete
// (its announced body, or the end of the connection).
int read_to_declaration(EMClientAPISocket* connection, SString& text, int& count) {
    for (;;) {
        if (text.Find("<?xml version") >= 0) return 0;
        int head = header_end(text);
        if (head >= 0) {
            int expected = EMClientAPIAnnouncedLength(text, head);
            if (expected < 0 || SizeOf(text) - head >= expected) return 0;
        }
        SString chunk;
        int n = 0;
        int rc = connection->ReceiveSoapResponse(chunk, n);
        if (rc == EMCLIENTAPISOCKET_RECEIVE_ERROR && !text.IsEmpty() && head >= 0) return 0;
        if (rc != 0) return rc;
        count += n;
        if ((text += chunk) != 0) return EMCLIENTAPI_ALLOCATION_ERROR;
        if (count > EMClientAPITNGMaxReplyBytes) return report(EMCLIENTAPITNG_REPLYTOOLARGE_ERROR);
    }
}

constexpr const char* kBodyStart =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
    "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"\n"
    "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\"\n"
    "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n"
    "<soap:Body>\n"
    "<m:executeTextTransport xmlns:m=\"urn:VELTRA-Kestrel:BridgeXMLInterface.v3\">\n"
    "<xmlPayload>";
constexpr const char* kBodyEnd = "</xmlPayload>\n</m:executeTextTransport>\n</soap:Body>\n</soap:Envelope>";

}  // namespace

int EMClientAPITNGRunSequence(const char* request, int retries, EMClientAPIXMLBuffer& reply,
                              const std::function<int(const char*)>& legacy, bool& handedOver) {
    handedOver = false;
    EMClientAPIXMLBuffer buffer(request);
    bool legacyTried = false;
    if (buffer.GetServerPort() == "2301") {
        int rc = legacy(request);
        if (rc != EMCLIENTAPI_SESSIONKEYNOTFOUND_ERROR) {
            handedOver = true;
            return rc;
        }
        EMClientAPITNGLogAt(2, " ** Re-directing to 12301 (session key wasn't found on 2301)");
        buffer.SetServerPort("12301");
        legacyTried = true;
    }
    SString server = buffer.GetServerName();
    SString port = buffer.GetServerPort();
    if (port != "12301") EMClientAPIEmptyPool();

    int rc = Initialize(server, port);
    if (rc == EMCLIENTAPISOCKET_CONNECT_ERROR) {
        if (legacyTried) {
            EMClientAPITNGLogAt(2, " ** 2301 and 12301 failed.");
            return rc;
        }
        EMClientAPITNGLogAt(2, " ** Re-directing to the ELM path");
        handedOver = true;
        return legacy(request);
    }
    if (rc != 0 && rc != 1) return rc;

    EMClientAPISocket* connection = nullptr;
    if ((rc = GetFreeSocket(server, port, connection)) != 0) {
        if (connection != nullptr) connection->UnLockSocket();
        return rc;
    }
    if ((rc = Transfers(connection, buffer, reply, retries)) != 0) {
        connection->MarkForDelete();
        connection->UnLockSocket();
        return rc;
    }
    connection->UnLockSocket();
    return 0;
}

void EMClientAPITNGSetBlockMode(int mode) {
    gnTNGBlockMode = mode;
    EMClientAPISetBlockMode(mode);
}

void EMClientAPITNGSetTimeout(int seconds) {
    gnTNGTimeout = seconds > 0 ? seconds : 60;
    EMClientAPISetTimeout(seconds);
}

void EMClientAPITNGSetSocketDestroy(int flag) { gnSockDestroy = flag; }

int EMClientAPITNGGetVersionInformation(EMClientAPITNGVersionInformation* info) {
    if (info == nullptr) return report(EMCLIENTAPI_INVALIDPARAMETER_ERROR);
    std::memset(info, 0, sizeof *info);
    std::strcpy(info->version, "EMClientAPITNG Version 3.2.104");
    std::strcpy(info->buildDate, "Jul 14 2004");
    return 0;
}

int EMClientAPITNGRetriesRequired(const char* response) {
    EMClientAPIXMLBuffer r(response);
    return EMClientAPIAnalyzeResponse(r, 1);
}

int EMClientAPITNGRetriesRequiredEx(const char* response) {
    EMClientAPIXMLBuffer r(response);
    return EMClientAPIAnalyzeResponseEx(r, 1);
}

SString EMClientAPITNGLegacyRequest(const char* request) {
    SString text(request);
    int host = text.Find("Host:");
    if (host < 0) return text;
    int colon = text.Find(':', host + 5);
    int eol = text.Find('\n', host);
    if (eol < 0) return text;
    SString out;
    if (colon < 0 || colon > eol) {
        // A Host line without a port: the port is added, never written over
        // the next header's name.
        out.AssignRange(TextOf(text), static_cast<size_t>(eol));
        out += ":";
    } else {
        out.AssignRange(TextOf(text), static_cast<size_t>(colon) + 1);
    }
    out += "2301\n";
    out += TextOf(text) + eol + 1;
    return out;
}

int ExecuteELMCommand(const char* request, char* response, int responseSize, int retries) {
    SString legacy = EMClientAPITNGLegacyRequest(request);
    return EMClientAPICommand(TextOf(legacy), response, responseSize, retries);
}

int ExecuteELMCommandEx(const char* request, char** response, int* responseLength, int retries) {
    SString legacy = EMClientAPITNGLegacyRequest(request);
    return EMClientAPICommandEx(TextOf(legacy), response, responseLength, retries);
}

int GetSoapSvrXMLRequest(EMClientAPIXMLBuffer& request, SString& bridgeRequest) {
    SString authorization;
    if (IsUsrnamePwdPresent(request)) {
        authorization = GetMD5HashAuthCode(request.GetUsername(), request.GetUserPassword());
    } else if (IsLocalSystem(request.GetServerName())) {
        AddUsernamePassword(request);
        authorization = request.GetUsername() + ":" + request.GetUserPassword();
    }
    SString code = GetBase64AuthCode(authorization);

    EMClientAPIXMLBuffer payload;
    if (int rc = request.GetCleanContent(payload)) return rc;
    if (int rc = payload.UpdateClientIP()) return rc;
    if (int rc = payload.Normalize()) return rc;

    SString body(kBodyStart);
    body += payload;
    body += kBodyEnd;
    char digits[32];
    itoa(SizeOf(body), digits, 10);

    bridgeRequest = SString("POST /qxbridge HTTP/1.1\nHost:") + request.GetServerName() + ":" +
                    request.GetServerPort() + "\nUser-Agent: SoapClient 1.0\nAuthorization: Basic " + code +
                    "\nContent-Type:text/xml; charset=utf-8\nContent-Length:" + digits + "\n" +
                    "SOAPAction:\"urn:VELTRA-Kestrel:BridgeXMLInterface.v3/executeTextTransport\"\n\n";
    if ((bridgeRequest += body) != 0) return EMCLIENTAPI_ALLOCATION_ERROR;
    return 0;
}

int PerformRequest(EMClientAPISocket* connection, EMClientAPIXMLBuffer& request, EMClientAPIXMLBuffer& reply) {
    EMClientAPIXMLBuffer copy(request);
    SString bridge;
    if (int rc = GetSoapSvrXMLRequest(copy, bridge)) return rc;
    EMClientAPITNGLogAt(2, " ** Socket connection for sending request is open");
    EMClientAPITNGLogAt(1, " ** Request sent to server ->", &bridge);
    // Bytes waiting before the request goes are the tail of an earlier
    // reply; read after it, they would answer this request in its place.
    if (connection->IsMarkForDelete() || connection->HasStaleBytes()) {
        if (int rc = connection->OpenSoapConnection(request.GetServerName(), request.GetServerPort())) return rc;
    }
    if (int rc = connection->SendSoapRequest(bridge)) return rc;
    EMClientAPITNGLogAt(2, " ** Request sent to server");

    EMClientAPIXMLBuffer answer;
    int count = 0;
    if (int rc = connection->ReceiveSoapResponse(answer, count)) return rc;
    if (int rc = read_to_declaration(connection, answer, count)) return rc;
    int declaration = answer.Find("<?xml version");
    if (declaration < 0) {
        EMClientAPITNGLogAt(2, " ** Response from server received");
        EMClientAPITNGLogAt(2, " ** Response from server ->", &answer);
        return report(answer.Find("Unauthorized") >= 0 ? EMCLIENTAPI_PERMISSIONDENIED_ERROR
                                                       : EMCLIENTAPITNG_SOAPSERVER_RESPONSE_INVALID_ERROR);
    }
    // Without a length the reply's end cannot be told on a kept-alive
    // connection: refuse it (the connection is then dropped).
    int expected = answer.GetContentLength();
    if (expected < 0) return report(EMCLIENTAPITNG_SOAPSERVER_RESPONSE_INVALID_ERROR);
    if (expected > EMClientAPITNGMaxReplyBytes) {
        connection->MarkForDelete();
        return report(EMCLIENTAPITNG_REPLYTOOLARGE_ERROR);
    }
    // The reply is held once: storage for all of it is taken up front, the
    // rest is read straight into it, and the payload is unwrapped in place.
    size_t whole = static_cast<size_t>(declaration) + static_cast<size_t>(expected);
    size_t have = static_cast<size_t>(SizeOf(answer));
    if (static_cast<size_t>(count) > whole) {
        // More than the reply announced: the surplus is no answer to
        // anything, and what else the server sends cannot be trusted to
        // line up with requests on this connection.
        connection->MarkForDelete();
        if (have > whole) have = whole;
    }
    if (reply.AssignRange(TextOf(answer), have) != 0 || reply.Reserve(whole) != 0)
        return report(EMCLIENTAPI_ALLOCATION_ERROR);
    answer.CleanupBuffer();
    for (size_t received = static_cast<size_t>(count); received < whole;) {
        int n = 0;
        if (int rc = connection->ReceiveInto(reply, whole - received, n)) return rc;
        received += static_cast<size_t>(n);
    }
    // A NUL inside the data ends what the text can hold.
    if (const void* nul = std::memchr(TextOf(reply), '\0', static_cast<size_t>(SizeOf(reply))))
        reply.Truncate(static_cast<size_t>(static_cast<const char*>(nul) - TextOf(reply)));
    EMClientAPITNGLogAt(2, " ** Response from server received");
    EMClientAPITNGLogAt(1, " ** Response from server ->", &reply);
    if (int rc = reply.TakeXmlPayload()) return rc;
    EMClientAPITNGLogAt(1, " ** Client response ->", &reply);
    return 0;
}

int Transfers(EMClientAPISocket* connection, EMClientAPIXMLBuffer& request, EMClientAPIXMLBuffer& reply,
              int retries) {
    EMClientAPIXMLBuffer original(request);
    EMClientAPITNGLogAt(1, " ** Original received request from application ->", &request);
    int rc = PerformRequest(connection, request, reply);
    if (rc == EMCLIENTAPISOCKET_SOCKETNOTOPEN_ERROR || rc == EMCLIENTAPISOCKET_SEND_ERROR ||
        rc == EMCLIENTAPISOCKET_RECEIVE_ERROR) {
        // A kept-alive connection the server has since closed: one fresh try.
        rc = connection->OpenConnection(request.GetServerName(), request.GetServerPort());
        if (rc != 0) return rc;
        rc = PerformRequest(connection, request, reply);
    }
    if (rc != 0) return rc;
    EMClientAPITNGLogAt(2, " ** Request has been sent to server and response received");

    int limit = retries > 0 ? retries : 6;
    int condition = EMClientAPIAnalyzeResponse(reply, retries);
    for (int made = 0; condition != 0 && made < limit; ++made) {
        EMClientAPITNGLogAt(2, " ** Retrying to send the command due to a server condition.");
        EMClientAPISleepSeconds(static_cast<unsigned>(EMClientAPIRetryDelaySeconds(condition)));
        request = original;
        if ((rc = PerformRequest(connection, request, reply)) != 0) return rc;
        condition = EMClientAPIAnalyzeResponse(reply, retries);
    }
    return 0;
}

int EMClientAPITNGCommandEx(const char* request, char** response, int* responseLength, int retries) {
    if (response != nullptr) *response = nullptr;
    if (responseLength != nullptr) *responseLength = 0;
    if (request == nullptr || response == nullptr || responseLength == nullptr)
        return report(EMCLIENTAPI_INVALIDPARAMETER_ERROR);
    EMClientAPIXMLBuffer reply;
    bool handedOver = false;
    int rc = EMClientAPITNGRunSequence(
        request, retries, reply,
        [&](const char* text) { return ExecuteELMCommandEx(text, response, responseLength, retries); }, handedOver);
    if (handedOver || rc != 0) return rc;
    // The reply's own buffer goes to the caller: a large reply is never
    // held twice.
    int n = SizeOf(reply);
    char* text = reply.Release();
    if (text == nullptr) {
        rc = report(EMCLIENTAPI_ALLOCATION_ERROR);
    } else {
        *response = text;
        *responseLength = n;
    }
    if (gnSockDestroy) EMClientAPITNGCleanup();
    return rc;
}

int EMClientAPITNGCommand(const char* request, char* response, int responseSize, int retries) {
    if (response == nullptr || responseSize == 0) return report(EMCLIENTAPI_INVALIDPARAMETER_ERROR);
    if (request == nullptr) return report(EMCLIENTAPI_INVALIDPARAMETER_ERROR);
    EMClientAPIXMLBuffer reply;
    bool handedOver = false;
    int rc = EMClientAPITNGRunSequence(
        request, retries, reply, [&](const char* text) { return ExecuteELMCommand(text, response, responseSize, retries); },
        handedOver);
    if (handedOver || rc != 0) return rc;
    int n = SizeOf(reply);
    if (n >= responseSize) {
        rc = report(EMCLIENTAPI_BUFFERTOOSMALL_ERROR);
    } else {
        std::memcpy(response, TextOf(reply), static_cast<size_t>(n) + 1);
        EMClientAPITNGLogAt(2, " ** The response buffer has been copied into receiving buffer");
    }
    if (gnSockDestroy) EMClientAPITNGCleanup();
    return rc;
}
