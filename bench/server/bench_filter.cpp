// Filtering throughput of the card's demultiplexer on the largest capture:
// every packet through the section filters (PAT, SDT, EIT and one filter per
// PMT PID, as a tuned program uses them), next to a plain read of the same file.
// Prints how many times faster than real time the filters run.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "CSectionFilterBank.h"
#include "CTsFile.h"

namespace {

struct CountingSink : nvdvbsrv::IDatagramSink {
    uint64_t datagrams = 0, bytes = 0;
    void Send(uint16_t, std::span<const uint8_t> d) override {
        ++datagrams;
        bytes += d.size();
    }
};

std::string LargestCapture(const std::string& dir) {
    std::string best;
    uintmax_t size = 0;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(dir, ec)) {
        if (e.path().extension() != ".ts" || e.file_size(ec) <= size) continue;
        size = e.file_size(ec);
        best = e.path().string();
    }
    return best;
}

template <typename F>
double SecondsFor(int rounds, F&& f) {
    const auto t0 = std::chrono::steady_clock::now();
    for (int r = 0; r < rounds; ++r) f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

nvdvbsrv::SectionFilterSetting Setting(uint16_t pid, uint8_t table) {
    nvdvbsrv::SectionFilterSetting s;
    s.pid = pid;
    s.length = 1;
    s.filter[0] = table;
    s.mask[0] = 0xFF;
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string dir = argc > 1 ? argv[1] : SVL_TESTDATA_DIR;
    const std::string path = LargestCapture(dir);
    std::string error;
    auto file = path.empty() ? std::nullopt : nvdvbsrv::CTsFile::Load(path, error);
    if (!file) {
        std::fprintf(stderr, "bench_filter: no capture in %s\n", dir.c_str());
        return 1;
    }
    const auto bytes = file->Bytes();
    const double streamSeconds = double(bytes.size()) * 8.0 / double(file->Bitrate());
    const int rounds = 20;

    // Baseline: a plain read of the same file (from the page cache).
    volatile uint64_t sink = 0;
    std::vector<char> buffer(bytes.size());
    const double plain = SecondsFor(rounds, [&] {
        std::ifstream in(path, std::ios::binary);
        in.read(buffer.data(), std::streamsize(buffer.size()));
        sink = sink + uint64_t(in.gcount());
    });

    CountingSink out;
    nvdvbsrv::CSectionFilterBank bank(out);
    uint16_t handle = 1;
    bank.Add(1, handle++, Setting(0x00, 0x00));
    bank.Add(1, handle++, Setting(0x11, 0x42));
    bank.Add(1, handle++, Setting(0x12, 0x4E));
    bank.Add(1, handle++, Setting(0x12, 0x50));
    for (uint16_t pmt = 0x100; pmt < 0x108; ++pmt) bank.Add(1, handle++, Setting(pmt, 0x02));
    const double filtered = SecondsFor(rounds, [&] {
        for (size_t off = 0; off + 188 <= bytes.size(); off += 188) {
            bank.FeedPacket(bytes.subspan(off, 188));
        }
        bank.ResetAssemblers();
    });

    const double mbPerRound = double(bytes.size()) / 1e6;
    const double filterRate = mbPerRound * rounds / filtered;
    const double plainRate = mbPerRound * rounds / plain;
    const double realTime = streamSeconds * rounds / filtered;
    std::printf("capture %s: %.2f MB, %.2f s at %.2f Mbit/s, %llu sections per round\n",
                path.c_str(), mbPerRound, streamSeconds, double(file->Bitrate()) / 1e6,
                static_cast<unsigned long long>(out.datagrams / rounds));
    std::printf("BENCH filter_throughput %.1f MB/s baseline %.1f MB/s ratio %.3f\n", filterRate,
                plainRate, filterRate / plainRate);
    std::printf("BENCH filter_realtime_factor %.1f x baseline 50.0 x ratio %.2f\n", realTime,
                realTime / 50.0);
    if (realTime < 50.0) std::fprintf(stderr, "bench_filter: below the target of 50 x real time\n");
    return 0;
}
