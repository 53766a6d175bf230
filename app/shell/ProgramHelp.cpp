#include "shell/ProgramHelp.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "SvlVersion.h"

namespace {

constexpr const char* kHelp = R"(Aufruf: SVL_Editor [DATEI.svl]
       SVL_Editor --help | -h
       SVL_Editor --version
Programmlisten-Editor und TV-Programm für die DVB-Karte: bearbeitet die
Programmlisten (.svl) und zeigt, nimmt auf und durchsucht über die Karte.

Argumente:
  DATEI.svl     die Programmliste, die geöffnet wird; ohne sie die zuletzt
                benutzte, sonst eine neue. Läuft das Programm schon, öffnet
                es die Datei und kommt nach vorn. Weitere Argumente, die mit
                "-" beginnen, werden übergangen; nach "--" ist das nächste
                Argument der Dateiname.
  --help, -h    dieser Text
  --version     die Version

Beim Start verbindet sich das Programm mit dem Server der Karte (und startet
ihn, wie der Schlüsselspeicher ihn nennt); Hilfe und Version brauchen weder
Karte noch Anzeige.

Exit-Status:
  0  Ende des Programms (auch nach der Übergabe an ein laufendes Programm)
  1  keine Karte: die Meldung der Client-Bibliothek auf der Standardfehler-
     ausgabe (mit Anzeige auch in einem Meldungsfenster), vor jedem Fenster
  3  Absturzbericht nach einem Prozessorfehler

Umgebung:
  KESTREL_REGISTRY     Schlüsselspeicher mit der Befehlszeile des Servers
                       (Vorgabe $XDG_CONFIG_HOME/kestrel/registry.db)
  KESTREL_INSTANCE     Name der Karteninstanz
  KESTREL_SERVER_LOG   Datei für die Ausgaben des gestarteten Servers
  KESTREL_DEFER_CONNECT
                       nicht leer und nicht "0": keine Verbindung beim Start
  XDG_CONFIG_HOME, HOME
                       Ort der Einstellungen
  XDG_RUNTIME_DIR      Ort der Kennung des laufenden Programms
  SVL_NO_DESKTOP_REGISTRATION
                       gesetzt: das Programm meldet sich nicht beim Desktop an
  DISPLAY, WAYLAND_DISPLAY, QT_QPA_PLATFORM
                       die Anzeige
)";

ProgramInfoRequest Classify(const char* argument) {
    if (std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0)
        return ProgramInfoRequest::Help;
    if (std::strcmp(argument, "--version") == 0) return ProgramInfoRequest::Version;
    return ProgramInfoRequest::None;
}

}  // namespace

ProgramInfoRequest InfoRequest(int argc, const char* const* argv) {
    for (int i = 1; i < argc && argv[i]; ++i) {
        if (std::strcmp(argv[i], "--") == 0) break;
        if (const ProgramInfoRequest r = Classify(argv[i]); r != ProgramInfoRequest::None) return r;
    }
    return ProgramInfoRequest::None;
}

ProgramInfoRequest InfoRequestOfThisProcess() {
    std::FILE* f = std::fopen("/proc/self/cmdline", "rb");
    if (!f) return ProgramInfoRequest::None;
    std::string line;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) line.append(buffer, n);
    std::fclose(f);
    // The arguments, each ended by a zero byte.
    std::vector<const char*> argv;
    for (std::size_t at = 0; at < line.size(); at += std::strlen(line.c_str() + at) + 1)
        argv.push_back(line.c_str() + at);
    return InfoRequest(static_cast<int>(argv.size()), argv.data());
}

int PrintProgramInfo(ProgramInfoRequest request) {
    if (request == ProgramInfoRequest::Version) return PrintSvlVersion("SVL_Editor");
    std::fputs(kHelp, stdout);
    return 0;
}
