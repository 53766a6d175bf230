// kregistry: dumps and edits the key store that the client library and the
// server read (the file named by KESTREL_REGISTRY, or the default).
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "SvlVersion.h"
#include "kestrel/CRegistry.h"
#include "kestrel/RegistryTree.h"

using kestrel::CRegistry;
using kestrel::RegType;
using kestrel::RegValue;

namespace {

constexpr const char* kSynopsis = R"(Aufruf: kregistry [--file PFAD] BEFEHL
       kregistry --help | -h
       kregistry --version
)";

constexpr const char* kUsage =
    R"(Zeigt und ändert den Schlüsselspeicher, in dem Client-Bibliothek und Server die
Karte finden (--file PFAD, sonst $KESTREL_REGISTRY, sonst
$XDG_CONFIG_HOME/kestrel/registry.db).

Befehle:
  dump [SCHLÜSSEL]                   Schlüssel und Werte unter SCHLÜSSEL (Vorgabe: alle)
  tree [SCHLÜSSEL]                   dasselbe als eingerückter Baum: SCHLÜSSEL, dann die
                                     Werte und Unterschlüssel jedes Schlüssels zwei
                                     Leerzeichen weiter eingerückt ("Text", Zahlen dezimal
                                     und hex, Bytes hex)
  get SCHLÜSSEL NAME                 einen Wert ausgeben
  set SCHLÜSSEL NAME string|dword|binary WERT
                                     dword: dezimal oder 0x hex; binary: Bytes hex
  delete SCHLÜSSEL [NAME]            einen Wert entfernen, oder den Schlüssel mit allem
                                     darunter
  --help, -h                         dieser Text
  --version                          die Version
Schlüssel werden mit Backslash getrennt, z. B. "SOFTWARE\Norvane\DVBSERVER\Settings".

Exit-Status:
  0  Erfolg
  1  Fehler mit Meldung (Speicher nicht zu öffnen, Schlüssel oder Wert fehlt,
     nichts geschrieben oder gelöscht)
  2  Aufruffehler

Umgebung:
  KESTREL_REGISTRY   der Schlüsselspeicher ohne --file
  XDG_CONFIG_HOME, HOME
                     der Ort des Speichers ohne KESTREL_REGISTRY
)";

// The whole text on standard output (--help); after a usage error the
// synopsis and where the help is, on standard error.
int Usage(std::FILE* out = stderr) {
    std::fputs(kSynopsis, out);
    if (out == stderr) {
        std::fputs("Hilfe: kregistry --help\n", out);
        return 2;
    }
    std::fputs(kUsage, out);
    return 0;
}

int UsageError(const std::string& message) {
    std::fprintf(stderr, "kregistry: %s\n", message.c_str());
    return Usage();
}

std::string Hex(const std::vector<std::uint8_t>& d) {
    std::string s;
    char b[4];
    for (auto v : d) {
        std::snprintf(b, sizeof b, "%02x", v);
        s += b;
    }
    return s;
}

std::string Show(const RegValue& v) {
    switch (v.type) {
        case RegType::String:
            return "string:" + std::string(v.data.begin(), v.data.end());
        case RegType::Dword:
            if (v.data.size() == 4) {
                const std::uint32_t d = v.data[0] | (v.data[1] << 8) | (v.data[2] << 16) |
                                        (static_cast<std::uint32_t>(v.data[3]) << 24);
                return "dword:" + std::to_string(d);
            }
            break;
        case RegType::Binary:
            return "binary:" + Hex(v.data);
    }
    return "unknown:" + Hex(v.data);
}

void Dump(CRegistry& reg, const std::string& key) {
    if (!key.empty()) std::printf("[%s]\n", key.c_str());
    for (const auto& v : reg.Values(key))
        std::printf("  %s = %s\n", v.name.c_str(), Show(v).c_str());
    for (const auto& sub : reg.SubKeys(key)) Dump(reg, key.empty() ? sub : key + "\\" + sub);
}

bool ParseHex(const std::string& s, std::vector<std::uint8_t>& out) {
    if (s.size() % 2) return false;
    for (std::size_t i = 0; i < s.size(); i += 2) {
        char* end = nullptr;
        const std::string byte = s.substr(i, 2);
        const long v = std::strtol(byte.c_str(), &end, 16);
        if (*end) return false;
        out.push_back(static_cast<std::uint8_t>(v));
    }
    return true;
}

