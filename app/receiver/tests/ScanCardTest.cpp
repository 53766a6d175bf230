// The channel scan through CDeviceScanCard on the program's real device
// objects, against an emulated card that plays the demo broadcast (built by
// mkdemomux): a scan of the transponders of the demo list finds the demo
// list's programs with their tuning data, ids and PIDs, and reads the
// network id from the NIT.
#include <QElapsedTimer>
#include <cstdlib>
#include <fstream>
#include <map>

#include "channellist/AtomicFile.h"
#include "receiver/CDeviceScanCard.h"
#include "receiver/CKestrelCard.h"
#include "receiver/IDeviceSet.h"
#include "receiver/tests/CardServerTest.h"
#include "receiver/tests/DemoBroadcast.h"
#include "scan/CScanRun.h"
#include "scan/TransponderSources.h"

using namespace std::chrono_literals;

namespace {

class ScanCardTest : public CardServerTest {
  protected:
    void SetUp() override {
        if (DemoBroadcast::Dir().empty())
            GTEST_SKIP() << "the ffmpeg tool cannot build the demo broadcast";
        CardServerTest::SetUp();
        if (IsSkipped()) return;
        DemoBroadcast::UseInstallation(config_);
        std::vector<std::uint8_t> bytes;
        ASSERT_TRUE(ReadWholeFile(std::string(DEMO_DIR) + "/Demo.svl", bytes, nullptr));
        ASSERT_TRUE(demo_.Load(bytes));
        ASSERT_TRUE(Connect());
        link_.StartUp(nullptr);
        devices_ = link_.Devices();
        ASSERT_NE(devices_, nullptr);
    }
    void TearDown() override {
        link_.TearDown();
        CardServerTest::TearDown();
    }

    CSVLFile demo_;
    CKestrelCard link_;
    IDeviceSet* devices_ = nullptr;
};

}  // namespace

TEST_F(ScanCardTest, ScanOfTheDemoTranspondersFindsTheDemoListsPrograms) {
    const std::string lnbName = demo_.Programs.front()->LnbName;
    ScanSettings settings;
    settings.lnbName = lnbName;
    settings.lnb = *demo_.FindLnb(lnbName);
    const auto transponders = TransponderSources::FromList(demo_, lnbName);
    ASSERT_GE(transponders.size(), 2u);
    CDeviceScanCard card(*devices_);
    CScanRun run(card, settings, transponders);
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(RunLoopUntil(
        [&] {
            run.Step(std::uint64_t(clock.elapsed()));
            return run.Done();
        },
        120s));
    EXPECT_EQ(run.LockedCount(), int(transponders.size()));
    for (const ScanOutcome& outcome : run.Outcomes())
        EXPECT_TRUE(outcome.psiComplete) << outcome.transponder.Text();

    std::map<std::uint16_t, const CProgramInfo*> found;
    for (const CProgramInfo& p : run.Found()) found[p.ServiceId] = &p;
    EXPECT_EQ(found.size(), demo_.Programs.size());
    for (const auto& want : demo_.Programs) {
        SCOPED_TRACE(want->Name);
        const auto hit = found.find(want->ServiceId);
        ASSERT_NE(hit, found.end());
        const CProgramInfo& got = *hit->second;
        EXPECT_EQ(got.Name, want->Name);
        EXPECT_EQ(got.Provider, want->Provider);
        EXPECT_EQ(got.LnbName, want->LnbName);
        EXPECT_EQ(got.Frequency, want->Frequency);
        EXPECT_EQ(got.PolarisationOrQam, want->PolarisationOrQam);
        EXPECT_EQ(got.SymbolRate, want->SymbolRate);
        EXPECT_EQ(got.TransportStreamId, want->TransportStreamId);
        EXPECT_EQ(got.OriginalNetworkId, want->OriginalNetworkId);
        EXPECT_EQ(got.NetworkId, want->NetworkId);
        EXPECT_EQ(got.PmtPid, want->PmtPid);
        EXPECT_EQ(got.PcrPid, want->PcrPid);
        EXPECT_EQ(got.VideoPid, want->VideoPid);
        EXPECT_EQ(got.AudioPid, want->AudioPid);
        EXPECT_EQ(got.TeletextPid, want->TeletextPid);
        EXPECT_EQ(got.ProgramType, want->ProgramType);
    }
}
