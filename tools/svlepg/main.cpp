// svlepg: the programme guide's events of a transport stream as JSON lines.
//
//   svlepg FILE.ts
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
#include "TsScan.h"
#include "guide/EitSection.h"
#include "mpegts/SectionAssembler.h"
#include "mpegts/TsPacket.h"

namespace {

enum Exit { Success = 0, Failure = 1, Usage = 2 };

constexpr std::uint16_t kEitPid = 0x12;

const char* const kUsage =
    "Aufruf: svlepg DATEI.ts\n"
    "Gibt jedes Ereignis der Programmzeitschrift (EIT, PID 0x12) eines Transportstroms\n"
    "einmal als JSON-Zeile aus.\n";

int UsageError() {
    std::cerr << kUsage;
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

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            return Success;
        }
        if (arg.size() > 1 && arg[0] == '-') return UsageError();
        files.push_back(arg);
    }
    if (files.size() != 1) return UsageError();
    std::vector<std::uint8_t> ts;
    if (!ReadFile(files[0], ts)) return Fail(files[0] + " kann nicht gelesen werden.");
    return PrintEvents(ts);
}
