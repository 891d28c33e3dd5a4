// The manager client library's current interface: one request in, one
// reply document out, over the management server's XML bridge, with the
// fallback to the legacy element manager.
#pragma once

#include "EMClientAPIDebug.h"
#include "EMClientAPIErrors.h"

extern int gnTNGBlockMode;
extern int gnTNGTimeout;
extern int gnSockDestroy;

// The largest bridge reply accepted, in bytes (256 MiB): a reply is held in
// memory whole, so a server announcing or sending more is refused with 1001
// and its connection dropped, before the memory is taken. Replies on the
// legacy port have the same bound.
constexpr int EMClientAPITNGMaxReplyBytes = EMClientAPIMaxReplyBytes;

// Filled by EMClientAPITNGGetVersionInformation.
struct EMClientAPITNGVersionInformation {
    char version[80];
    char buildDate[80];
};

void EMClientAPITNGSetBlockMode(int mode);
void EMClientAPITNGSetTimeout(int seconds);  // 0 or less stores 60
void EMClientAPITNGSetSocketDestroy(int flag);
int EMClientAPITNGGetVersionInformation(EMClientAPITNGVersionInformation* info);

// One request; the reply document is copied into response (it must fit with
// its terminator, else 301).
int EMClientAPITNGCommand(const char* request, char* response, int responseSize, int retries);
// One request; the reply document comes back in a new array the caller
// releases with array delete.
int EMClientAPITNGCommandEx(const char* request, char** response, int* responseLength, int retries);

// 0, or the server condition code that calls for sending the request again.
int EMClientAPITNGRetriesRequired(const char* response);
int EMClientAPITNGRetriesRequiredEx(const char* response);

// Destroys every pooled connection not held by a caller.
void EMClientAPITNGCleanup();
