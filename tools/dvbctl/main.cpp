// dvbctl: drives the card from the command line through libkestrel. Loading
// the library connects to the server (and starts it); a failed connect ends
// the process with exit code 1 before main runs.
#include <cstdio>
#include <string>
#include <vector>

#include "Commands.h"
#include "kestrel/CPollDispatcher.h"
#include "kestrel/CServerConnection.h"

namespace {
int Usage(std::FILE* out = stderr) {
    std::fprintf(
        out,
        "usage: dvbctl COMMAND [options]\n"
        "  status                                    board, tuning, signal and decoder state of\n"
        "                                            the card, whoever tuned it; besides the\n"
        "                                            raw lines:\n"
        "       tuned: FREQ MHz pol H|V lnb VOLTS V tone on|off, locked|not locked;\n"
        "              video PID N (0xNNNN)|none, audio PID N (0xNNNN)|none\n"
        "              (\"tuned: nothing; ...\" before the first tune)\n"
        "       figures: quality N %% strength N.N afc +-N kHz ber RATE\n"
        "       decoder: WxH format N rate N bitrate N.NNN MBit/s skipped N repeated N\n"
        "  tune --freq KHZ --sr SPS [--lof KHZ] [--pol H|V] [--voltage 13|18|0] [--tone 0|1]\n"
        "       [--diseqc A|B|C|D]                   tune with the newer front-end interface\n"
        "  tune --svl FILE [--program N|NAME]        tune a program of a channel list\n"
        "  sections --pid P --table T [--ext E] [--count N] [--mode 0|1|2]\n"
        "       [--type5 1] [--timeout MS]           print tables (sections in hex)\n"
        "  scan --svl LIST.svl --lnb NAME [--transponders FILE] --out NEW.svl\n"
        "                                            channel scan on the list's LNB NAME: the\n"
        "                                            FILE's transponders (\"kHz H|V symbol-rate\"\n"
        "                                            a line), else those of the list's programs\n"
        "                                            on NAME and those their NITs name; NEW.svl\n"
        "                                            gets the list's LNB table and the programs\n"
        "                                            found. One line per transponder:\n"
        "       transponder 2/5: 12226000 V 27500000: 6 programs   (or: kein Signal)\n"
        "                                            exit 1 when nothing locked\n"
        "  psi [--svl LIST --program NAME] [--timeout MS] [--root KEY]\n"
        "                                            decode the program association, program\n"
        "                                            map and service tables of the tuned\n"
        "                                            transponder (tuned first when a program\n"
        "                                            is named) into the key store under\n"
        "                                            KEY\\dvbctl (default KEY\n"
        "                                            SOFTWARE\\Norvane\\PSI) and print that\n"
        "                                            tree; exit 3 after MS (default 15000)\n"
        "                                            with what had arrived\n"
        "  key N                                     inject a remote key (runs the server's key "
        "command)\n"
        "  osd OPERATION ARGUMENTS                   the card's on-screen display (windows 1-7,\n"
        "                                            numbers decimal or 0x hex, -N for moveby):\n");
    OsdUsage(out);
    std::fprintf(
        out,
        "  snapshot FILE.png                         the card's output (picture and on-screen\n"
        "                                            display, 720x576) as a PNG; exit 1 when\n"
        "                                            the card has no picture memory\n"
        "  record [--svl LIST --program NAME] --seconds N FILE\n"
        "                                            record the tuned program (tuned first when\n"
        "                                            a program is named) for N seconds; the form\n"
        "                                            follows the extension: .pva A/V PES, .psv\n"
        "                                            video PES, .psa audio PES, .mp2 MPEG audio,\n"
        "                                            .ts transport stream\n"
        "  play [--seconds N] FILE                   play a recording through the card until its\n"
        "                                            end or for N seconds\n"
        "  teletext [--svl LIST --program NAME] --pid PID --page NNN [--sub N]\n"
        "       [--text | --html FILE] [--timeout S]\n"
        "                                            the card's teletext of PID (decimal or 0x\n"
        "                                            hex; tuned first when a program is named)\n"
        "                                            until page NNN (100-899) arrives, with\n"
        "                                            --sub N its subpage N as the videotext\n"
        "                                            window counts (\"02/05\" is 2), else the\n"
        "                                            first to arrive; --text (the default)\n"
        "                                            prints it as 25 lines of 40 characters,\n"
        "                                            --html writes its HTML export to FILE;\n"
        "                                            exit 1 when it does not arrive within S\n"
        "                                            seconds (default 60)\n"
        "  --help                                    this text\n");
    return out == stderr ? 2 : 0;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    const std::string cmd = argv[1];
    if (cmd == "--help" || cmd == "-h" || cmd == "help") return Usage(stdout);
    std::vector<std::string> rest(argv + 2, argv + argc);
    kestrel::CServerConnection::Instance().AttachDispatcher(kestrel::DefaultPollDispatcher());
    if (cmd == "key") return rest.size() == 1 ? KeyCommand(rest[0]) : Usage();
    if (cmd == "osd") return OsdCommand(rest);
    if (cmd == "snapshot") return rest.size() == 1 ? SnapshotCommand(rest[0]) : Usage();
    if (cmd == "teletext") {
        const int rc = TeletextCommand(rest);
        return rc == 2 ? Usage() : rc;
    }
    if (cmd == "record" || cmd == "play") {
        const int rc = cmd == "record" ? RecordCommand(rest) : PlayCommand(rest);
        return rc == 2 ? Usage() : rc;
    }
    Options o;
    if (!o.Parse(rest)) {
        std::fprintf(stderr, "dvbctl: %s\n", o.error().c_str());
        return Usage();
    }
    if (cmd == "status") return StatusCommand(o);
    if (cmd == "tune") return TuneCommand(o);
    if (cmd == "sections") return SectionsCommand(o);
    if (cmd == "scan") {
        const int rc = ScanCommand(o);
        return rc == 2 ? Usage() : rc;
    }
    if (cmd == "psi") return PsiCommand(o);
    return Usage();
}
