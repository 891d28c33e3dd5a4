// The steps of one request on the current path, inside the library: the
// bridge's SOAP call built, sent and read on a pooled connection, and the
// hand-over to the legacy element manager.
#pragma once

#include <functional>

#include "EMClientAPISocket.h"
#include "EMClientAPIXMLBuffer.h"
#include "SString.h"

int ExecuteELMCommand(const char* request, char* response, int responseSize, int retries);
int ExecuteELMCommandEx(const char* request, char** response, int* responseLength, int retries);
// The request text with the port of its Host: line replaced by 2301.
SString EMClientAPITNGLegacyRequest(const char* request);
int Transfers(EMClientAPISocket* connection, EMClientAPIXMLBuffer& request, EMClientAPIXMLBuffer& reply,
              int retries);
int PerformRequest(EMClientAPISocket* connection, EMClientAPIXMLBuffer& request, EMClientAPIXMLBuffer& reply);
int GetSoapSvrXMLRequest(EMClientAPIXMLBuffer& request, SString& bridgeRequest);

// The command sequence up to a finished transfer on the bridge: 0 with the
// reply document in reply, else the code to return. A request for port 2301
// is given to legacy first (and moves to 12301 on 201); a bridge that cannot
// be connected on the first request for it hands the request to legacy.
// When legacy took the request, handedOver is set and its result is the
// result.
int EMClientAPITNGRunSequence(const char* request, int retries, EMClientAPIXMLBuffer& reply,
                              const std::function<int(const char*)>& legacy, bool& handedOver);

// The ready-made requests' internal steps. The server status message of a
// reply: empty with "<statuscode>0", else the first statusdescription, a
// blank and the next one (each when present).
SString ExtractErrorMessage(const char* reply);
// The retrievals handed to the legacy interface (controller data always on
// port 2301).
int ExecuteELMRetrieveFile(const char* localPath, const char* elementId, const char* server, const char* port,
                           const char* userName, const char* password, int retries);
int ExecuteELMRetrieveControllerData(const char* server, const char* port, const char* userName,
                                     const char* password, const char* elementId, unsigned char* buffer,
                                     int bufferSize, int dataType, int retries);
