#include "SvlCommandLine.h"

#include <algorithm>
#include <sstream>

namespace svltool {
namespace {

constexpr std::size_t kSummaryColumn = 40;

std::size_t OperandCount(const CommandInfo& c) {
    std::istringstream words(c.operands);
    std::string word;
    std::size_t n = 0;
    while (words >> word) ++n;
    return n;
}

std::string CallOf(const CommandInfo& c) {
    const std::string name = c.name;
    return name + (name == "dump" ? " [--json] " : " ") + c.operands;
}

const CommandInfo* Find(const std::string& name) {
    const auto& all = Commands();
    const auto it =
        std::find_if(all.begin(), all.end(), [&](const CommandInfo& c) { return name == c.name; });
    return it == all.end() ? nullptr : &*it;
}

Invocation Refuse(const std::string& error) {
    Invocation call;
    call.error = error;
    return call;
}

// The command and its files once the options are taken out.
Invocation Resolve(const std::vector<std::string>& words, bool json) {
    if (words.empty()) return Refuse("kein Befehl angegeben");
    const CommandInfo* command = Find(words[0]);
    if (!command) return Refuse("unbekannter Befehl: " + words[0]);
    if (json && words[0] != "dump") return Refuse("--json gilt nur für dump");
    if (words.size() - 1 != OperandCount(*command))
        return Refuse("falsche Zahl von Dateien für " + words[0] + ", erwartet: svltool " +
                      CallOf(*command));
    Invocation call;
    call.kind = Invocation::Kind::Run;
    call.command = words[0];
    call.json = json;
    call.files.assign(words.begin() + 1, words.end());
    return call;
}

}  // namespace

const std::vector<CommandInfo>& Commands() {
    static const std::vector<CommandInfo> commands = {
        {"dump", "DATEI.svl", "die Liste als Text (mit --json als JSON)"},
        {"check", "DATEI.svl", "laden, neu speichern, Bytes vergleichen"},
        {"resave", "EIN.svl AUS.svl", "laden und neu speichern"},
        {"from-json", "EIN.json AUS.svl", "Umkehrung von dump --json"},
        {"import-dvb", "EIN.dvb AUS.svl", "eine .dvb-Liste importieren"},
        {"reorder", "EIN.svl REFERENZ.svl AUS.svl", "EIN in der Reihenfolge von REFERENZ"},
        {"export-csv", "EIN.svl AUS.csv", "die Liste als CSV"},
        {"import-csv", "EIN.csv AUS.svl", "Umkehrung von export-csv"},
    };
    return commands;
}

Invocation ParseCommandLine(const std::vector<std::string>& args) {
    std::vector<std::string> words;
    std::string error;
    bool json = false, version = false, options = true;
    for (const std::string& a : args) {
        if (options && a == "--") {
            options = false;
        } else if (options && (a == "-h" || a == "--help")) {
            Invocation help;
            help.kind = Invocation::Kind::Help;
            return help;
        } else if (options && a == "--version") {
            version = true;
        } else if (options && a == "--json") {
            json = true;
        } else if (options && a.size() > 1 && a[0] == '-') {
            if (error.empty()) error = "unbekannte Option: " + a;
        } else {
            words.push_back(a);
        }
    }
    if (version) {
        Invocation call;
        call.kind = Invocation::Kind::Version;
        return call;
    }
    return error.empty() ? Resolve(words, json) : Refuse(error);
}

std::string Synopsis() {
    return "Aufruf: svltool BEFEHL [--json] DATEI...\n"
           "        svltool --help | --version\n";
}

std::string HelpText() {
    std::string text = Synopsis() +
                       "\n"
                       "Zeigt, prüft, wandelt und importiert Senderlisten (.svl).\n"
                       "\n"
                       "Befehle:\n";
    for (const CommandInfo& c : Commands()) {
        std::string line = "  " + CallOf(c);
        line = line.size() < kSummaryColumn ? line + std::string(kSummaryColumn - line.size(), ' ')
                                            : line + "\n" + std::string(kSummaryColumn, ' ');
        text += line + c.summary + "\n";
    }
    return text +
           "\n"
           "Optionen:\n"
           "  --json         (dump) jedes Feld als JSON statt des lesbaren Texts\n"
           "  -h, --help     diese Hilfe\n"
           "  --version      die Version\n"
           "  --             Ende der Optionen (für Dateinamen, die mit - beginnen)\n"
           "\n"
           "\"-\" steht für die Standardeingabe bzw. -ausgabe. Eine Ausgabedatei wird atomar\n"
           "ersetzt; wird die Eingabe abgelehnt, entsteht keine.\n"
           "\n"
           "Exit-Status:\n"
           "  0  Erfolg\n"
           "  1  Fehler mit Meldung: eine Datei lässt sich nicht lesen, laden (die Meldung\n"
           "     nennt das Byte des Formatfehlers), umwandeln oder schreiben, oder check\n"
           "     fand abweichende Bytes\n"
           "  2  falscher Aufruf\n";
}

}  // namespace svltool
