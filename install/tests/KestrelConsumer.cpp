// A program built only against the installed headers and library (pkg-config
// kestrel): it loads libkestrel.so without the load-time connect, checks that
// no connection was made and writes and reads a value in the key store named
// on its command line.
#include <cstdio>
#include <string>

#include "kestrel/CRegistry.h"
#include "kestrel/CServerConnection.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kestrel_consumer KEYSTORE\n");
        return 2;
    }
    if (kestrel::CServerConnection::Instance().IsConnected()) {
        std::fprintf(stderr, "connected although the connect was deferred\n");
        return 1;
    }
    kestrel::CRegistry store;
    const std::string key = "SOFTWARE\\Consumer";
    std::string back;
    if (!store.Open(argv[1]) || !store.WriteString(key, "Value", "installed") ||
        !store.ReadString(key, "value", back) || back != "installed") {
        std::fprintf(stderr, "key store round trip failed\n");
        return 1;
    }
    std::printf("consumer: not connected, key store value '%s'\n", back.c_str());
    return 0;
}
