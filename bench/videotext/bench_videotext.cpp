// The videotext page cache filled from the RAI multiplex (its four teletext
// PIDs 0x240, 0x241, 0x242 and 0x257), four figures of the same run:
//   read_file   the file read into memory (the baseline);
//   assemble    the card's page assembly (one CTeletextDecoder per PID) over
//               every packet of the file in memory, the pages dropped;
//   fill_cache  the same with each page stored in a fresh VtPageCache, as
//               the receive path stores them;
//   store_only  the pages of one assembly, collected beforehand, stored in a
//               fresh cache (the cache's own share).
// Counters: datagrams the card sent, pages stored, records cached, and pages
// stored per second. Another capture may be named as the first argument
// after the benchmark's own.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "bench/CaptureBench.h"
#include "bench/videotext/CaptureTeletext.h"
#include "videotext/VtPageCache.h"

namespace {

using capturebench::Bytes;
using capturebench::Capture;
using capturebench::Ready;

using videotextbench::Assemble;

void AssembleBench(benchmark::State& state) {
    if (!Ready(state)) return;
    std::size_t datagrams = 0;
    for (auto _ : state) {
        datagrams = 0;
        Assemble(Capture(), [&](std::span<const std::uint8_t> d) {
            benchmark::DoNotOptimize(d.data());
            ++datagrams;
        });
    }
    state.counters["datagrams"] = double(datagrams);
    capturebench::SetCaptureBytes(state);
}

void Report(benchmark::State& state, std::size_t datagrams, std::size_t stored, int cached) {
    state.counters["datagrams"] = double(datagrams);
    state.counters["stored"] = double(stored);
    state.counters["cached"] = double(cached);
    state.counters["pages_per_s"] =
        benchmark::Counter(double(stored), benchmark::Counter::kIsIterationInvariantRate);
}

void FillCacheBench(benchmark::State& state) {
    if (!Ready(state)) return;
    std::size_t datagrams = 0;
    std::size_t stored = 0;
    int cached = 0;
    for (auto _ : state) {
        auto cache = std::make_unique<vt::VtPageCache>();
        datagrams = stored = 0;
        Assemble(Capture(), [&](std::span<const std::uint8_t> d) {
            ++datagrams;
            stored += cache->Store(d).stored;
        });
        cached = cache->CachedCount();
    }
    Report(state, datagrams, stored, cached);
    capturebench::SetCaptureBytes(state);
}

void StoreOnlyBench(benchmark::State& state) {
    if (!Ready(state)) return;
    std::vector<Bytes> pages;
    Assemble(Capture(),
             [&](std::span<const std::uint8_t> d) { pages.emplace_back(d.begin(), d.end()); });
    std::size_t stored = 0;
    int cached = 0;
    for (auto _ : state) {
        auto cache = std::make_unique<vt::VtPageCache>();
        stored = 0;
        for (const Bytes& page : pages) stored += cache->Store(page).stored;
        cached = cache->CachedCount();
    }
    Report(state, pages.size(), stored, cached);
}

}  // namespace

BENCHMARK(capturebench::ReadFileBench)->Name("read_file")->Unit(benchmark::kMillisecond);
BENCHMARK(AssembleBench)->Name("assemble")->Unit(benchmark::kMillisecond);
BENCHMARK(FillCacheBench)->Name("fill_cache")->Unit(benchmark::kMillisecond);
BENCHMARK(StoreOnlyBench)->Name("store_only")->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    return capturebench::Main(
        argc, argv, std::string(SVL_TESTDATA_DIR) + "/tsduck-test_108_rai-dvbt-full-mux.ts");
}
