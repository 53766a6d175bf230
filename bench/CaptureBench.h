#pragma once
// What the benchmarks on a real broadcast capture share: the capture's path
// (the benchmark's default, or the first argument after Google Benchmark's
// own), its bytes read once, the skip when it is absent, and the baseline
// "read_file" that every figure of such a benchmark is set against.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace capturebench {

using Bytes = std::vector<std::uint8_t>;

inline std::string& Path() {
    static std::string path;
    return path;
}

// One read of the whole file into a buffer of its size.
inline Bytes ReadFile(const std::string& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    std::FILE* f = error ? nullptr : std::fopen(path.c_str(), "rb");
    if (!f) return {};
    Bytes bytes(static_cast<std::size_t>(size));
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
    std::fclose(f);
    return bytes;
}

inline const Bytes& Capture() {
    static const Bytes bytes = ReadFile(Path());
    return bytes;
}

inline bool Ready(benchmark::State& state) {
    if (!Capture().empty()) return true;
    state.SkipWithError(("capture not found: " + Path()).c_str());
    return false;
}

inline void SetCaptureBytes(benchmark::State& state) {
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(Capture().size()));
}

// The baseline: the file read into memory.
inline void ReadFileBench(benchmark::State& state) {
    if (!Ready(state)) return;
    for (auto _ : state) {
        Bytes bytes = ReadFile(Path());
        benchmark::DoNotOptimize(bytes.data());
    }
    SetCaptureBytes(state);
}

inline int Main(int argc, char** argv, const std::string& defaultPath) {
    benchmark::Initialize(&argc, argv);
    Path() = argc > 1 ? argv[1] : defaultPath;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace capturebench
