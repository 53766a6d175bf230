// Loading and storing a channel list of 100 000 programs from and to a file,
// against reading and writing the same bytes plainly (the baseline).
//
// Prints one line per figure:
//   BENCH <name> <value> <unit> baseline <value> <unit> ratio <r>
// where ratio is the operation's time over the baseline's time.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "channellist/AtomicFile.h"
#include "channellist/CSVLFile.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

constexpr std::size_t ProgramCount = 100000;
constexpr int Rounds = 7;

const char* const Providers[] = {"ARD", "ZDFvision", "RTL World", "ProSiebenSat.1", "PREMIERE",
                                 "SES ASTRA", "BetaDigital", "Eutelsat"};
const char* const Lnbs[] = {"Astra 19\xB0", "Hotbird 13\xB0", "Universal 1", "Universal 2"};
const char* const Languages[] = {"deu", "eng", "fra", "ita"};

ByteBlock Language(const char* code) {
    return {0x52, 1, 2, 0x0A, 4, static_cast<std::uint8_t>(code[0]), static_cast<std::uint8_t>(code[1]),
            static_cast<std::uint8_t>(code[2]), 0};
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

/// Best of several rounds, in seconds; `after` runs untimed after each round.
double Best(const std::function<void()>& run, const std::function<void()>& after = [] {}) {
    double best = 1e30;
    for (int i = 0; i < Rounds; ++i) {
        const auto start = Clock::now();
        run();
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
        after();
    }
    return best;
}

void Report(const char* name, double seconds, double baselineSeconds) {
    std::printf("BENCH %s %.0f programs/s baseline %.0f programs/s ratio %.2f\n", name,
                ProgramCount / seconds, ProgramCount / baselineSeconds, seconds / baselineSeconds);
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
    const double read = Best([&] { sink += PlainRead(path).size(); });
    // Each round loads into an empty list, which is freed untimed afterwards:
    // freeing the list is not part of loading it.
    CSVLFile loaded;
    const double load = Best(
        [&] {
            if (!loaded.Load(PlainRead(path))) std::exit(1);
            sink += loaded.Programs.size();
        },
        [&] { loaded.Clear(); });
    const double write = Best([&] { PlainWrite(copy, bytes); });
    const double store = Best([&] { PlainWrite(copy, list.Store()); });

    Report("svl_load", load, read);
    Report("svl_store", store, write);
    std::filesystem::remove_all(folder);
    return sink == 0;
}
