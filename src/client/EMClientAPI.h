// The client library's legacy interface: one complete HTTP request to the
// element manager behind the web agent (port 2301), with its login, the
// transfer loop that retries server conditions, and the reply analysis both
// interfaces use to decide whether a reply calls for a retry.
#pragma once

#include "EMClientAPIXMLBuffer.h"

extern int gnBlockMode;
extern int gnTimeout;

void EMClientAPISetBlockMode(int mode);
void EMClientAPISetTimeout(int seconds);  // 0 or less stores 60
// Two 80-byte fields: version text, build date. 300 for a null buffer.
int EMClientAPIGetVersionInformation(char* buffer);

// The response text is copied when it fits below responseSize (else 301).
int EMClientAPICommand(const char* request, char* response, int responseSize, int retryArg);
// The response in a new array (array delete) and its length.
int EMClientAPICommandEx(const char* request, char** response, int* responseLength, int retryArg);

int EMClientAPIRetrieveFile(const char* localPath, const char* elementId, const char* server, const char* port,
                            const char* userName, const char* password, int retryArg);
int EMClientAPIRetrieveControllerData(const char* server, const char* port, const char* userName,
                                      const char* password, const char* elementId, unsigned char* out, int outSize,
                                      int dataType, int retryArg);

// 0, or the server condition code that calls for a retry.
int EMClientAPIRetriesRequired(const char* response);
int EMClientAPIRetriesRequiredEx(const char* response);
int EMClientAPIAnalyzeResponse(EMClientAPIXMLBuffer& response, int fullAnalysis);
int EMClientAPIAnalyzeResponseEx(EMClientAPIXMLBuffer& response, int fullAnalysis);

// retryArg above 0: that many retries, full analysis; 0: six retries,
// reduced analysis; below 0: six retries, full analysis.
int EMClientAPITransfers(EMClientAPIXMLBuffer& request, EMClientAPIXMLBuffer& response, int retryArg);
int EMClientAPIPerformRequest(EMClientAPIXMLBuffer& request, EMClientAPIXMLBuffer& response);
void EMClientAPICheckPerformance(const char*);

// Whole seconds to wait before retrying a server condition.
int EMClientAPIRetryDelaySeconds(int condition);
