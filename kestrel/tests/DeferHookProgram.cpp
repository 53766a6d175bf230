// A program linked against libkestrel.so that answers the library's question
// whether to connect at load: the answer is the first character of
// DEFER_HOOK_ANSWER ('1' defers, anything else does not), and the hook notes
// that it was asked in DEFER_HOOK_ASKED. With the argument "connect" main
// then connects itself, as a tool does for a command that needs the card.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "kestrel/CServerConnection.h"

extern "C" int KestrelDeferConnectAtLoad(void) {
    if (const char* path = std::getenv("DEFER_HOOK_ASKED")) {
        if (FILE* f = std::fopen(path, "w")) std::fclose(f);
    }
    const char* answer = std::getenv("DEFER_HOOK_ANSWER");
    return answer && answer[0] == '1';
}

int main(int argc, char** argv) {
    auto& connection = kestrel::CServerConnection::Instance();
    if (argc > 1 && std::string(argv[1]) == "connect") {
        if (connection.Connect()) return 0;
        std::fprintf(stderr, "%s\n", connection.LastError().c_str());
        return 1;
    }
    std::puts(connection.IsConnected() ? "connected" : "main ran");
    return 0;
}
