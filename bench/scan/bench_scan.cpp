// Scan time per transponder of the demo installation (the scan core with
// dvbctl's card against the emulated card), next to its floor: the scan's own
// tuning pauses (switch command pauses and the settling pause before the
// first lock query) plus one repetition period of PAT, PMT and SDT, the
// longest of the three, measured in the stream files at their bit rate.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <vector>

#include "CKestrelScanCard.h"
#include "ClientEnvironment.h"
#include "TsTestUtil.h"
#include "channellist/AtomicFile.h"
#include "channellist/CSVLFile.h"
#include "kestrel/CPollDispatcher.h"
#include "mpegts/TsPacket.h"
#include "scan/CScanRun.h"
#include "scan/TransponderSources.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
constexpr int kRounds = 3;

// Seconds between the starts of sections on `pid` (a packet with the unit
// start flag), at the stream's bit rate; the loop's length when it starts once.
struct Periods {
    double pat = 0, pmt = 0, sdt = 0, nit = 0;
};

double BitRate(const testutil::Bytes& ts) {
    std::map<std::uint16_t, std::pair<std::size_t, std::uint64_t>> first;
    double rate = 0;
    for (std::size_t i = 0; i + 188 <= ts.size(); i += 188) {
        const auto p = mpegts::TsPacket::View({ts.data() + i, 188});
        const auto pcr = p ? p->Pcr() : std::nullopt;
        if (!pcr) continue;
        auto [at, inserted] = first.try_emplace(p->Pid(), i, *pcr);
        if (!inserted && *pcr > at->second.second)
            rate = double(i - at->second.first) * 8 / (double(*pcr - at->second.second) / 27e6);
    }
    return rate;
}

double Period(const testutil::Bytes& ts, std::uint16_t pid, double bitRate) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i + 188 <= ts.size(); i += 188) {
        const auto p = mpegts::TsPacket::View({ts.data() + i, 188});
        if (p && p->Pid() == pid && p->PayloadUnitStart()) starts.push_back(i);
    }
    const double bytes = starts.size() > 1
                             ? double(starts.back() - starts.front()) / double(starts.size() - 1)
                             : double(ts.size());
    return bytes * 8 / bitRate;
}

Periods Measure(const fs::path& file, std::uint16_t pmtPid) {
    const auto ts = testutil::ReadFile(file.string());
    const double rate = BitRate(ts);
    return {Period(ts, 0x00, rate), Period(ts, pmtPid, rate), Period(ts, 0x11, rate),
            Period(ts, 0x10, rate)};
}

std::string FileOf(const ScanTransponder& tp) {
    return std::to_string(tp.frequency / 1000) + (tp.polarisationOrQam ? "V" : "H") + ".ts";
}

std::uint64_t NowMs(Clock::time_point start) {
    return std::uint64_t(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

// One scan of the transponders; the milliseconds each took, in order.
std::vector<double> Scan(const ScanSettings& settings, const std::vector<ScanTransponder>& tps,
                         int& programs) {
    CKestrelScanCard card;
    CScanRun run(card, settings, tps);
    const auto start = Clock::now();
    std::vector<double> times;
    double last = 0;
    while (!run.Done()) {
        kestrel::DefaultPollDispatcher().RunOnce(5);
        run.Step(NowMs(start));
        for (; times.size() < run.Outcomes().size();) {
            const double now =
                std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            times.push_back(now - last);
            last = now;
        }
    }
    programs = run.ProgramsFound();
    return times;
}

}  // namespace

int main() {
    const fs::path demo = DEMO_BROADCAST_DIR;
    CSVLFile list;
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!ReadWholeFile(DEMO_LIST, bytes, &error) || !list.Load(bytes) ||
        !fs::exists(demo / "installation.conf")) {
        std::fprintf(stderr, "bench_scan: the demo list or broadcast is missing (%s)\n",
                     demo.c_str());
        return 1;
    }
    const std::string lnbName = list.Programs.front()->LnbName;
    const auto tps = TransponderSources::FromList(list, lnbName);
    const fs::path dir = testutil::IsolateClient("bench_scan" + std::to_string(getpid()));
    testutil::RegisterServer(dir, std::string(NVDVBSRV_PATH) + " --config " +
                                      (demo / "installation.conf").string() + " --base-port " +
                                      std::to_string(37000 + getpid() % 300 * 100));
    auto& conn = kestrel::CServerConnection::Instance();
    if (!conn.Connect()) {
        std::fprintf(stderr, "bench_scan: %s\n", conn.LastError().c_str());
        return 1;
    }
    conn.AttachDispatcher(kestrel::DefaultPollDispatcher());

    ScanSettings settings;
    settings.lnbName = lnbName;
    settings.lnb = *list.FindLnb(lnbName);
    std::vector<double> floor;
    for (const auto& tp : tps) {
        std::uint16_t pmtPid = 0;
        for (const auto& p : list.Programs)
            if (p->Frequency == std::int32_t(tp.frequency) && !pmtPid) pmtPid = p->PmtPid;
        const Periods t = Measure(demo / FileOf(tp), pmtPid);
        const CTuningPlan plan = ScanTuningPlan(settings.lnb, tp);
        const double pauses = plan.SwitchRepeats * plan.SwitchPauseMs + double(settings.settleMs);
        floor.push_back(pauses + 1000 * std::max({t.pat, t.pmt, t.sdt}));
        std::printf("%-22s pauses %.0f ms, periods PAT %.0f PMT %.0f SDT %.0f (NIT %.0f) ms\n",
                    tp.Text().c_str(), pauses, 1000 * t.pat, 1000 * t.pmt, 1000 * t.sdt,
                    1000 * t.nit);
    }
    std::vector<double> all;
    for (int round = 0; round < kRounds; ++round) {
        int programs = 0;
        const auto times = Scan(settings, tps, programs);
        all.insert(all.end(), times.begin(), times.end());
        std::printf("round %d: %d programs, %.0f ms\n", round + 1, programs, [&] {
            double s = 0;
            for (double t : times) s += t;
            return s;
        }());
    }
    double floorMean = 0, scanMean = 0;
    for (double f : floor) floorMean += f / double(floor.size());
    for (double t : all) scanMean += t / double(all.size());
    std::printf("scan_per_transponder_ms %.1f\nfloor_per_transponder_ms %.1f\nratio %.2f\n",
                scanMean, floorMean, scanMean / floorMean);
    testutil::EndClient(dir);
    return 0;
}
