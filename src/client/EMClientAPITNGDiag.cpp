// Placeholder until the ready-made requests are written: every operation
// answers that the request is invalid.
#include "EMClientAPITNGDiag.h"

#include "EMClientAPIErrors.h"

int EMClientAPITNGGetEMVersion(const char*, const char*, const char*, char*, char*) {
    return EMCLIENTAPI_RESQUESTINVALID_ERROR;
}
int EMClientAPITNGDiscoverStorageCell(const char*, const char*, const char*) { return EMCLIENTAPI_RESQUESTINVALID_ERROR; }
int EMClientAPITNGStartDKEXDiskName(const char*, const char*, const char*, const char*, const char*, char** message) {
    if (message) *message = nullptr;
    return EMCLIENTAPI_RESQUESTINVALID_ERROR;
}
int EMClientAPITNGStopDKEX(const char*, const char*, const char*, const char*, char** message) {
    if (message) *message = nullptr;
    return EMCLIENTAPI_RESQUESTINVALID_ERROR;
}
int EMClientAPITNGGetDKEXSummary(const char*, const char*, const char*, const char*, char** summary) {
    if (summary) *summary = nullptr;
    return EMCLIENTAPI_RESQUESTINVALID_ERROR;
}
int EMClientAPITNGGetObjectList(const char*, const char*, const char*, const char*, const char*, UList*) {
    return EMCLIENTAPI_RESQUESTINVALID_ERROR;
}
int EMClientAPITNGClearObjectList(UList*) { return 0; }
int EMClientAPITNGClearStringList(UList*) { return 0; }
int EMClientAPITNGRetrieveFile(const char*, const char*, const char*, const char*, const char*, const char*, int) {
    return EMCLIENTAPI_RESQUESTINVALID_ERROR;
}
int EMClientAPITNGRetrieveControllerData(const char*, const char*, const char*, const char*, const char*,
                                         unsigned char*, int, int, int) {
    return EMCLIENTAPI_RESQUESTINVALID_ERROR;
}
