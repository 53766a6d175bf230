#include "CCommandLine.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>

namespace nvdvbsrv {
namespace {

template <typename T>
bool Number(const std::string& s, T& out) {
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return !s.empty() && ec == std::errc() && end == s.data() + s.size();
}

bool IsOption(const std::string& s) { return s.size() > 2 && s.compare(0, 2, "--") == 0; }

bool Contains(const std::vector<std::string>& args, const char* flag) {
    return std::find(args.begin(), args.end(), flag) != args.end();
}

constexpr const char* kOptionsWithValue[] = {"--config",
                                             "--instance",
                                             "--base-port",
                                             "--speed",
                                             "--fail",
                                             "--keepalive-timeout-ms",
                                             "--exit-when-idle-ms",
                                             "--audio-wav"};

bool Known(const std::string& option) {
    return std::find(std::begin(kOptionsWithValue), std::end(kOptionsWithValue), option) !=
           std::end(kOptionsWithValue);
}

}  // namespace

const char* CCommandLine::Usage() {
    return "Aufruf: nvdvbsrv [--config DATEI] [--instance NAME] [--base-port N] [--speed X]\n"
           "                [--keepalive-timeout-ms N] [--exit-when-idle-ms N] [--fail SCHRITTE]\n"
           "                [--audio-wav DATEI]\n"
           "        nvdvbsrv key CODE [--instance NAME]\n"
           "        nvdvbsrv cam insert|remove SLOT [--instance NAME]\n"
           "        nvdvbsrv --help | --version\n";
}

const char* CCommandLine::Help() {
    static const std::string text =
        std::string(Usage()) +
        "\n"
        "Der Treiber-Server der emulierten DVB-Karte. Die Bibliothek startet ihn; er spielt\n"
        "die Transportstrom-Dateien seiner Installationsdatei als Empfang ab.\n"
        "\n"
        "Optionen:\n"
        "  --config DATEI            die Installationsdatei (Vorgabe: $NVDVBSRV_CONFIG, sonst\n"
        "                            $XDG_CONFIG_HOME/nvdvbsrv/installation.conf bzw.\n"
        "                            ~/.config/nvdvbsrv/installation.conf); ohne Datei\n"
        "                            empfängt die Karte nichts\n"
        "  --instance NAME           Instanz der gemeinsamen Namen, damit Server nebeneinander\n"
        "                            laufen (Vorgabe: $KESTREL_INSTANCE)\n"
        "  --base-port N             erster UDP-Port der Karte, 1-65399 (statt base_port)\n"
        "  --speed X                 Abspieltempo der Ströme, 0.01-1000 (statt speed)\n"
        "  --keepalive-timeout-ms N  so lange darf ein Client schweigen, bevor seine Filter\n"
        "                            frei werden; mindestens 100 (Vorgabe 30000)\n"
        "  --exit-when-idle-ms N     so lange nach dem letzten Client enden\n"
        "  --fail SCHRITTE           diese Start-Anfragen scheitern (wie fail): InitPCI,\n"
        "                            BootARM, Frontend.Init, GetFrontendType, getrennt\n"
        "                            durch Kommas oder Leerzeichen\n"
        "  --audio-wav DATEI         den Ton in diese WAV-Datei statt zum Sound-Server\n"
        "  -h, --help                diese Hilfe\n"
        "  --version                 die Version\n"
        "\n"
        "Befehle an den laufenden Server der Instanz:\n"
        "  key CODE                  eine Taste der Fernbedienung drücken (0-63)\n"
        "  cam insert|remove SLOT    ein Modul in CI-Slot 1 oder 2 stecken oder herausnehmen\n"
        "\n"
        "Exit-Status:\n"
        "  0  Erfolg: der Server endete mit SIGTERM, SIGINT oder SIGHUP, oder ein anderer\n"
        "     Server der Instanz läuft schon; key: die Taste ging hinaus; cam: der Slot\n"
        "     hat sich geändert\n"
        "  1  Fehler mit Meldung: Installationsdatei fehlerhaft, Socket nicht zu öffnen;\n"
        "     key: die Fernbedienung ist aus; cam: der Slot hatte schon ein Modul bzw. war\n"
        "     schon leer\n"
        "  2  falscher Aufruf\n"
        "  3  key, cam: kein laufender Server der Instanz antwortet\n";
    return text.c_str();
}

bool CCommandLine::ParseCommand(const std::vector<std::string>& args, size_t& next,
                                std::string& error) {
    next = 0;
    if (!args.empty() && args[0] == "key") {
        keyCommand = true;
        if (args.size() < 2 || !Number(args[1], keyCode) || keyCode > 63) {
            error = "key braucht einen Tastencode von 0 bis 63";
            return false;
        }
        next = 2;
    } else if (!args.empty() && args[0] == "cam") {
        camCommand = true;
        const bool verb = args.size() >= 2 && (args[1] == "insert" || args[1] == "remove");
        if (!verb || args.size() < 3 || (args[2] != "1" && args[2] != "2")) {
            error = "cam braucht insert oder remove und den Slot 1 oder 2";
            return false;
        }
        camInsert = args[1] == "insert";
        camSlot = uint8_t(args[2][0] - '0');
        next = 3;
    }
    return true;
}

bool CCommandLine::SetOption(const std::string& a, const std::string& v, std::string& error) {
    bool ok = true;
    if (a == "--instance") {
        instance = v;
    } else if (keyCommand || camCommand) {
        error = a + " gilt nicht für " + (keyCommand ? "key" : "cam");
        return false;
    } else if (a == "--config") {
        config = v;
    } else if (a == "--base-port") {
        uint16_t p = 0;
        ok = Number(v, p) && p > 0 && p < 65400;
        basePort = p;
    } else if (a == "--speed") {
        char* end = nullptr;
        const double s = std::strtod(v.c_str(), &end);
        ok = end && *end == 0 && s >= 0.01 && s <= 1000.0;
        speed = s;
    } else if (a == "--keepalive-timeout-ms") {
        uint32_t ms = 0;
        ok = Number(v, ms) && ms >= 100;
        keepAliveMs = ms;
    } else if (a == "--exit-when-idle-ms") {
        uint32_t ms = 0;
        ok = Number(v, ms);
        exitWhenIdleMs = ms;
    } else if (a == "--fail") {
        if (!ParseStartSteps(v, failSteps)) {
            error = std::string("--fail ") + kStartStepsExpected;
            return false;
        }
    } else {  // --audio-wav
        audioWav = v;
    }
    if (!ok) error = "ungültiger Wert für " + a + ": " + v;
    return ok;
}

bool CCommandLine::Parse(const std::vector<std::string>& args, std::string& error) {
    // Help and version win over everything else on the line, also over its errors.
    help = Contains(args, "--help") || Contains(args, "-h");
    version = !help && Contains(args, "--version");
    if (help || version) return true;
    size_t i = 0;
    if (!ParseCommand(args, i, error)) return false;
    for (; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.empty() || a[0] != '-') {
            error = "unerwartetes Argument: " + a;
            return false;
        }
        if (!Known(a)) {
            error = "unbekannte Option: " + a;
            return false;
        }
        if (i + 1 >= args.size() || IsOption(args[i + 1])) {
            error = "Wert fehlt nach " + a;
            return false;
        }
        if (!SetOption(a, args[++i], error)) return false;
    }
    return true;
}

}  // namespace nvdvbsrv
