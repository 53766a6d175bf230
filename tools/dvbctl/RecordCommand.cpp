// dvbctl record / play: the card's recorder with the server doing the file
// work. The form follows the file's extension.
#include <chrono>
#include <cstdio>
#include <optional>
#include <thread>

#include "Commands.h"
#include "kestrel/CPollDispatcher.h"
#include "kestrel/CRecordPlayback.h"
#include "kestrel/CWSRecordPlayback.h"

namespace {

using Clock = std::chrono::steady_clock;

std::optional<TYPE_REC_PLAY_FORMAT> FormatOf(const std::string& file) {
    const auto dot = file.rfind('.');
    const std::string ext = dot == std::string::npos ? "" : file.substr(dot + 1);
    if (ext == "pva") return RP_AUDIO_VIDEO_PES;
    if (ext == "psv") return RP_VIDEO_PES;
    if (ext == "psa") return RP_AUDIO_PES;
    if (ext == "mp2") return RP_AUDIO_MP2;
    if (ext == "ts") return RP_TRANSPORT_STREAM;
    return std::nullopt;
}

struct Status {
    std::uint32_t length = 0, kbit = 0, position = 0;
    REC_PLAY_MODE mode = RP_STOPPED;
    TYPE_REC_PLAY_FORMAT format = RP_NONE;
    bool ok = false;
};

Status Read(CRecordPlayback& rec) {
    Status s;
    s.ok = rec.GetStatus(s.length, s.kbit, s.position, s.mode, s.format) == CCommonDVB::RET_OK;
    return s;
}

// The file and the options before it; false (with the message) on a usage error.
bool Split(const std::vector<std::string>& args, const char* command, Options& o, std::string& file,
           TYPE_REC_PLAY_FORMAT& format) {
    if (args.empty() || args.back().rfind("--", 0) == 0) {
        std::fprintf(stderr, "dvbctl %s: DATEI fehlt\n", command);
        return false;
    }
    file = args.back();
    if (!o.Parse(std::vector<std::string>(args.begin(), args.end() - 1))) {
        std::fprintf(stderr, "dvbctl %s: %s\n", command, o.error().c_str());
        return false;
    }
    const auto f = FormatOf(file);
    if (!f) {
        std::fprintf(stderr, "dvbctl %s: %s: die Endung muss pva, psv, psa, mp2 oder ts sein\n",
                     command, file.c_str());
        return false;
    }
    format = *f;
    return true;
}

// Waits until `until` while the recorder stays in a mode `running` accepts;
// the last status seen.
template <typename Running>
Status Follow(CRecordPlayback& rec, Clock::time_point until, Running running) {
    Status s = Read(rec);
    while (Clock::now() < until && s.ok && running(s.mode)) {
        kestrel::DefaultPollDispatcher().RunOnce(100);
        s = Read(rec);
    }
    return s;
}

}  // namespace

int RecordCommand(const std::vector<std::string>& args) {
    Options o;
    std::string file;
    TYPE_REC_PLAY_FORMAT format = RP_NONE;
    if (!Split(args, "record", o, file, format)) return 2;
    const auto seconds = o.Number("seconds");
    if (!seconds) {
        std::fprintf(stderr, "dvbctl record: --seconds N ist nötig\n");
        return 2;
    }
    if (!NeedCard()) return 1;
    if (o.Has("svl") && TuneFromList(o, "record") != 0) return 1;
    CWSRecordPlayback().WS_RecPlayMethod(0);
    CRecordPlayback rec;
    ErrReturn r = rec.Open(file, format, 0);
    if (r != CCommonDVB::RET_OK) {
        std::fprintf(stderr,
                     "dvbctl record: %s kann nicht zur Aufnahme geöffnet werden (Ergebnis %d)\n",
                     file.c_str(), static_cast<int>(r));
        return 1;
    }
    r = rec.Record();
    if (r != CCommonDVB::RET_OK) {
        std::fprintf(stderr, "dvbctl record: die Aufnahme startet nicht (Ergebnis %d)\n",
                     static_cast<int>(r));
        rec.Close();
        return 1;
    }
    const Status s = Follow(rec, Clock::now() + std::chrono::seconds(*seconds),
                            [](REC_PLAY_MODE m) { return m == RP_RECORDING; });
    rec.Stop();
    rec.Close();
    if (!s.ok || s.mode != RP_RECORDING) {
        std::fprintf(stderr, "dvbctl record: die Aufnahme endete nach %.1f s\n",
                     s.position / 1000.0);
        return 1;
    }
    std::printf("recorded %.1f s to %s at %u kBit/s\n", s.position / 1000.0, file.c_str(), s.kbit);
    return 0;
}

int PlayCommand(const std::vector<std::string>& args) {
    Options o;
    std::string file;
    TYPE_REC_PLAY_FORMAT format = RP_NONE;
    if (!Split(args, "play", o, file, format)) return 2;
    if (!NeedCard()) return 1;
    CWSRecordPlayback().WS_RecPlayMethod(0);
    CRecordPlayback rec;
    ErrReturn r = rec.Open(file, format, 1);
    if (r != CCommonDVB::RET_OK) {
        std::fprintf(stderr,
                     "dvbctl play: %s kann nicht zur Wiedergabe geöffnet werden (Ergebnis %d)\n",
                     file.c_str(), static_cast<int>(r));
        return 1;
    }
    const Status opened = Read(rec);
    r = rec.Playback(0);
    if (r != CCommonDVB::RET_OK) {
        std::fprintf(stderr, "dvbctl play: die Wiedergabe startet nicht (Ergebnis %d)\n",
                     static_cast<int>(r));
        rec.Close();
        return 1;
    }
    // Until the end of the file (the recorder stops by itself) or the time.
    const auto limit = o.Number("seconds");
    const auto until =
        limit ? Clock::now() + std::chrono::seconds(*limit) : Clock::time_point::max();
    bool played = false;
    const Status s = Follow(rec, until, [&](REC_PLAY_MODE m) {
        played |= m == RP_PLAYING;
        return m == RP_PLAYING;
    });
    // Still playing when the time was up, or stopped by the file's end.
    const std::uint32_t reached = s.mode == RP_PLAYING ? s.position : opened.length;
    rec.Stop();
    rec.Close();
    if (!s.ok || !played || (s.mode != RP_PLAYING && s.mode != RP_STOPPED)) {
        std::fprintf(stderr, "dvbctl play: die Wiedergabe lief nicht\n");
        return 1;
    }
    std::printf("played %.1f s of %s (length %.1f s)\n", reached / 1000.0, file.c_str(),
                opened.length / 1000.0);
    return 0;
}
