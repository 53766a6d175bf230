// The card's decoder on every program of the demo broadcast: the CPU time of
// decoding a program's video (and separately its sound) and composing the
// output frames, next to the ffmpeg tool decoding the same stream of the same
// file; then pictures published per second while the stream plays in real
// time, against the stream's frame rate.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "CPictureOutput.h"
#include "CSoundOutput.h"
#include "CStreamDecoder.h"
#include "CTsFile.h"
#include "CTsPlayer.h"

namespace {

using nvdvbsrv::CStreamDecoder;
constexpr double kTarget = 1.3;
// Both decode the file this many times over, so that the tool's start-up
// (some 150 ms of loading and probing) does not hide the decoding.
constexpr int kRounds = 10;

struct Program {
    int id = 0;
    uint16_t video = 0, audio = 0;
};

struct NullSound : nvdvbsrv::ISoundSink {
    void Write(std::span<const int16_t>) override {}
};

double Seconds(const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; }

double OwnCpu() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return Seconds(u.ru_utime) + Seconds(u.ru_stime);
}

// The programs of a file with their first video and audio PID, from ffprobe.
std::vector<Program> Programs(const std::string& path) {
    const std::string cmd =
        "ffprobe -v error -show_entries program=program_id:program_stream="
        "codec_type,id -of flat '" +
        path + "'";
    std::FILE* p = popen(cmd.c_str(), "r");
    if (!p) return {};
    std::map<int, Program> byIndex;
    std::map<std::pair<int, int>, std::string> types;
    char line[512];
    while (std::fgets(line, sizeof line, p)) {
        int program = 0, stream = 0, n = 0;
        char value[64] = {};
        if (std::sscanf(line, "programs.program.%d.program_id=%d", &program, &n) == 2) {
            byIndex[program].id = n;
        } else if (std::sscanf(line, "programs.program.%d.streams.stream.%d.codec_type=\"%63[a-z]",
                               &program, &stream, value) == 3) {
            types[{program, stream}] = value;
        } else if (std::sscanf(line, "programs.program.%d.streams.stream.%d.id=\"0x%x", &program,
                               &stream, &n) == 3) {
            uint16_t& pid = types[{program, stream}] == "video" ? byIndex[program].video
                                                                : byIndex[program].audio;
            if (pid == 0 &&
                (types[{program, stream}] == "video" || types[{program, stream}] == "audio"))
                pid = uint16_t(n);
        }
    }
    pclose(p);
    std::vector<Program> out;
    for (auto& [index, program] : byIndex) out.push_back(program);
    return out;
}

// The CPU time of the ffmpeg tool decoding one PID of the file; with
// `scaled`, also scaling the pictures to the card's 720 x 576 RGB output.
double FfmpegCpu(const std::string& path, uint16_t pid, bool scaled = false) {
    char map[32];
    std::snprintf(map, sizeof map, "0:i:0x%x", pid);
    const pid_t child = fork();
    if (child == 0) {
        const std::string loops = std::to_string(kRounds - 1);
        const char* filter = scaled ? "scale=720:576:flags=fast_bilinear,format=bgra" : "null";
        execlp("ffmpeg", "ffmpeg", "-v", "error", "-nostdin", "-stream_loop", loops.c_str(), "-i",
               path.c_str(), "-map", map, "-vf", filter, "-f", "null", "-",
               static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage u{};
    if (child < 0 || wait4(child, &status, 0, &u) < 0 || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0)
        return -1;
    return Seconds(u.ru_utime) + Seconds(u.ru_stime);
}

struct Run {
    double cpu = 0;
    uint64_t frames = 0;
};

// The card's decoder and output on one PID, fed as fast as it decodes.
Run CardCpu(const nvdvbsrv::CTsFile& file, uint16_t pid, CStreamDecoder::Kind kind) {
    nvdvbsrv::CPictureOutput picture;
    picture.Start(kestrel::protocol::PictureMemoryName("@bench" + std::to_string(getpid())));
    nvdvbsrv::CSoundOutput sound(std::make_unique<NullSound>());
    nvdvbsrv::IFrameSink& sink =
        kind == CStreamDecoder::Kind::Video ? static_cast<nvdvbsrv::IFrameSink&>(picture) : sound;
    CStreamDecoder decoder(kind, sink, CStreamDecoder::Overflow::Wait);
    decoder.SetPid(pid);
    const double start = OwnCpu();
    for (int round = 0; round < kRounds; ++round) {
        for (size_t i = 0; i < file.PacketCount(); ++i) decoder.FeedPacket(file.Packet(i));
        decoder.ResetAssemblers();  // the loop point, as the player has it
    }
    decoder.Drain();
    return {OwnCpu() - start, decoder.FramesDecoded()};
}

// Pictures published per second while the file plays at its own rate.
void RealTime(const std::string& name, std::shared_ptr<const nvdvbsrv::CTsFile> file,
              uint16_t pid) {
    nvdvbsrv::CPictureOutput picture;
    picture.SetPaced(true);  // as on the card
    CStreamDecoder decoder(CStreamDecoder::Kind::Video, picture);
    decoder.SetPid(pid);
    nvdvbsrv::CTsPlayer player({&decoder});
    player.Play(file, 1.0);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const uint64_t from = picture.PicturesShown();
    const auto t0 = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(2));
    const uint64_t shown = picture.PicturesShown() - from;
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    player.Stop();
    std::printf(
        "BENCH decode_realtime_%s %.2f pictures/s baseline 25.00 ratio %.3f dropped %" PRIu64 "\n",
        name.c_str(), double(shown) / s, double(shown) / s / 25.0, decoder.PesDropped());
}

}  // namespace

