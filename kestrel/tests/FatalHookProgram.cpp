// A program linked against libkestrel.so that receives a failed load-time
// connect through KestrelReportFatal; it records the message in the file
// named by FATAL_HOOK_FILE. main must never run when the connect fails.
#include <cstdio>
#include <cstdlib>

#include "kestrel/CServerConnection.h"

extern "C" void KestrelReportFatal(const char* message) {
    if (const char* path = std::getenv("FATAL_HOOK_FILE")) {
        if (FILE* f = std::fopen(path, "w")) {
            std::fputs(message, f);
            std::fclose(f);
        }
    }
}

int main() {
    std::puts(kestrel::CServerConnection::Instance().IsConnected() ? "connected" : "main ran");
    return 0;
}
