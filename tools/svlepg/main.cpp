// svlepg: the programme guide's events of a transport stream as JSON lines.
//
//   svlepg FILE.ts
//   svlepg --help | --version
//
// Reads the file's packets, assembles the sections of PID 0x12 (EIT), decodes
// each with the guide core and prints every event once (EventJson.h). Exit
// codes: 0 success, 1 a file that cannot be read or is not a transport
// stream, 2 wrong usage.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "EventJson.h"
#include "SvlVersion.h"
#include "TsScan.h"
#include "guide/EitSection.h"
#include "mpegts/SectionAssembler.h"
#include "mpegts/TsPacket.h"

namespace {

enum Exit { Success = 0, Failure = 1, Usage = 2 };

constexpr std::uint16_t kEitPid = 0x12;

const char* const kSynopsis =
    "Aufruf: svlepg DATEI.ts\n"
    "        svlepg --help | --version\n";

const char* const kHelp =
    "\n"
    "Gibt jedes Ereignis der Programmzeitschrift (EIT, PID 0x12) eines Transportstroms\n"
    "einmal als JSON-Zeile aus.\n"
    "\n"
    "Optionen:\n"
    "  -h, --help  diese Hilfe\n"
    "  --version   die Version\n"
    "  --          Ende der Optionen (für Dateinamen, die mit - beginnen)\n"
    "\n"
    "Exit-Status:\n"
    "  0  Erfolg\n"
    "  1  Fehler mit Meldung: die Datei ist nicht lesbar oder kein Transportstrom, oder\n"
    "     die Standardausgabe lässt sich nicht schreiben\n"
    "  2  falscher Aufruf\n";

int UsageError(const std::string& message) {
    std::cerr << "svlepg: " << message << "\n" << kSynopsis << "Hilfe: svlepg --help\n";
    return Usage;
}

int Fail(const std::string& message) {
    std::cerr << "svlepg: " << message << "\n";
    return Failure;
}

bool ReadFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

int PrintEvents(const std::vector<std::uint8_t>& ts) {
    mpegts::SectionAssembler assembler;
    svlepg::CEventPrinter printer;
    bool writeFailed = false;
    const bool isTs = svlepg::ForEachPacket(ts, [&](std::span<const std::uint8_t> bytes) {
        const auto packet = mpegts::TsPacket::View(bytes);
        if (!packet || packet->Pid() != kEitPid) return;
        assembler.Feed(bytes, [&](std::span<const std::uint8_t> section) {
            const auto eit = ParseEitSection(section);
            if (!eit) return;
            const std::string lines = printer.NewLines(*eit);
            if (std::fwrite(lines.data(), 1, lines.size(), stdout) != lines.size())
                writeFailed = true;
        });
    });
    if (!isTs)
        return Fail("keine Folge von Sync-Bytes im Abstand von 188 Bytes: kein Transportstrom");
    if (writeFailed || std::fflush(stdout) != 0)
        return Fail("Die Standardausgabe kann nicht geschrieben werden.");
    return Success;
}

enum class Request { Events, Help, Version, Refused };

// -h/--help and --version anywhere before "--" win over everything else.
Request ParseArgs(const std::vector<std::string>& args, std::string& file, std::string& error) {
    std::vector<std::string> files;
    bool options = true, version = false;
    for (const std::string& arg : args) {
        if (options && arg == "--")
            options = false;
        else if (options && (arg == "--help" || arg == "-h"))
            return Request::Help;
        else if (options && arg == "--version")
            version = true;
        else if (options && arg.size() > 1 && arg[0] == '-')
            error = error.empty() ? "unbekannte Option: " + arg : error;
        else
            files.push_back(arg);
    }
    if (version) return Request::Version;
    if (error.empty() && files.size() != 1)
        error = files.empty() ? "keine Datei angegeben" : "nur eine Datei erwartet";
    if (!error.empty()) return Request::Refused;
    file = files[0];
    return Request::Events;
}

}  // namespace

int main(int argc, char** argv) {
    std::string file, error;
    switch (ParseArgs(std::vector<std::string>(argv + 1, argv + argc), file, error)) {
        case Request::Help:
            std::cout << kSynopsis << kHelp;
            return std::cout.flush() ? Success : Failure;
        case Request::Version:
            return PrintSvlVersion("svlepg");
        case Request::Refused:
            return UsageError(error);
        case Request::Events:
            break;
    }
    std::vector<std::uint8_t> ts;
    if (!ReadFile(file, ts)) return Fail(file + " kann nicht gelesen werden.");
    return PrintEvents(ts);
}
