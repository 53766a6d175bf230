// Loading and storing a channel list of 100 000 programs from and to a file,
// against reading and writing the same bytes plainly (the baseline).
//
// Prints one line per figure:
//   BENCH <name> <value> <unit> baseline <value> <unit> ratio <r>
// where ratio is the operation's time over the baseline's time: wall-clock
// time, and under <name>_cpu the CPU time of the benchmark thread.
#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>

#include "channellist/AtomicFile.h"
#include "channellist/CSVLFile.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t ProgramCount = 100000;
constexpr int Rounds = 15;

const char* const Providers[] = {"ARD",      "ZDFvision", "RTL World",   "ProSiebenSat.1",
                                 "PREMIERE", "SES ASTRA", "BetaDigital", "Eutelsat"};
const char* const Lnbs[] = {"Astra 19\xB0", "Hotbird 13\xB0", "Universal 1", "Universal 2"};
const char* const Languages[] = {"deu", "eng", "fra", "ita"};

ByteBlock Language(const char* code) {
    return {0x52,
            1,
            2,
            0x0A,
            4,
            static_cast<std::uint8_t>(code[0]),
            static_cast<std::uint8_t>(code[1]),
            static_cast<std::uint8_t>(code[2]),
            0};
}

CSVLFile BuildList() {
    CSVLFile list;
    list.Programs.reserve(ProgramCount);
    for (std::size_t i = 0; i < ProgramCount; ++i) {
        auto p = std::make_unique<CProgramInfo>();
        p->Name = (i % 3 == 0 ? "Fernsehprogramm " : "Sender ") + std::to_string(i);
        p->Provider = Providers[i % 8];
        p->FrontendType = 2;
        p->LnbName = Lnbs[i % 4];
        p->Frequency = 10700000 + static_cast<std::int32_t>(i % 400) * 5000;
        p->PolarisationOrQam = static_cast<std::int32_t>(i & 1);
        p->SymbolRate = 27500000;
        p->ProgramType = (i % 10 == 0) ? 2 : 1;
        p->TransportStreamId = static_cast<std::uint16_t>(1000 + i % 400);
        p->NetworkId = 1;
        p->OriginalNetworkId = 1;
        p->ServiceId = static_cast<std::uint16_t>(i);
        p->PmtPid = 100;
        p->PcrPid = p->VideoPid = 101;
        p->AudioPid = 102;
        p->TeletextPid = 104;
        const std::size_t streams = 2 + i % 3;
        for (std::size_t s = 0; s < streams; ++s) {
            CStreaminfo st;
            st.Pid = static_cast<std::uint16_t>(101 + s);
            st.StreamType = s == 0 ? 2 : (s == 3 ? 6 : 3);
            st.Descriptors = s == 0 ? ByteBlock{0x52, 1, 1} : Language(Languages[(i + s) % 4]);
            p->Streams.push_back(std::move(st));
        }
        list.Programs.push_back(std::move(p));
    }
    for (const char* name : Lnbs) list.Lnbs.Set(name, std::make_shared<CLnb>());
    return list;
}

/// Plain write: create/truncate, write, close (no sync, like the baseline).
void PlainWrite(const std::string& path, const Bytes& bytes) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0 || write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
        std::perror("write");
        std::exit(1);
    }
    close(fd);
}

Bytes PlainRead(const std::string& path) {
    Bytes bytes;
    if (!ReadWholeFile(path, bytes, nullptr)) std::exit(1);
    return bytes;
}

double Seconds(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

/// Wall-clock and CPU time of one round. The CPU time of this thread (user
/// and kernel, the page-cache copies included) is not inflated when the
/// shared machine preempts the benchmark.
struct Times {
    double wall = 1e30;
    double cpu = 1e30;
};

Times Measure(const std::function<void()>& run) {
    const double wall = Seconds(CLOCK_MONOTONIC);
    const double cpu = Seconds(CLOCK_THREAD_CPUTIME_ID);
    run();
    return {Seconds(CLOCK_MONOTONIC) - wall, Seconds(CLOCK_THREAD_CPUTIME_ID) - cpu};
}

/// The best of several rounds of an operation and of its baseline, taken
/// in turns so that both see the same load on the machine. `after` runs
/// untimed after each round of the operation.
std::pair<Times, Times> Compare(const std::function<void()>& baseline,
                                const std::function<void()>& operation,
                                const std::function<void()>& after) {
    Times base, op;
    for (int i = 0; i < Rounds; ++i) {
        const Times b = Measure(baseline);
        const Times o = Measure(operation);
        after();
        if (i == 0)
            std::printf("# first round %.2f ms (baseline %.2f ms)\n", o.wall * 1e3, b.wall * 1e3);
        base = {std::min(base.wall, b.wall), std::min(base.cpu, b.cpu)};
        op = {std::min(op.wall, o.wall), std::min(op.cpu, o.cpu)};
    }
    return {base, op};
}

void Report(const std::string& name, double seconds, double baselineSeconds) {
    std::printf("BENCH %s %.0f programs/s baseline %.0f programs/s ratio %.2f\n", name.c_str(),
                ProgramCount / seconds, ProgramCount / baselineSeconds, seconds / baselineSeconds);
}

void Report(const std::string& name, const std::pair<Times, Times>& times) {
    Report(name, times.second.wall, times.first.wall);
    Report(name + "_cpu", times.second.cpu, times.first.cpu);
}

}  // namespace

int main() {
    std::string folder = (std::filesystem::temp_directory_path() / "bench_svl-XXXXXX").string();
    if (!mkdtemp(folder.data())) return 1;
    const std::string path = folder + "/bench.svl";
    const std::string copy = folder + "/plain.svl";

    const CSVLFile list = BuildList();
    const Bytes bytes = list.Store();
    PlainWrite(path, bytes);
    std::printf("# %zu programs, %zu bytes\n", ProgramCount, bytes.size());

    std::size_t sink = 0;
    // Each round loads into an empty list, which is freed untimed afterwards:
    // freeing the list is not part of loading it.
    CSVLFile loaded;
    const auto load = Compare([&] { sink += PlainRead(path).size(); },
                              [&] {
                                  if (!loaded.Load(PlainRead(path))) std::exit(1);
                                  sink += loaded.Programs.size();
                              },
                              [&] { loaded.Clear(); });
    const auto store =
        Compare([&] { PlainWrite(copy, bytes); }, [&] { PlainWrite(copy, list.Store()); }, [] {});

    Report("svl_load", load);
    Report("svl_store", store);
    std::filesystem::remove_all(folder);
    return sink == 0;
}
