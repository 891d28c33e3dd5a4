// The steps of one request on the current path, inside the library: the
// bridge's SOAP call built, sent and read on a pooled connection, and the
// hand-over to the legacy element manager.
#pragma once

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
