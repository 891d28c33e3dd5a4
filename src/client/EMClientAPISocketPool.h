// The current interface's pool of kept-alive bridge connections: one
// process-wide list, built for one server at a time, from which each
// request borrows a connection.
#pragma once

#include "CPtrList.h"
#include "EMClientAPISocket.h"
#include "SString.h"

extern CPtrList<EMClientAPISocket*> gSocketConnList;
extern SString gPrevServerName;
extern SString gPrevServerPort;

// 0 when the pool was (re)built now with one open connection, 1 when it
// already serves this server and port, else the connection's failure code.
int Initialize(SString serverName, SString port);
// Hands out an idle connection (opening one when none is idle) with its
// in-use mark set; first destroys at most one connection marked for
// deletion.
int GetFreeSocket(SString serverName, SString port, EMClientAPISocket*& connection);
// Closes and destroys every connection, held or not.
void EMClientAPIEmptyPool();
// Back to the state of a fresh process: pool empty, no server remembered.
// For tests, which must not carry one case's connections into the next.
void EMClientAPIResetPool();
