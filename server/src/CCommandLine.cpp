#include "CCommandLine.h"

#include <charconv>
#include <cstdlib>

namespace nvdvbsrv {
namespace {

template <typename T>
bool Number(const std::string& s, T& out) {
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return !s.empty() && ec == std::errc() && end == s.data() + s.size();
}

}  // namespace

const char* CCommandLine::Usage() {
    return "Aufruf: nvdvbsrv [--config DATEI] [--instance NAME] [--base-port N] [--speed X]\n"
           "                [--keepalive-timeout-ms N] [--exit-when-idle-ms N] [--fail SCHRITTE]\n"
           "                [--audio-wav DATEI]\n"
           "        nvdvbsrv key CODE [--instance NAME]\n"
           "        nvdvbsrv cam insert|remove SLOT [--instance NAME]\n";
}

bool CCommandLine::Parse(const std::vector<std::string>& args, std::string& error) {
    size_t i = 0;
    if (!args.empty() && args[0] == "key") {
        keyCommand = true;
        if (args.size() < 2 || !Number(args[1], keyCode) || keyCode > 63) {
            error = "key braucht einen Tastencode von 0 bis 63";
            return false;
        }
        i = 2;
    } else if (!args.empty() && args[0] == "cam") {
        camCommand = true;
        const bool verb = args.size() >= 2 && (args[1] == "insert" || args[1] == "remove");
        if (!verb || args.size() < 3 || (args[2] != "1" && args[2] != "2")) {
            error = "cam braucht insert oder remove und den Slot 1 oder 2";
            return false;
        }
        camInsert = args[1] == "insert";
        camSlot = uint8_t(args[2][0] - '0');
        i = 3;
    }
    for (; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (i + 1 >= args.size()) {
            error = "Wert fehlt nach " + a;
            return false;
        }
        const std::string& v = args[++i];
        bool ok = true;
        if (a == "--instance") {
            instance = v;
        } else if (keyCommand || camCommand) {
            ok = false;
        } else if (a == "--config") {
            config = v;
        } else if (a == "--base-port") {
            uint16_t p = 0;
            ok = Number(v, p) && p > 0 && p < 65400;
            basePort = p;
        } else if (a == "--speed") {
            char* end = nullptr;
            double s = std::strtod(v.c_str(), &end);
            ok = end && *end == 0 && s >= 0.01 && s <= 1000.0;
            speed = s;
        } else if (a == "--keepalive-timeout-ms") {
            uint32_t ms = 0;
            ok = Number(v, ms) && ms >= 100;
            keepAliveMs = ms;
        } else if (a == "--fail") {
            fail = v;
        } else if (a == "--audio-wav") {
            audioWav = v;
        } else if (a == "--exit-when-idle-ms") {
            uint32_t ms = 0;
            ok = Number(v, ms);
            exitWhenIdleMs = ms;
        } else {
            ok = false;
        }
        if (!ok) {
            error = "ungültiges Argument: " + a + " " + v;
            return false;
        }
    }
    return true;
}

}  // namespace nvdvbsrv
