// Connects when the shared library is loaded and disconnects when it is
// unloaded. Only part of libkestrel.so, not of the static library used by
// tests and fuzz targets.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "kestrel/CServerConnection.h"

namespace {

// Deferred by the environment, or by the program through its hook (which
// runs before the program's own static objects are built).
bool ConnectDeferred() {
    const char* v = std::getenv("KESTREL_DEFER_CONNECT");
    if (v && *v && std::strcmp(v, "0") != 0) return true;
    return KestrelDeferConnectAtLoad && KestrelDeferConnectAtLoad() != 0;
}

__attribute__((constructor)) void KestrelLoad() {
    if (ConnectDeferred()) return;
    auto& connection = kestrel::CServerConnection::Instance();
    if (connection.Connect()) return;
    const std::string& message = connection.LastError();
    std::fprintf(stderr, "%s\n", message.c_str());
    if (KestrelReportFatal) KestrelReportFatal(message.c_str());
    std::exit(1);
}

__attribute__((destructor)) void KestrelUnload() {
    kestrel::CServerConnection::Instance().DisconnectAtExit();
}

}  // namespace
