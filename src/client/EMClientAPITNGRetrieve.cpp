// The current interface's two retrievals of the legacy request dialect: a
// file and controller data, carried over the bridge (or handed to the legacy
// interface) by the command sequence.
#include <cstring>

#include "EMClientAPI.h"
#include "EMClientAPIAuth.h"
#include "EMClientAPIRetrieval.h"
#include "EMClientAPITNG.h"
#include "EMClientAPITNGDiag.h"
#include "EMClientAPITNGSteps.h"

namespace {

int report(int code) {
    EMClientAPITNGGetErrorDescription(code, nullptr, 0);
    return code;
}

// The request as sent: the administrator's credentials go in when the
// caller gave no password.
SString with_credentials(const SString& request) {
    EMClientAPIXMLBuffer buffer(request);
    if (!IsUsrnamePwdPresent(buffer)) AddUsernamePassword(buffer);
    return buffer;
}

}  // namespace

int ExecuteELMRetrieveFile(const char* localPath, const char* elementId, const char* server, const char* port,
                           const char* userName, const char* password, int retries) {
    return EMClientAPIRetrieveFile(localPath, elementId, server, port, userName, password, retries);
}

int ExecuteELMRetrieveControllerData(const char* server, const char*, const char* userName, const char* password,
                                     const char* elementId, unsigned char* buffer, int bufferSize, int dataType,
                                     int retries) {
    return EMClientAPIRetrieveControllerData(server, "2301", userName, password, elementId, buffer, bufferSize,
                                             dataType, retries);
}

int EMClientAPITNGRetrieveFile(const char* localPath, const char* elementId, const char* server, const char* port,
                               const char* userName, const char* password, int retries) {
    if (localPath == nullptr) return report(EMCLIENTAPI_INVALIDPARAMETER_ERROR);
    SString request = EMClientAPIRetrievalRequest(
        server, port, elementId, userName, password, EMClientAPIFileTypeLines(EMClientAPIRetrievalFileName(localPath)));
    EMClientAPITNGLogAt(2, " ** Request for file built in EMClientAPITNGRetrieveFile->", &request);
    request = with_credentials(request);

    EMClientAPIXMLBuffer reply;
    bool handedOver = false;
    int rc = EMClientAPITNGRunSequence(
        TextOf(request), retries, reply,
        [&](const char*) {
            return ExecuteELMRetrieveFile(localPath, elementId, server, port, userName, password, retries);
        },
        handedOver);
    if (handedOver || rc != 0) return rc;
    EMClientAPITNGLogAt(2, " ** Response receive in EMClientAPITNGRetrieveFile->", &reply);
    int from = 0, to = 0;
    if ((rc = EMClientAPIRetrievalAnswer(reply, EMCLIENTAPI_INVALIDSERVERRESPONSE_ERROR, from, to)) != 0)
        return report(rc);
    if ((rc = EMClientAPIWriteClientFile(localPath, TextOf(reply) + from, static_cast<size_t>(to - from))) != 0)
        return report(rc);
    return 0;
}

int EMClientAPITNGRetrieveControllerData(const char* server, const char* port, const char* userName,
                                         const char* password, const char* elementId, unsigned char* buffer,
                                         int bufferSize, int dataType, int retries) {
    if (buffer == nullptr || bufferSize <= 0) return report(EMCLIENTAPI_BUFFERTOOSMALL_ERROR);
    std::memset(buffer, 0, static_cast<size_t>(bufferSize));
    SString request = EMClientAPIRetrievalRequest(server, port, elementId, userName, password,
                                                  EMClientAPIControllerDataTypeLines(dataType));
    EMClientAPITNGLogAt(2, " ** Request for Controller Data in EMClientAPITNGRetrieveControllerData->", &request);
    request = with_credentials(request);

    EMClientAPIXMLBuffer reply;
    bool handedOver = false;
    int rc = EMClientAPITNGRunSequence(
        TextOf(request), retries, reply,
        [&](const char*) {
            return ExecuteELMRetrieveControllerData(server, port, userName, password, elementId, buffer, bufferSize,
                                                    dataType, retries);
        },
        handedOver);
    if (handedOver || rc != 0) return rc;
    EMClientAPITNGLogAt(2, " ** Response receive in EMClientAPITNGRetrieveControllerData->", &reply);
    int from = 0, to = 0;
    if ((rc = EMClientAPIRetrievalAnswer(reply, EMCLIENTAPI_NOCONTROLLERDATA_ERROR, from, to)) != 0)
        return report(rc);
    if ((rc = EMClientAPIDecodeControllerData(TextOf(reply) + from, to - from, buffer, bufferSize)) != 0)
        return report(rc);
    return 0;
}
