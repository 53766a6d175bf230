// dvbctl scan: a channel scan of one LNB of a list into a new list.
#include <chrono>
#include <cstdio>

#include "CKestrelScanCard.h"
#include "Commands.h"
#include "channellist/AtomicFile.h"
#include "channellist/CSVLFile.h"
#include "channellist/Windows1252.h"
#include "kestrel/CPollDispatcher.h"
#include "scan/CScanRun.h"
#include "scan/TransponderSources.h"

namespace {

int Fail(const std::string& message) {
    std::fprintf(stderr, "dvbctl scan: %s\n", message.c_str());
    return 1;
}

bool LoadList(const std::string& path, CSVLFile& list, std::string& error) {
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(path, bytes, &error)) return false;
    ArchiveError fault;
    if (list.Load(bytes, &fault)) return true;
    error = "Programmliste " + path + " nicht lesbar: " + fault.message + " (Offset " +
            std::to_string(fault.offset) + ")";
    return false;
}

// The list names its LNBs in Windows-1252, the command line in UTF-8.
std::string ListName(const std::string& utf8) {
    std::string bytes;
    return Utf8ToWindows1252(utf8, bytes) ? bytes : utf8;
}

std::uint64_t NowMs() {
    using namespace std::chrono;
    return static_cast<std::uint64_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// Runs the scan, one line per transponder as it finishes.
void Run(CScanRun& run) {
    auto& loop = kestrel::DefaultPollDispatcher();
    std::size_t printed = 0;
    while (!run.Done()) {
        loop.RunOnce(10);
        run.Step(NowMs());
        for (; printed < run.Outcomes().size(); ++printed) {
            const ScanOutcome& o = run.Outcomes()[printed];
            std::printf("transponder %zu/%d: %s: ", printed + 1, run.Count(),
                        o.transponder.Text().c_str());
            if (o.locked)
                std::printf("%d programs\n", o.programs);
            else
                std::printf("kein Signal\n");
            std::fflush(stdout);
        }
    }
}

}  // namespace

int ScanCommand(const Options& o) {
    if (!o.Has("svl") || !o.Has("lnb") || !o.Has("out")) {
        std::fprintf(stderr,
                     "dvbctl scan: --svl LISTE.svl, --lnb NAME und --out NEU.svl sind nötig\n");
        return 2;
    }
    CSVLFile list;
    std::string error;
    if (!LoadList(o.Text("svl"), list, error)) return Fail(error);
    ScanSettings settings;
    settings.lnbName = ListName(o.Text("lnb"));
    const CLnb* lnb = list.FindLnb(settings.lnbName);
    if (!lnb) return Fail("LNB \"" + o.Text("lnb") + "\" steht nicht in " + o.Text("svl"));
    settings.lnb = *lnb;

    std::vector<ScanTransponder> transponders;
    if (o.Has("transponders")) {
        if (!TransponderSources::ReadTransponderFile(o.Text("transponders"), transponders, error))
            return Fail(error);
    } else {
        transponders = TransponderSources::FromList(list, settings.lnbName);
        settings.followNit = true;
    }
    if (transponders.empty()) return Fail("keine Transponder zu durchsuchen");

    if (!NeedCard()) return 1;
    CKestrelScanCard card;
    CScanRun run(card, settings, transponders);
    Run(run);
    if (run.LockedCount() == 0) return Fail("kein Transponder empfangen");

    CSVLFile found;
    found.Lnbs = list.Lnbs;
    for (const CProgramInfo& p : run.Found())
        found.Programs.push_back(std::make_unique<CProgramInfo>(p));
    if (!SaveFileAtomically(o.Text("out"), found.Store(), &error)) return Fail(error);
    std::printf("scan: %d programs on %d of %d transponders, written to %s\n", run.ProgramsFound(),
                run.LockedCount(), run.Count(), o.Text("out").c_str());
    return 0;
}
