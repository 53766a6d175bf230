#include <cstdio>

#include "Commands.h"

// The client link has no operation that injects a remote-control key: keys
// come from the card as datagrams to the program. The emulated card's own
// command-line tool injects them.
int KeyCommand(const Options&) {
    std::fprintf(stderr,
                 "dvbctl key: the client link cannot inject remote-control keys;\n"
                 "use the emulated card's own key injector (see server/README.md).\n");
    return 2;
}
