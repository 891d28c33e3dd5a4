#include "EMClientAPITNG.h"

int gnTNGBlockMode = 0;

void EMClientAPITNGSetBlockMode(int mode) { gnTNGBlockMode = mode; }

// The connection pool arrives with the networking layer; nothing to close yet.
void EMClientAPITNGCleanup() {}
