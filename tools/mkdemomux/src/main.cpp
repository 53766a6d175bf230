// mkdemomux: builds the demo broadcast for the emulated card. One transport
// stream file per transponder of the demo channel list, from short A/V test
// patterns made with the ffmpeg tool and our own PSI/SI tables, plus the
// card's installation file that names them.
//
//   mkdemomux --list Demo.json --out DIR [--card card.conf] [--seconds N]
//             [--ffmpeg PROGRAM] [--time UTC-SECONDS]
//   mkdemomux --help | --version
//
// --time holds the clock: the tables (TDT, guide) are made for that moment
// (seconds since 1970-01-01 00:00 UTC) instead of the current time.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <limits>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "CDemoList.h"
#include "CMuxBuilder.h"
#include "SvlVersion.h"

using namespace demomux;
namespace fs = std::filesystem;

namespace {

struct Options {
    std::string list, out, card, ffmpeg = "ffmpeg";
    int seconds = 4;
    std::time_t time = std::time(nullptr);
};

enum Exit { Success = 0, Failure = 1, Usage = 2 };

constexpr const char* kSynopsis =
    "Aufruf: mkdemomux --list LISTE.json --out ORDNER [--card DATEI] [--seconds N]\n"
    "                 [--ffmpeg PROGRAMM] [--time UTC-SEKUNDEN]\n"
    "        mkdemomux --help | --version\n";

constexpr const char* kHelp =
    "\n"
    "Baut die Demo-Ausstrahlung der emulierten Karte: eine Transportstrom-Datei je\n"
    "Transponder der Programmliste und die Installationsdatei installation.conf, die\n"
    "sie nennt. Testbild und Töne erzeugt das Programm ffmpeg.\n"
    "\n"
    "Optionen:\n"
    "  --list DATEI         die Programmliste im JSON-Format (Pflicht)\n"
    "  --out ORDNER         der Zielordner, wird angelegt (Pflicht)\n"
    "  --card DATEI         Text, der der Installationsdatei vorangestellt wird (der\n"
    "                       Abschnitt [card] der Karte)\n"
    "  --seconds N          Länge der Schleife in Sekunden, 1-60 (Vorgabe 4)\n"
    "  --ffmpeg PROGRAMM    das ffmpeg-Programm (Vorgabe ffmpeg)\n"
    "  --time UTC-SEKUNDEN  alle Zeiten der Tabellen für diesen Zeitpunkt (Sekunden seit\n"
    "                       1970-01-01 00:00 UTC) statt der aktuellen Zeit\n"
    "  -h, --help           diese Hilfe\n"
    "  --version            die Version\n"
    "\n"
    "Exit-Status:\n"
    "  0  Erfolg\n"
    "  1  Fehler mit Meldung: die Programmliste oder die Datei von --card ist nicht\n"
    "     lesbar, ffmpeg scheitert, eine Datei lässt sich nicht schreiben\n"
    "  2  falscher Aufruf\n";

enum class Request { Build, Help, Version, Refused };

bool WholeNumber(const std::string& v, long long low, long long high, long long& out) {
    char* end = nullptr;
    errno = 0;
    out = std::strtoll(v.c_str(), &end, 10);
    return end != v.c_str() && *end == 0 && errno == 0 && out >= low && out <= high;
}

bool SetOption(const std::string& a, const std::string& v, Options& o, std::string& error) {
    long long n = 0;
    if (a == "--list")
        o.list = v;
    else if (a == "--out")
        o.out = v;
    else if (a == "--card")
        o.card = v;
    else if (a == "--ffmpeg")
        o.ffmpeg = v;
    else if (a == "--seconds" && WholeNumber(v, 1, 60, n))
        o.seconds = int(n);
    else if (a == "--time" && WholeNumber(v, 1, std::numeric_limits<std::time_t>::max(), n))
        o.time = std::time_t(n);
    else {
        error = "ungültiger Wert für " + a + ": " + v;
        return false;
    }
    return true;
}

Request ParseArgs(const std::vector<std::string>& args, Options& o, std::string& error) {
    static const std::set<std::string> kOptions = {"--list",    "--out",    "--card",
                                                   "--seconds", "--ffmpeg", "--time"};
    const auto has = [&](const char* flag) {
        return std::find(args.begin(), args.end(), flag) != args.end();
    };
    if (has("--help") || has("-h")) return Request::Help;
    if (has("--version")) return Request::Version;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.empty() || a[0] != '-')
            error = "unerwartetes Argument: " + a;
        else if (!kOptions.count(a))
            error = "unbekannte Option: " + a;
        else if (i + 1 >= args.size() || args[i + 1].rfind("--", 0) == 0)
            error = "Wert fehlt nach " + a;
        if (!error.empty() || !SetOption(a, args[++i], o, error)) return Request::Refused;
    }
    if (o.list.empty() || o.out.empty()) {
        error = o.list.empty() ? "--list fehlt" : "--out fehlt";
        return Request::Refused;
    }
    return Request::Build;
}