// A dword value: decimal or 0x hex, 32 bits.
bool ParseDword(const std::string& s, std::uint32_t& out) {
    char* end = nullptr;
    const unsigned long v = std::strtoul(s.c_str(), &end, 0);
    if (s.empty() || *end || v > 0xFFFFFFFFul) return false;
    out = static_cast<std::uint32_t>(v);
    return true;
}

// What is wrong with the command line (empty when nothing), checked before
// the key store is opened so that a usage error never creates it.
std::string UsageProblem(const std::vector<std::string>& a) {
    const std::string& cmd = a[0];
    const std::size_t n = a.size();
    if (cmd == "dump" || cmd == "tree") return n <= 2 ? "" : cmd + " erwartet höchstens SCHLÜSSEL";
    if (cmd == "get") return n == 3 ? "" : "get erwartet SCHLÜSSEL NAME";
    if (cmd == "delete") return n == 2 || n == 3 ? "" : "delete erwartet SCHLÜSSEL [NAME]";
    if (cmd != "set") return "unbekannter Befehl: " + cmd;
    if (n != 5) return "set erwartet SCHLÜSSEL NAME TYP WERT";
    std::uint32_t dword = 0;
    std::vector<std::uint8_t> bytes;
    if (a[3] == "string") return "";
    if (a[3] == "dword") return ParseDword(a[4], dword) ? "" : "keine 32-Bit-Zahl: " + a[4];
    if (a[3] == "binary") return ParseHex(a[4], bytes) ? "" : "keine Hex-Bytes: " + a[4];
    return "unbekannter Typ: " + a[3] + " (string, dword oder binary)";
}

int Set(CRegistry& reg, const std::vector<std::string>& a) {
    const std::string& type = a[3];
    bool ok = false;
    if (type == "string") {
        ok = reg.WriteString(a[1], a[2], a[4]);
    } else if (type == "dword") {
        std::uint32_t v = 0;
        ok = ParseDword(a[4], v) && reg.WriteDword(a[1], a[2], v);
    } else {
        std::vector<std::uint8_t> d;
        ok = ParseHex(a[4], d) && reg.WriteBinary(a[1], a[2], d);
    }
    if (!ok) std::fprintf(stderr, "kregistry: der Wert lässt sich nicht schreiben\n");
    return ok ? 0 : 1;
}

// The command, its arguments checked by UsageProblem.
int Run(CRegistry& reg, const std::vector<std::string>& a) {
    const std::string& cmd = a[0];
    if (cmd == "dump") {
        Dump(reg, a.size() == 2 ? a[1] : "");
        return 0;
    }
    if (cmd == "tree") {
        const std::string key = a.size() == 2 ? a[1] : "";
        if (!key.empty() && !reg.KeyExists(key)) {
            std::fprintf(stderr, "kregistry: kein solcher Schlüssel\n");
            return 1;
        }
        std::fputs(kestrel::FormatRegistryTree(reg, key).c_str(), stdout);
        return 0;
    }
    if (cmd == "get") {
        const auto v = reg.ReadValue(a[1], a[2]);
        if (!v) {
            std::fprintf(stderr, "kregistry: kein solcher Wert\n");
            return 1;
        }
        std::printf("%s\n", Show(*v).c_str());
        return 0;
    }
    if (cmd == "set") return Set(reg, a);
    const bool ok = a.size() == 3 ? reg.DeleteValue(a[1], a[2]) : reg.DeleteKey(a[1]);
    if (!ok) std::fprintf(stderr, "kregistry: nichts gelöscht\n");
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) return Usage(stdout);
    if (!args.empty() && args[0] == "--version") return PrintSvlVersion("kregistry");
    std::string file = CRegistry::DefaultPath();
    if (!args.empty() && args[0] == "--file") {
        if (args.size() < 2) return UsageError("Wert fehlt nach --file");
        file = args[1];
        args.erase(args.begin(), args.begin() + 2);
    }
    if (args.empty()) return UsageError("kein Befehl angegeben");
    if (const std::string problem = UsageProblem(args); !problem.empty())
        return UsageError(problem);
    CRegistry reg;
    const bool writes = args[0] == "set" || args[0] == "delete";
    if (!reg.Open(file, writes)) {
        std::fprintf(stderr, "kregistry: %s lässt sich nicht öffnen\n", file.c_str());
        return 1;
    }
    return Run(reg, args);
}
