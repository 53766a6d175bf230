// dvbctl psi: the PSI decoder on the tuned transponder, then its tree.
#include <chrono>
#include <cstdio>

#include "Commands.h"
#include "kestrel/CPollDispatcher.h"
#include "kestrel/CPsiDecoder.h"
#include "kestrel/CRegistry.h"
#include "kestrel/RegistryTree.h"

namespace {

constexpr const char* kDefaultRoot = "SOFTWARE\\Norvane\\PSI";
constexpr const char* kSubKey = "dvbctl";

const char* YesNo(int flag) { return flag ? "ja" : "nein"; }

/// Runs the dispatcher until the decoder is done or the time is up; true when done.
bool RunDecoder(CPsiDecoder& decoder, std::uint32_t timeoutMs) {
    int pat = 0, maps = 0, sdt = 0;
    std::uint32_t elapsed = 0;
    while (!decoder.GetProgress(pat, maps, sdt, elapsed)) {
        if (elapsed >= timeoutMs) {
            std::fprintf(stderr,
                         "dvbctl psi: Zeitablauf nach %u ms (Programmzuordnungstabelle %s, "
                         "Programmtabellen %s, Servicetabelle %s)\n",
                         elapsed, YesNo(pat), YesNo(maps), YesNo(sdt));
            return false;
        }
        // Short rounds: GetProgress gives up overdue program maps.
        const std::uint32_t wait = timeoutMs - elapsed;
        kestrel::DefaultPollDispatcher().RunOnce(static_cast<int>(wait < 100 ? wait : 100));
    }
    return true;
}

}  // namespace

int PsiCommand(const Options& o) {
    if (!NeedCard()) return 1;
    if (o.Has("svl") && TuneFromList(o, "psi") != 0) return 1;
    const std::string root = o.Text("root", kDefaultRoot);
    const std::uint32_t timeout = o.Number("timeout").value_or(15000);
    CPsiDecoder decoder;
    const int rc = decoder.StartDecoding(root.c_str(), kSubKey, "dvbctl psi");
    if (rc != 0) {
        static const char* const kWhy[] = {"Filter der Programmzuordnungstabelle abgelehnt",
                                           "Socket der Programmzuordnungstabelle fehlgeschlagen",
                                           "Filter der Servicetabelle abgelehnt",
                                           "Socket der Servicetabelle fehlgeschlagen"};
        std::fprintf(stderr, "dvbctl psi: %s (%d)\n", rc >= -4 ? kWhy[-rc - 1] : "fehlgeschlagen",
                     rc);
        return 1;
    }
    const bool done = RunDecoder(decoder, timeout);
    decoder.AbortDecoding();
    kestrel::CRegistry store;
    if (!store.Open(kestrel::CRegistry::DefaultPath(), false)) {
        std::fprintf(stderr, "dvbctl psi: der Schlüsselspeicher lässt sich nicht öffnen\n");
        return 1;
    }
    std::fputs(kestrel::FormatRegistryTree(store, decoder.ResultPath()).c_str(), stdout);
    return done ? 0 : 3;
}