// Runs a program with arguments, without a shell; true on exit code 0.
bool Run(const std::vector<std::string>& args) {
    const pid_t pid = fork();
    if (pid < 0) return false;
    if (pid == 0) {
        std::vector<char*> argv;
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A PAL picture (720 x 576 at 4:3, colour bars with a moving test pattern in the
// middle, MPEG-2 at an SD broadcast's 1.5 Mbit/s) with a 1 kHz tone, and a
// 440 Hz tone alone; MPEG-1 layer II audio.
bool MakeSamples(const Options& o, const std::string& tvPath, const std::string& radioPath) {
    const std::string t = std::to_string(o.seconds);
    const std::vector<std::string> common = {o.ffmpeg, "-hide_banner", "-loglevel",
                                             "error",  "-nostdin",     "-y"};
    std::vector<std::string> tv = common;
    tv.insert(tv.end(), {"-filter_complex",
                         "smptebars=size=720x576:rate=25[bars];"
                         "testsrc2=size=240x192:rate=25[moving];"
                         "[bars][moving]overlay=x=240:y=192",
                         "-f",
                         "lavfi",
                         "-i",
                         "sine=frequency=1000:sample_rate=48000",
                         "-t",
                         t,
                         "-c:v",
                         "mpeg2video",
                         "-b:v",
                         "1500k",
                         "-maxrate",
                         "1500k",
                         "-bufsize",
                         "1000k",
                         "-g",
                         "12",
                         "-aspect",
                         "4:3",
                         "-c:a",
                         "mp2",
                         "-b:a",
                         "64k",
                         "-ac",
                         "1",
                         "-f",
                         "mpegts",
                         "-mpegts_start_pid",
                         "0x100",
                         tvPath});
    std::vector<std::string> radio = common;
    radio.insert(radio.end(), {"-f", "lavfi", "-i", "sine=frequency=440:sample_rate=48000", "-t", t,
                               "-c:a", "mp2", "-b:a", "64k", "-ac", "1", "-f", "mpegts",
                               "-mpegts_start_pid", "0x100", radioPath});
    return Run(tv) && Run(radio);
}

bool WriteStream(const std::string& path, const std::vector<Packet>& packets) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (const auto& p : packets)
        out.write(reinterpret_cast<const char*>(p.data()), std::streamsize(p.size()));
    return bool(out);
}

// The card's installation file: the --card text, then the dish position
// with the transponders. False when the --card file cannot be read.
bool Installation(const Options& o, const CDemoList& list, std::string& text) {
    std::ostringstream conf;
    conf << "# Demo installation of the emulated card, written by mkdemomux.\n";
    if (!o.card.empty()) {
        std::ifstream card(o.card);
        if (!card) return false;
        // An empty file would leave the stream failed after copying nothing.
        if (card.peek() != std::ifstream::traits_type::eof()) conf << card.rdbuf();
        conf << "\n";
    }
    conf << "[position A]\nname = Astra 19.2 Ost\n";
    for (const auto& tp : list.transponders) {
        conf << "transponder = " << tp.frequencyKHz << (tp.vertical ? " V " : " H ")
             << tp.symbolRate << " " << tp.FileName() << "\n";
    }
    text = conf.str();
    return true;
}

int Fail(const std::string& message) {
    std::cerr << "mkdemomux: " << message << "\n";
    return Failure;
}

int Build(const Options& o) {
    std::string error;
    auto list = CDemoList::Load(o.list, error);
    if (!list) return Fail(error);
    std::string installation;
    if (!Installation(o, *list, installation)) return Fail("kann nicht lesen: " + o.card);
    std::error_code ec;
    fs::create_directories(o.out + "/work", ec);
    const std::string tvPath = o.out + "/work/sample-tv.ts";
    const std::string radioPath = o.out + "/work/sample-radio.ts";
    if (!MakeSamples(o, tvPath, radioPath))
        return Fail("ffmpeg konnte die Testbilder nicht erzeugen");
    Sample tv, radio;
    radio.videoPid = 0;
    radio.audioPid = 0x100;
    if (!CMuxBuilder::LoadSample(tvPath, tv, error) ||
        !CMuxBuilder::LoadSample(radioPath, radio, error))
        return Fail(error);
    CMuxBuilder builder(tv, radio, o.seconds, o.time);
    for (const auto& tp : list->transponders) {
        const std::string path = o.out + "/" + tp.FileName();
        if (!WriteStream(path, builder.Build(tp, list->transponders)))
            return Fail("kann nicht schreiben: " + path);
    }
    const std::string confPath = o.out + "/installation.conf";
    if (!(std::ofstream(confPath) << installation))
        return Fail("kann nicht schreiben: " + confPath);
    std::cout << "mkdemomux: " << list->transponders.size() << " Transponder in " << o.out << "\n";
    return Success;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    std::string error;
    switch (ParseArgs(std::vector<std::string>(argv + 1, argv + argc), o, error)) {
        case Request::Help:
            std::cout << kSynopsis << kHelp;
            return std::cout.flush() ? Success : Failure;
        case Request::Version:
            return PrintSvlVersion("mkdemomux");
        case Request::Refused:
            std::cerr << "mkdemomux: " << error << "\n" << kSynopsis << "Hilfe: mkdemomux --help\n";
            return Usage;
        case Request::Build:
            break;
    }
    return Build(o);
}
