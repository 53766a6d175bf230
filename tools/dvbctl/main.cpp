// dvbctl: drives the card from the command line through libkestrel. The
// library's load-time connect is deferred (KestrelDeferConnectAtLoad), so
// the help, the version and usage errors work without a card; a command
// connects through NeedCard() once its arguments are checked.
#include <cstdio>
#include <string>
#include <vector>

#include "Commands.h"
#include "SvlVersion.h"
#include "Usage.h"
#include "kestrel/CPollDispatcher.h"
#include "kestrel/CServerConnection.h"

extern "C" int KestrelDeferConnectAtLoad(void) { return 1; }

bool NeedCard() {
    auto& connection = kestrel::CServerConnection::Instance();
    if (connection.IsConnected()) return true;
    if (!connection.Connect()) {
        std::fprintf(stderr, "%s\n", connection.LastError().c_str());
        return false;
    }
    connection.AttachDispatcher(kestrel::DefaultPollDispatcher());
    return true;
}

namespace {

// The commands whose arguments are words rather than "--name value" pairs.
int RunWords(const std::string& cmd, const std::vector<std::string>& rest) {
    if (cmd == "key")
        return rest.size() == 1 ? KeyCommand(rest[0])
                                : UsageError("key erwartet eine Tastennummer");
    if (cmd == "snapshot")
        return rest.size() == 1 ? SnapshotCommand(rest[0])
                                : UsageError("snapshot erwartet einen Dateinamen");
    int rc = 0;
    if (cmd == "osd")
        rc = OsdCommand(rest);
    else if (cmd == "teletext")
        rc = TeletextCommand(rest);
    else if (cmd == "record")
        rc = RecordCommand(rest);
    else
        rc = PlayCommand(rest);
    return rc == 2 ? Usage() : rc;
}

bool WordCommand(const std::string& cmd) {
    return cmd == "key" || cmd == "osd" || cmd == "snapshot" || cmd == "teletext" ||
           cmd == "record" || cmd == "play";
}

bool OptionCommand(const std::string& cmd) {
    return cmd == "status" || cmd == "tune" || cmd == "sections" || cmd == "scan" || cmd == "psi";
}

int RunOptions(const std::string& cmd, const std::vector<std::string>& rest) {
    Options o;
    if (!o.Parse(rest)) return UsageError(o.error());
    int rc = 0;
    if (cmd == "status")
        rc = StatusCommand(o);
    else if (cmd == "tune")
        rc = TuneCommand(o);
    else if (cmd == "sections")
        rc = SectionsCommand(o);
    else if (cmd == "scan")
        rc = ScanCommand(o);
    else
        rc = PsiCommand(o);
    return rc == 2 ? Usage() : rc;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return UsageError("kein Befehl angegeben");
    const std::string cmd = argv[1];
    if (cmd == "--help" || cmd == "-h" || cmd == "help") return Usage(stdout);
    if (cmd == "--version") return PrintSvlVersion("dvbctl");
    const std::vector<std::string> rest(argv + 2, argv + argc);
    if (WordCommand(cmd)) return RunWords(cmd, rest);
    if (OptionCommand(cmd)) return RunOptions(cmd, rest);
    return UsageError("unbekannter Befehl: " + cmd);
}
