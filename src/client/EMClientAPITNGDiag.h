// The current interface's ready-made requests: the management server's
// version, rediscovery of storage cells, the disk exerciser, an object
// listing, and the two retrievals of the legacy request dialect.
#pragma once

#include "UList.h"

// One element of the list EMClientAPITNGGetObjectList fills.
struct EMClientAPITNGObject;

// Servers are host names without a port. Texts returned through char** are
// new arrays (array new) that the caller releases with array delete.
int EMClientAPITNGGetEMVersion(const char* server, const char* userName, const char* password, char* version,
                               char* build);
int EMClientAPITNGDiscoverStorageCell(const char* server, const char* userName, const char* password);
int EMClientAPITNGStartDKEXDiskName(const char* server, const char* userName, const char* password,
                                    const char* diskNames, const char* cellId, char** message);
int EMClientAPITNGStopDKEX(const char* server, const char* userName, const char* password, const char* cellId,
                           char** message);
int EMClientAPITNGGetDKEXSummary(const char* server, const char* userName, const char* password, const char* cellId,
                                 char** summary);
int EMClientAPITNGGetObjectList(const char* server, const char* userName, const char* password, const char* cellId,
                                const char* objectType, UList* objects);
int EMClientAPITNGClearObjectList(UList* objects);
int EMClientAPITNGClearStringList(UList* strings);
int EMClientAPITNGRetrieveFile(const char* localPath, const char* elementId, const char* server, const char* port,
                               const char* userName, const char* password, int retries);
int EMClientAPITNGRetrieveControllerData(const char* server, const char* port, const char* userName,
                                         const char* password, const char* elementId, unsigned char* buffer,
                                         int bufferSize, int dataType, int retries);
