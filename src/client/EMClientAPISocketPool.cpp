#include "EMClientAPISocketPool.h"

#include <memory>
#include <new>

#include "EMClientAPIErrors.h"
#include "EMClientAPISeams.h"
#include "EMClientAPITNG.h"

CPtrList<EMClientAPISocket*> gSocketConnList;
SString gPrevServerName;
SString gPrevServerPort;

namespace {

bool g_initialized = false;

// Waits while another caller walks the pool: true once it is free, false
// when the countdown ran out. Block mode waits for good unless told to
// count anyway.
bool wait_for_pool(bool alwaysCount) {
    int countdown = gnTNGTimeout;
    while (gSocketConnList.IsListInUse()) {
        if (countdown < 1) return false;
        if (alwaysCount || !gnTNGBlockMode) --countdown;
        EMClientAPISleepSeconds(1);
    }
    return true;
}

void destroy_at(int i) {
    EMClientAPISocket* s = gSocketConnList.at(i);
    gSocketConnList.Remove(i);
    delete s;
}

SString bridge_port(const SString& port) { return port.IsEmpty() ? SString("12301") : port; }

// Opens a bridge connection and adds it to the pool; the pool owns it from
// then on, and a connection that could not be added is destroyed.
int open_pooled(const SString& serverName, const SString& port, EMClientAPISocket*& added) {
    added = nullptr;
    std::unique_ptr<EMClientAPISocket> s(new (std::nothrow) EMClientAPISocket(gnTNGBlockMode, gnTNGTimeout));
    if (!s) return EMCLIENTAPI_ALLOCATION_ERROR;
    if (int rc = s->OpenSoapConnection(serverName, bridge_port(port))) return rc;
    if (gSocketConnList.Add(s.get()) < 0) return EMCLIENTAPISOCKET_SOCKETNOTOPEN_ERROR;
    added = s.release();
    return 0;
}

}  // namespace

void EMClientAPIEmptyPool() {
    while (gSocketConnList.GetSize() > 0) destroy_at(gSocketConnList.GetSize() - 1);
}

void EMClientAPIResetPool() {
    EMClientAPIEmptyPool();
    gSocketConnList.UnLockList();
    gPrevServerName.Clear();
    gPrevServerPort.Clear();
    g_initialized = false;
}

int Initialize(SString serverName, SString port) {
    if (g_initialized && serverName == gPrevServerName && port == gPrevServerPort) return 1;
    EMClientAPIEmptyPool();
    EMClientAPISocket* s = nullptr;
    if (int rc = open_pooled(serverName, port, s)) return rc;
    g_initialized = true;
    gPrevServerName = serverName;
    gPrevServerPort = port;
    return 0;
}

int GetFreeSocket(SString serverName, SString port, EMClientAPISocket*& connection) {
    connection = nullptr;
    if (!wait_for_pool(false)) return EMCLIENTAPISOCKET_SOCKETNOTOPEN_ERROR;
    gSocketConnList.LockList();
    for (int i = 0; i < gSocketConnList.GetSize(); ++i) {
        if (gSocketConnList.at(i)->IsMarkForDelete()) {
            destroy_at(i);
            break;
        }
    }
    for (int i = 0; i < gSocketConnList.GetSize(); ++i) {
        EMClientAPISocket* s = gSocketConnList.at(i);
        // A connection whose exchange failed may still hold the rest of a
        // broken reply: it waits for its purge, it is never lent again.
        if (!s->IsSocketInUse() && !s->IsMarkForDelete()) {
            s->LockSocket();
            connection = s;
            gSocketConnList.UnLockList();
            return 0;
        }
    }
    EMClientAPISocket* s = nullptr;
    int rc = open_pooled(serverName, port, s);
    if (rc == 0) {
        s->LockSocket();
        connection = s;
    }
    gSocketConnList.UnLockList();
    return rc;
}

void EMClientAPITNGCleanup() {
    if (!wait_for_pool(true)) return;
    gSocketConnList.LockList();
    for (int i = 0; i < gSocketConnList.GetSize();) {
        if (gSocketConnList.at(i)->IsSocketInUse())
            ++i;
        else
            destroy_at(i);
    }
    gSocketConnList.UnLockList();
}