int main(int argc, char** argv) {
    const std::string dir = argc > 1 ? argv[1] : DEMO_BROADCAST_DIR;
    std::vector<std::string> files;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(dir, ec))
        if (e.path().extension() == ".ts") files.push_back(e.path().string());
    std::sort(files.begin(), files.end());
    if (files.empty()) {
        std::fprintf(stderr, "bench_decode: no demo broadcast in %s (target demo_broadcast)\n",
                     dir.c_str());
        return 1;
    }
    double card = 0, tool = 0;
    for (const auto& path : files) {
        std::string error;
        auto loaded = nvdvbsrv::CTsFile::Load(path, error);
        if (!loaded) continue;
        auto file = std::make_shared<const nvdvbsrv::CTsFile>(std::move(*loaded));
        const std::string name = std::filesystem::path(path).stem().string();
        for (const Program& p : Programs(path)) {
            for (const auto& [pid, kind] : {std::pair{p.video, CStreamDecoder::Kind::Video},
                                            std::pair{p.audio, CStreamDecoder::Kind::Audio}}) {
                if (pid == 0) continue;
                const Run r = CardCpu(*file, pid, kind);
                const double f = FfmpegCpu(path, pid);
                card += r.cpu;
                tool += std::max(f, 0.0);
                std::printf(
                    "BENCH decode_%s_%d_%s_pid%u %.1f ms baseline %.1f ms ratio %.2f "
                    "(%" PRIu64 " frames)\n",
                    name.c_str(), p.id, kind == CStreamDecoder::Kind::Video ? "video" : "audio",
                    pid, r.cpu * 1e3, f * 1e3, f > 0 ? r.cpu / f : 0.0, r.frames);
            }
        }
        const auto programs = Programs(path);
        if (!programs.empty() && programs.front().video != 0) {
            // For comparison: the tool doing the same work as the output stage.
            const uint16_t pid = programs.front().video;
            const Run r = CardCpu(*file, pid, CStreamDecoder::Kind::Video);
            const double f = FfmpegCpu(path, pid, true);
            std::printf("BENCH decode_%s_scaled_pid%u %.1f ms baseline %.1f ms ratio %.2f\n",
                        name.c_str(), pid, r.cpu * 1e3, f * 1e3, f > 0 ? r.cpu / f : 0.0);
        }
        if (!programs.empty() && programs.front().video != 0)
            RealTime(name, file, programs.front().video);
    }
    std::printf("BENCH decode_total %.1f ms baseline %.1f ms ratio %.2f\n", card * 1e3, tool * 1e3,
                tool > 0 ? card / tool : 0.0);
    if (tool > 0 && card / tool > kTarget)
        std::fprintf(stderr, "bench_decode: above the target of %.1f x the ffmpeg tool\n", kTarget);
    return 0;
}
