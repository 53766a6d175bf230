// The guide core on the German schedule capture (5 339 events), three figures
// of the same run:
//   read_file        the file read into memory (the baseline);
//   assemble         the section assembler over every PID 0x12 packet;
//   decode_schedule  the same sections through ParseEitSection into one
//                    CScheduleList per service, as the schedule receiver
//                    fills them;
//   decode_one_list  the same into a single list (every service's events as
//                    one program's), the look-up by start over 5 000 records.
// Another capture may be named as the first argument after the benchmark's own.
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

#include "bench/CaptureBench.h"
#include "guide/CScheduleList.h"
#include "guide/EitSection.h"
#include "mpegts/SectionAssembler.h"
#include "mpegts/TsPacket.h"

namespace {

using capturebench::Bytes;
using capturebench::Capture;
using capturebench::Ready;

template <class Sink>
void ForEachSection(const Bytes& ts, Sink&& sink) {
    mpegts::SectionAssembler assembler;
    for (std::size_t off = 0; off + 188 <= ts.size(); off += 188) {
        const auto bytes = std::span<const std::uint8_t>(ts).subspan(off, 188);
        const auto packet = mpegts::TsPacket::View(bytes);
        if (packet && packet->Pid() == 0x12) assembler.Feed(bytes, sink);
    }
}

void AssembleBench(benchmark::State& state) {
    if (!Ready(state)) return;
    std::size_t sections = 0;
    for (auto _ : state) {
        sections = 0;
        ForEachSection(Capture(), [&](std::span<const std::uint8_t> s) {
            benchmark::DoNotOptimize(s.data());
            ++sections;
        });
    }
    state.counters["sections"] = double(sections);
    capturebench::SetCaptureBytes(state);
}

void DecodeScheduleBench(benchmark::State& state) {
    if (!Ready(state)) return;
    std::size_t records = 0, lists = 0;
    for (auto _ : state) {
        std::map<std::uint16_t, CScheduleList> byService;
        std::int64_t nowMs = 0;
        ForEachSection(Capture(), [&](std::span<const std::uint8_t> s) {
            const auto section = ParseEitSection(s);
            if (!section) return;
            auto [it, added] = byService.try_emplace(section->serviceId);
            if (added) {
                CProgramInfo program;
                program.ServiceId = section->serviceId;
                program.Name = "Programm";
                it->second.Start(program);
            }
            it->second.Apply(*section, 0, nowMs += 10);
        });
        records = 0;
        for (const auto& [sid, list] : byService) records += list.Records().size();
        lists = byService.size();
    }
    state.counters["records"] = double(records);
    state.counters["services"] = double(lists);
    capturebench::SetCaptureBytes(state);
}

// Every event of the multiplex in one list, as if one program carried them
// all: 5 000 and more records, where a look-up by start that walks the list
// would make the whole quadratic.
void DecodeOneListBench(benchmark::State& state) {
    if (!Ready(state)) return;
    std::size_t records = 0;
    for (auto _ : state) {
        CScheduleList list;
        list.Start(CProgramInfo{});
        std::int64_t nowMs = 0;
        ForEachSection(Capture(), [&](std::span<const std::uint8_t> s) {
            auto section = ParseEitSection(s);
            if (!section) return;
            section->serviceId = 0;
            list.Apply(*section, 0, nowMs += 10);
        });
        records = list.Records().size();
    }
    state.counters["records"] = double(records);
    capturebench::SetCaptureBytes(state);
}

}  // namespace

BENCHMARK(capturebench::ReadFileBench)->Name("read_file")->Unit(benchmark::kMillisecond);
BENCHMARK(AssembleBench)->Name("assemble")->Unit(benchmark::kMillisecond);
BENCHMARK(DecodeScheduleBench)->Name("decode_schedule")->Unit(benchmark::kMillisecond);
BENCHMARK(DecodeOneListBench)->Name("decode_one_list")->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return capturebench::Main(
        argc, argv,
        std::string(SVL_TESTDATA_DIR) + "/petrj-mpegts_de-dvbt2-626mhz-eit-schedule.ts");
}
