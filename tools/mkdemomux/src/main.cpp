// mkdemomux: builds the demo broadcast for the emulated card. One transport
// stream file per transponder of the demo channel list, from short A/V test
// patterns made with the ffmpeg tool and our own PSI/SI tables, plus the
// card's installation file that names them.
//
//   mkdemomux --list Demo.json --out DIR [--card card.conf] [--seconds N]
//             [--ffmpeg PROGRAM] [--time UTC-SECONDS]
//
// --time holds the clock: the tables (TDT, guide) are made for that moment
// (seconds since 1970-01-01 00:00 UTC) instead of the current time.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "CDemoList.h"
#include "CMuxBuilder.h"

using namespace demomux;
namespace fs = std::filesystem;

namespace {

struct Options {
    std::string list, out, card, ffmpeg = "ffmpeg";
    int seconds = 4;
    std::time_t time = std::time(nullptr);
};

bool ParseArgs(int argc, char** argv, Options& o) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string a = argv[i], v = argv[i + 1];
        if (a == "--list")
            o.list = v;
        else if (a == "--out")
            o.out = v;
        else if (a == "--card")
            o.card = v;
        else if (a == "--ffmpeg")
            o.ffmpeg = v;
        else if (a == "--seconds")
            o.seconds = std::atoi(v.c_str());
        else if (a == "--time") {
            char* end = nullptr;
            const auto t = std::strtoll(v.c_str(), &end, 10);
            if (end == v.c_str() || *end || t <= 0) return false;
            o.time = std::time_t(t);
        } else
            return false;
    }
    return argc % 2 == 1 && !o.list.empty() && !o.out.empty() && o.seconds >= 1 && o.seconds <= 60;
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

std::string Installation(const Options& o, const CDemoList& list) {
    std::ostringstream conf;
    conf << "# Demo installation of the emulated card, written by mkdemomux.\n";
    if (!o.card.empty()) {
        std::ifstream card(o.card);
        conf << card.rdbuf() << "\n";
    }
    conf << "[position A]\nname = Astra 19.2 Ost\n";
    for (const auto& tp : list.transponders) {
        conf << "transponder = " << tp.frequencyKHz << (tp.vertical ? " V " : " H ")
             << tp.symbolRate << " " << tp.FileName() << "\n";
    }
    return conf.str();
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (!ParseArgs(argc, argv, o)) {
        std::cerr << "Aufruf: mkdemomux --list Demo.json --out ORDNER [--card card.conf]"
                     " [--seconds N] [--ffmpeg PROGRAMM] [--time UTC-SEKUNDEN]\n";
        return 64;
    }
    std::string error;
    auto list = CDemoList::Load(o.list, error);
    if (!list) {
        std::cerr << "mkdemomux: " << error << "\n";
        return 1;
    }
    std::error_code ec;
    fs::create_directories(o.out + "/work", ec);
    const std::string tvPath = o.out + "/work/sample-tv.ts";
    const std::string radioPath = o.out + "/work/sample-radio.ts";
    if (!MakeSamples(o, tvPath, radioPath)) {
        std::cerr << "mkdemomux: ffmpeg konnte die Testbilder nicht erzeugen\n";
        return 1;
    }
    Sample tv, radio;
    radio.videoPid = 0;
    radio.audioPid = 0x100;
    if (!CMuxBuilder::LoadSample(tvPath, tv, error) ||
        !CMuxBuilder::LoadSample(radioPath, radio, error)) {
        std::cerr << "mkdemomux: " << error << "\n";
        return 1;
    }
    CMuxBuilder builder(tv, radio, o.seconds, o.time);
    for (const auto& tp : list->transponders) {
        const std::string path = o.out + "/" + tp.FileName();
        if (!WriteStream(path, builder.Build(tp, list->transponders))) {
            std::cerr << "mkdemomux: kann nicht schreiben: " << path << "\n";
            return 1;
        }
    }
    std::ofstream(o.out + "/installation.conf") << Installation(o, *list);
    std::cout << "mkdemomux: " << list->transponders.size() << " Transponder in " << o.out << "\n";
    return 0;
}
