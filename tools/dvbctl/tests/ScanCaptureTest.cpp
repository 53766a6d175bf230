// The scan core with dvbctl's card against a real emulated card whose dish
// position carries two broadcast captures: it finds their services with the
// PMT PIDs, PCR PIDs and streams that the captures' own PAT and PMTs give
// (read here independently of the library's decoder), on the transponder
// that carries them.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>

#include "CKestrelScanCard.h"
#include "CaptureCard.h"
#include "ClientEnvironment.h"
#include "TsTestUtil.h"
#include "kestrel/CPollDispatcher.h"
#include "kestrel/CServerConnection.h"
#include "mpegts/BitReader.h"
#include "scan/CScanRun.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr const char* kMediaset = "tsduck-test_018_mediaset-psi-si.ts";
constexpr const char* kRai = "tsduck-test_108_rai-dvbt-full-mux.ts";
const ScanTransponder kMediasetTp{11494000, 0, 22000000}, kRaiTp{12188000, 1, 27500000};

struct Stream {
    std::uint16_t type, pid;
    bool operator==(const Stream&) const = default;
};
struct Service {
    std::uint16_t pmtPid = 0, pcrPid = 0;
    std::vector<Stream> streams;
};
struct Capture {
    std::uint16_t tsid = 0;
    std::map<std::uint16_t, Service> services;  ///< by service id, those with a PMT
};

// PAT, then the PMT of every program in it (ISO/IEC 13818-1, 2.4.4.3 and 2.4.4.8).
Capture ReadCapture(const fs::path& file) {
    const auto ts = testutil::ReadFile(file.string());
    Capture c;
    std::map<std::uint16_t, std::uint16_t> pmtPids;
    for (const auto& pat : testutil::ExtractSections(ts, 0)) {
        mpegts::BitReader r(pat);
        r.SkipBytes(3);
        c.tsid = r.U16();
        r.SkipBytes(3);
        while (r.BytesLeft() > 4) {
            const std::uint16_t number = r.U16();
            r.Skip(3);
            const auto pid = static_cast<std::uint16_t>(r.Bits(13));
            if (number != 0) pmtPids[number] = pid;
        }
    }
    for (const auto& [sid, pid] : pmtPids)
        for (const auto& pmt : testutil::ExtractSections(ts, pid)) {
            mpegts::BitReader r(pmt);
            if (r.U8() != 0x02) continue;
            r.Skip(4);
            const auto length = r.Bits(12);
            if (r.U16() != sid) continue;
            r.SkipBytes(3);
            Service s{pid, 0, {}};
            r.Skip(3);
            s.pcrPid = static_cast<std::uint16_t>(r.Bits(13));
            r.Skip(4);
            r.SkipBytes(r.Bits(12));
            while (r.BitPosition() / 8 + 5 <= 3 + length - 4) {
                const std::uint16_t type = r.U8();
                r.Skip(3);
                const auto esPid = static_cast<std::uint16_t>(r.Bits(13));
                r.Skip(4);
                r.SkipBytes(r.Bits(12));
                s.streams.push_back({type, esPid});
            }
            if (r.Ok()) c.services[sid] = s;
        }
    return c;
}

CLnb UniversalLnb() {
    CLnb lnb;
    lnb.LnbType = 3;
    lnb.LowFrequency = 10700000;
    lnb.HighFrequency = 12750000;
    lnb.SwitchFrequency = 11700000;
    lnb.LowBandLof = 9750000;
    lnb.HighBandLof = 10600000;
    lnb.PowerOn = 1;
    return lnb;
}

class ScanCaptureTest : public CaptureCardTest {
  protected:
    void SetUp() override { StartCard("scancap", 36000, kMediaset, kRai); }
};

TEST_F(ScanCaptureTest, FindsTheServicesOfTheCapturesWithTheirPmtPids) {
    const Capture mediaset = ReadCapture(data_ / kMediaset), rai = ReadCapture(data_ / kRai);
    ASSERT_FALSE(mediaset.services.empty());
    ASSERT_FALSE(rai.services.empty());

    ScanSettings settings;
    settings.lnbName = "Astra";
    settings.lnb = UniversalLnb();
    settings.psiTimeoutMs = 8000;
    CKestrelScanCard card;
    CScanRun run(card, settings, {kMediasetTp, {11000000, 0, 27500000}, kRaiTp});
    const auto start = Clock::now();
    while (!run.Done() && Clock::now() - start < std::chrono::seconds(60)) {
        kestrel::DefaultPollDispatcher().RunOnce(10);
        run.Step(static_cast<std::uint64_t>(
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count()));
    }
    ASSERT_TRUE(run.Done());
    ASSERT_EQ(run.Outcomes().size(), 3u);
    EXPECT_TRUE(run.Outcomes()[0].locked);
    EXPECT_FALSE(run.Outcomes()[1].locked);
    EXPECT_TRUE(run.Outcomes()[2].locked);

    std::size_t matched = 0;
    for (const auto& [capture, tp] : {std::pair{&mediaset, kMediasetTp}, std::pair{&rai, kRaiTp}}) {
        for (const auto& [sid, service] : capture->services) {
            const CProgramInfo* found = nullptr;
            for (const auto& p : run.Found())
                if (p.ServiceId == sid && p.TransportStreamId == capture->tsid) found = &p;
            ASSERT_NE(found, nullptr) << "service " << sid << " of tsid " << capture->tsid;
            EXPECT_EQ(found->PmtPid, service.pmtPid) << sid;
            EXPECT_EQ(found->PcrPid, service.pcrPid) << sid;
            std::vector<Stream> streams;
            for (const auto& s : found->Streams) streams.push_back({s.StreamType, s.Pid});
            EXPECT_EQ(streams, service.streams) << sid;
            EXPECT_EQ(found->Frequency, static_cast<std::int32_t>(tp.frequency));
            EXPECT_EQ(found->PolarisationOrQam, tp.polarisationOrQam);
            EXPECT_EQ(found->LnbName, "Astra");
            EXPECT_FALSE(found->Name.empty());
            ++matched;
        }
    }
    EXPECT_EQ(matched, run.Found().size());  // nothing found that the captures do not carry
    std::printf("services with a program map: %zu in the Mediaset capture, %zu in the RAI one\n",
                mediaset.services.size(), rai.services.size());
}

}  // namespace
