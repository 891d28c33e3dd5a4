#include "EMClientAPI.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "EMClientAPIDebug.h"
#include "EMClientAPIErrors.h"
#include "EMClientAPIRetrieval.h"
#include "EMClientAPISeams.h"
#include "EMClientAPISecurity.h"
#include "EMClientAPISocket.h"

int gnBlockMode = 0;
int gnTimeout = 60;

namespace {

int report(int code) {
    EMClientAPIGetErrorDescription(code, nullptr, 0);
    return code;
}

bool retryable(int status) {
    switch (status) {
        case 38: case 97: case 4058: case 6018: case 9009: case 12003: case 14002: case 14007: case 14008:
        case 18018: case 18034: case 18060: case 18070: case 18071: case 19003: case 24004: case 600002:
        case 600013: case 600014:
            return true;
        default:
            return false;
    }
}

int status_after(const SString& text, int from) {
    int open = text.Find("<statuscode>", from);
    if (open < 0) return 0;
    return std::atoi(TextOf(text) + open + 12);
}

// Status of a version-3 reply (versionMarker present) or of a failed legacy
// reply, and whether it is a failure at all.
bool failure_status(const SString& r, const char* versionMarker, bool secondStatus, int& status) {
    status = 0;
    if (r.Find(versionMarker) >= 0) {
        status = status_after(r, 0);
        if (secondStatus && status != 0 && status != 600002 && status != 600013 && status != 600014) {
            int close = r.Find("</statuscode>");
            if (close >= 0 && r.Find("<statuscode>", close) >= 0) status = status_after(r, close);
        }
        return status != 0;
    }
    if (r.Find("NotSuccessMsg") < 0) return false;
    int open = r.Find("<MessageNum");
    int close = open < 0 ? -1 : r.Find("</MessageNum>", open);
    if (open >= 0 && close >= 0) {
        int gt = r.Find('>', open);
        if (gt >= 0 && gt < close) status = std::atoi(TextOf(r) + gt + 1);
    }
    return true;
}

int analyze(EMClientAPIXMLBuffer& r, int full, const char* versionMarker, bool secondStatus) {
    if (full) {
        if (r.Find("<!DOCTYPE") >= 0) return 666666;
        if (r.IsEmpty()) return 666667;
    }
    int status = 0;
    if (!failure_status(r, versionMarker, secondStatus, status)) return 0;
    if (full && retryable(status)) return status;
    if (status == 18034) return 18034;
    return 0;
}

}  // namespace

void EMClientAPISetBlockMode(int mode) { gnBlockMode = mode; }

void EMClientAPISetTimeout(int seconds) { gnTimeout = seconds > 0 ? seconds : 60; }

int EMClientAPIGetVersionInformation(char* buffer) {
    if (buffer == nullptr) return report(EMCLIENTAPI_INVALIDPARAMETER_ERROR);
    std::strcpy(buffer, "EMClientAPI Version 4.28");
    std::strcpy(buffer + 80, "Jul 14 2004");
    return 0;
}

void EMClientAPICheckPerformance(const char*) {}

int EMClientAPIRetryDelaySeconds(int condition) {
    switch (condition) {
        case 38: case 4058: case 6018: case 14002: case 14007: case 14008: case 18060: case 18070: case 18071:
            return 10;
        case 12003:
        case 666666:
            return 30;
        case 18018:
            return 5;
        default:
            return 1;
    }
}

int EMClientAPIAnalyzeResponse(EMClientAPIXMLBuffer& response, int fullAnalysis) {
    return analyze(response, fullAnalysis, "<version>3.", false);
}

int EMClientAPIAnalyzeResponseEx(EMClientAPIXMLBuffer& response, int fullAnalysis) {
    return analyze(response, fullAnalysis, "<version>3", true);
}

int EMClientAPIRetriesRequired(const char* response) {
    EMClientAPIXMLBuffer r(response);
    return EMClientAPIAnalyzeResponse(r, 1);
}

int EMClientAPIRetriesRequiredEx(const char* response) {
    EMClientAPIXMLBuffer r(response);
    return EMClientAPIAnalyzeResponseEx(r, 1);
}

int EMClientAPIPerformRequest(EMClientAPIXMLBuffer& request, EMClientAPIXMLBuffer& response) {
    EMClientAPISocket socket(gnBlockMode, gnTimeout);
    int rc = socket.OpenConnection(request.GetServerName(), request.GetServerPort());
    if (rc != 0) return rc;
    EMClientAPILogAt(2, " ** Socket connection for sending request is open");
    if ((rc = socket.Send(request)) != 0) return rc;
    EMClientAPILogAt(2, " ** Request sent to server");
    if ((rc = socket.Receive(response)) != 0) return rc;
    socket.CloseConnection();
    EMClientAPILogAt(2, " ** Response from server received");
    EMClientAPILogAt(1, " ** Response from server ->", &response);
    return 0;
}

