// The current interface's ready-made requests: the management server's
// version, rediscovery of storage cells, the disk exerciser, an object
// listing, and the two retrievals of the legacy request dialect.
#pragma once

#include "SString.h"
#include "UList.h"

// One element of the list EMClientAPITNGGetObjectList fills: a heap object
// the list holds until EMClientAPITNGClearObjectList destroys it.
struct EMClientAPITNGObject {
    SString id;
    SString name;
    SString hexuid;
};

// Servers are host names without a port. Texts returned through char** are
// new arrays (array new) that the caller releases with array delete.
int EMClientAPITNGGetEMVersion(const char* server, const char* userName, const char* password, char* version,
                               char* build);
int EMClientAPITNGDiscoverStorageCell(const char* server, const char* userName, const char* password);
// Disk names are comma-separated and trimmed of blanks; each picks the first
// disk of the cell whose name begins with it (no names: every disk). A name
// that begins no disk name gives 500 and nothing is started.
int EMClientAPITNGStartDKEXDiskName(const char* server, const char* userName, const char* password,
                                    const char* diskNames, const char* cellId, char** message);
int EMClientAPITNGStopDKEX(const char* server, const char* userName, const char* password, const char* cellId,
                           char** message);
// *summary is set even when the exchange fails.
int EMClientAPITNGGetDKEXSummary(const char* server, const char* userName, const char* password, const char* cellId,
                                 char** summary);
// Appends one record per object entry of the reply, in reply order. An entry
// without its objectname or objecthexuid (before the next objectid) is
// skipped: a record with a field taken from the next entry would be wrong.
// The same, telling whether the reply held a summary (1) or the text is the
// server's status message or the placeholder (0): a refusal to a caller.
int EMClientAPITNGGetDKEXSummaryEx(const char* server, const char* userName, const char* password,
                                   const char* cellId, char** summary, int* isSummary);
int EMClientAPITNGGetObjectList(const char* server, const char* userName, const char* password, const char* cellId,
                                const char* objectType, UList* objects);
int EMClientAPITNGClearObjectList(UList* objects);
int EMClientAPITNGClearStringList(UList* strings);
// The server is asked for the local path's last component. The file is
// replaced only by a complete answer, never written through a link.
int EMClientAPITNGRetrieveFile(const char* localPath, const char* elementId, const char* server, const char* port,
                               const char* userName, const char* password, int retries);
// The decoded data, then zeros, into buffer; never past bufferSize.
int EMClientAPITNGRetrieveControllerData(const char* server, const char* port, const char* userName,
                                         const char* password, const char* elementId, unsigned char* buffer,
                                         int bufferSize, int dataType, int retries);
