// The manager client library's current interface: one request in, one
// reply document out, over the management server's XML bridge.
#pragma once

#include "EMClientAPIDebug.h"
#include "EMClientAPIErrors.h"

void EMClientAPITNGSetBlockMode(int mode);
void EMClientAPITNGCleanup();