int EMClientAPITransfers(EMClientAPIXMLBuffer& request, EMClientAPIXMLBuffer& response, int retryArg) {
    EMClientAPIXMLBuffer original(request);
    EMClientAPILogAt(1, " ** Original received request from application ->", &request);
    if (int rc = request.Validate()) return rc;
    EMClientAPILogAt(2, " ** Received request is valid");
    EMClientAPIXMLBuffer validated(request);
    if (int rc = EMClientAPIUpdateAndValidateRequestSecurity(request, 1)) return rc;
    EMClientAPILogAt(2, " ** Security check successfull");
    if (int rc = EMClientAPIPerformRequest(request, response)) return rc;
    EMClientAPILogAt(2, " ** Request has been sent to server and response received");
    if (EMClientAPISessionRefused(response)) {
        // The stored session is gone (the manager restarted, or another
        // process kept one of its own): one fresh login, and the request again.
        EMClientAPILogAt(2, " ** Session refused by the server: logging in again");
        EMClientAPIEmptyPersistFile();
        request = validated;
        if (int rc = EMClientAPIUpdateAndValidateRequestSecurity(request, 0)) return rc;
        if (int rc = EMClientAPIPerformRequest(request, response)) return rc;
        // A session refused as soon as it was issued will not do better
        // later: fail now rather than retry for minutes.
        if (EMClientAPISessionRefused(response)) return report(EMCLIENTAPI_PERMISSIONDENIED_ERROR);
    }

    int limit = retryArg > 0 ? retryArg : 6;
    int full = retryArg != 0;
    int condition = EMClientAPIAnalyzeResponse(response, full);
    for (int retries = 0; condition != 0 && retries < limit; ++retries) {
        EMClientAPILogAt(2, " ** Retrying to send the command due to a server condition.");
        EMClientAPISleepSeconds(static_cast<unsigned>(EMClientAPIRetryDelaySeconds(condition)));
        request = original;
        if (int rc = EMClientAPIUpdateAndValidateRequestSecurity(request, 0)) return rc;
        if (int rc = EMClientAPIPerformRequest(request, response)) return rc;
        if (EMClientAPISessionRefused(response)) return report(EMCLIENTAPI_PERMISSIONDENIED_ERROR);
        condition = EMClientAPIAnalyzeResponse(response, full);
    }
    return 0;
}

int EMClientAPICommand(const char* request, char* response, int responseSize, int retryArg) {
    EMClientAPIXMLBuffer in(request);
    EMClientAPIXMLBuffer out;
    if (int rc = EMClientAPITransfers(in, out, retryArg)) return rc;
    int n = out.GetBufferSize() > 0 ? out.GetBufferSize() : 0;
    if (response == nullptr || n >= responseSize) return report(EMCLIENTAPI_BUFFERTOOSMALL_ERROR);
    std::memcpy(response, TextOf(out), static_cast<size_t>(n) + 1);
    EMClientAPILogAt(2, " ** The response buffer has been copied into receiving buffer");
    return 0;
}

int EMClientAPICommandEx(const char* request, char** response, int* responseLength, int retryArg) {
    if (response != nullptr) *response = nullptr;
    if (responseLength != nullptr) *responseLength = 0;
    if (response == nullptr || responseLength == nullptr) return report(EMCLIENTAPI_INVALIDPARAMETER_ERROR);
    EMClientAPIXMLBuffer in(request);
    EMClientAPIXMLBuffer out;
    if (int rc = EMClientAPITransfers(in, out, retryArg)) return rc;
    int n = out.GetBufferSize() > 0 ? out.GetBufferSize() : 0;
    char* copy = new (std::nothrow) char[static_cast<size_t>(n) + 1];
    if (copy == nullptr) return report(EMCLIENTAPI_ALLOCATION_ERROR);
    std::memcpy(copy, TextOf(out), static_cast<size_t>(n) + 1);
    *response = copy;
    *responseLength = n;
    return 0;
}

int EMClientAPIRetrieveFile(const char* localPath, const char* elementId, const char* server, const char* port,
                            const char* userName, const char* password, int retryArg) {
    if (localPath == nullptr) return report(EMCLIENTAPI_INVALIDPARAMETER_ERROR);
    EMClientAPIXMLBuffer request(EMClientAPIRetrievalRequest(server, port, elementId, userName, password,
                                                             EMClientAPIFileTypeLines(EMClientAPIRetrievalFileName(localPath))));
    EMClientAPILogAt(2, " ** Request for file built in EMClientAPIRetrieveFile->", &request);
    EMClientAPIXMLBuffer response;
    if (int rc = EMClientAPITransfers(request, response, retryArg)) return rc;
    EMClientAPILogAt(2, " ** Response receive in EMClientAPIRetrieveFile->", &response);
    int from = 0, to = 0;
    if (int rc = EMClientAPIRetrievalAnswer(response, EMCLIENTAPI_INVALIDSERVERRESPONSE_ERROR, from, to))
        return report(rc);
    if (int rc = EMClientAPIWriteClientFile(localPath, TextOf(response) + from, static_cast<size_t>(to - from)))
        return report(rc);
    return 0;
}

int EMClientAPIRetrieveControllerData(const char* server, const char* port, const char* userName,
                                      const char* password, const char* elementId, unsigned char* out, int outSize,
                                      int dataType, int retryArg) {
    if (out == nullptr || outSize <= 0) return report(EMCLIENTAPI_BUFFERTOOSMALL_ERROR);
    std::memset(out, 0, static_cast<size_t>(outSize));
    EMClientAPIXMLBuffer request(EMClientAPIRetrievalRequest(server, port, elementId, userName, password,
                                                             EMClientAPIControllerDataTypeLines(dataType)));
    EMClientAPILogAt(2, " ** Request for Controller Data in EMClientAPIRetrieveControllerData->", &request);
    EMClientAPIXMLBuffer response;
    if (int rc = EMClientAPITransfers(request, response, retryArg)) return rc;
    EMClientAPILogAt(2, " ** Response receive in EMClientAPIRetrieveControllerData->", &response);
    int from = 0, to = 0;
    if (int rc = EMClientAPIRetrievalAnswer(response, EMCLIENTAPI_NOCONTROLLERDATA_ERROR, from, to))
        return report(rc);
    if (int rc = EMClientAPIDecodeControllerData(TextOf(response) + from, to - from, out, outSize))
        return report(rc);
    return 0;
}
