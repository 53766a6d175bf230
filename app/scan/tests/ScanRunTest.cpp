// The scan's step machine on a fake card: switch command and tuning per
// transponder, lock and PSI time-outs, cancelling, the NIT's transponders
// and network id.
#include <gtest/gtest.h>

#include "FakeScanCard.h"
#include "mpegts/tests/NitWriter.h"
#include "scan/CScanRun.h"

namespace {

kestrel::PsiProgram Program(std::uint16_t sid, bool pmtRead = true) {
    kestrel::PsiProgram p;
    p.serviceId = sid;
    p.pmtPid = static_cast<std::uint16_t>(sid + 100);
    p.pmtRead = pmtRead;
    p.inSdt = true;
    p.serviceType = 1;
    p.name = "Service " + std::to_string(sid);
    return p;
}

FakeScanCard::Transponder Carrying(std::uint16_t tsid, std::vector<std::uint16_t> sids) {
    FakeScanCard::Transponder t;
    t.tree.transportStreamId = tsid;
    t.tree.originalNetworkId = 1;
    for (auto sid : sids) t.tree.programs.push_back(Program(sid));
    return t;
}

ScanSettings Settings() {
    ScanSettings s;
    s.lnbName = "Astra";
    s.lnb.LnbType = 3;  // universal, DiSEqC 1.0 position B
    s.lnb.SwitchFrequency = 11700000;
    s.lnb.LowBandLof = 9750000;
    s.lnb.HighBandLof = 10600000;
    s.lnb.PowerOn = 1;
    s.lnb.DiseqcType = 2;
    s.lnb.DiseqcParameter = 1;
    s.readNit = false;  // the NIT tests turn it on
    return s;
}

// Steps every 10 ms until the run is done or `limitMs` passed; the time reached.
std::uint64_t RunFor(CScanRun& run, std::uint64_t limitMs, std::uint64_t from = 0) {
    std::uint64_t now = from;
    for (; now <= from + limitMs && !run.Done(); now += 10) run.Step(now);
    return now;
}

const ScanTransponder kA{11836000, 0, 27500000}, kB{12226000, 1, 27500000},
    kC{12544000, 0, 22000000};

TEST(ScanRun, TunesEachTransponderWithItsPacedSwitchCommand) {
    FakeScanCard card;
    card.transponders[kA.frequency] = Carrying(1101, {10, 11});
    card.transponders[kB.frequency] = Carrying(1057, {20});
    CScanRun run(card, Settings(), {kA, kB});
    run.Step(0);
    EXPECT_EQ(run.StateText(), "Umschalten");
    EXPECT_EQ(run.TransponderText(), "11836000 H 27500000");
    run.Step(50);  // within the 120 ms pause after the first sending
    EXPECT_EQ(card.switchBytes.size(), 1u);
    RunFor(run, 2000);
    ASSERT_TRUE(run.Done());
    EXPECT_EQ(run.StateText(), "Fertig");

    // Three sendings per transponder, E1 from the second on; high band, horizontal, B.
    ASSERT_EQ(card.switchBytes.size(), 6u);
    EXPECT_EQ(card.switchBytes[0], (std::vector<std::uint8_t>{0xE0, 0x10, 0x38, 0xF7}));
    EXPECT_EQ(card.switchBytes[1], (std::vector<std::uint8_t>{0xE1, 0x10, 0x38, 0xF7}));
    EXPECT_EQ(card.switchBytes[3][3], 0xF5);  // vertical
    ASSERT_EQ(card.tuned.size(), 2u);
    EXPECT_EQ(card.tuned[0].Lof, 10600000u);
    EXPECT_EQ(card.tuned[1].LnbVoltage, 13u);
    EXPECT_EQ(card.calls[3], "tune 11836000");

    ASSERT_EQ(run.Found().size(), 3u);
    EXPECT_EQ(run.Found()[2].ServiceId, 20);
    EXPECT_EQ(run.Found()[2].LnbName, "Astra");
    ASSERT_EQ(run.Outcomes().size(), 2u);
    EXPECT_EQ(CScanRun::OutcomeText(run.Outcomes()[0]), "2 Programme");
    EXPECT_TRUE(run.Outcomes()[1].psiComplete);
}

TEST(ScanRun, NoLockBeforeTheTimeOutIsNoSignalAndTheNextTransponder) {
    FakeScanCard card;
    card.transponders[kB.frequency] = Carrying(1057, {20});
    ScanSettings s = Settings();
    s.lockTimeoutMs = 1000;
    CScanRun run(card, s, {kA, kB});
    RunFor(run, 360 + 900);  // switch pauses, then most of the lock time
    EXPECT_EQ(run.StateText(), "Warte auf Signal");
    EXPECT_EQ(run.CurrentIndex(), 0);
    RunFor(run, 5000, 1270);
    ASSERT_TRUE(run.Done());
    ASSERT_EQ(run.Outcomes().size(), 2u);
    EXPECT_FALSE(run.Outcomes()[0].locked);
    EXPECT_EQ(CScanRun::OutcomeText(run.Outcomes()[0]), "kein Signal");
    EXPECT_EQ(run.LockedCount(), 1);
    EXPECT_EQ(run.ProgramsFound(), 1);
}

TEST(ScanRun, PsiTimeOutKeepsWhatArrived) {
    FakeScanCard card;
    auto t = Carrying(1101, {10});
    t.tree.programs.push_back(Program(11, false));  // its program map never came
    t.pollsToComplete = -1;
    card.transponders[kA.frequency] = t;
    ScanSettings s = Settings();
    s.psiTimeoutMs = 2000;
    CScanRun run(card, s, {kA});
    const std::uint64_t end = RunFor(run, 10000);
    ASSERT_TRUE(run.Done());
    EXPECT_GE(end, 2000u);
    ASSERT_EQ(run.Found().size(), 1u);
    EXPECT_EQ(run.Found()[0].ServiceId, 10);
    EXPECT_FALSE(run.Outcomes()[0].psiComplete);
    EXPECT_EQ(std::count(card.calls.begin(), card.calls.end(), "abort psi"), 1);
}

TEST(ScanRun, CancelStopsTheCardAndKeepsTheProgramsFound) {
    FakeScanCard card;
    card.transponders[kA.frequency] = Carrying(1101, {10, 11});
    card.transponders[kB.frequency] = Carrying(1057, {20});
    card.transponders[kB.frequency].pollsToComplete = -1;
    CScanRun run(card, Settings(), {kA, kB});
    std::uint64_t now = 0;
    for (; run.CurrentPhase() != CScanRun::Phase::Decode || run.CurrentIndex() != 1; now += 10)
        run.Step(now);
    card.calls.clear();
    run.Cancel();
    EXPECT_TRUE(run.Done());
    EXPECT_TRUE(run.Cancelled());
    EXPECT_EQ(run.StateText(), "Abgebrochen");
    EXPECT_EQ(card.calls, (std::vector<std::string>{"abort psi"}));
    run.Step(now + 100000);
    EXPECT_EQ(run.Found().size(), 2u);
    EXPECT_EQ(card.calls.size(), 1u);  // nothing after the cancel
}

TEST(ScanRun, FollowsTheNitWithoutDuplicatesAndTakesItsNetworkId) {
    FakeScanCard card;
    auto a = Carrying(1101, {10});
    // The NIT names A itself, B and C; its table arrives on the third query.
    a.nit = {
        nittest::Nit(0x0042, {{1101, 1, nittest::SatelliteOf(kA.frequency, 0, kA.symbolRate)},
                              {1057, 1, nittest::SatelliteOf(kB.frequency, 1, kB.symbolRate)},
                              {1107, 1, nittest::SatelliteOf(kC.frequency, 0, kC.symbolRate)}})};
    a.pollsToNit = 2;
    card.transponders[kA.frequency] = a;
    card.transponders[kB.frequency] = Carrying(1057, {20});
    card.transponders[kB.frequency].nit = a.nit;
    ScanSettings s = Settings();
    s.readNit = s.followNit = true;
    CScanRun run(card, s, {kA, kB});
    RunFor(run, 20000);
    ASSERT_TRUE(run.Done());
    EXPECT_EQ(run.Transponders(), (std::vector<ScanTransponder>{kA, kB, kC}));
    ASSERT_EQ(run.Outcomes().size(), 3u);
    EXPECT_FALSE(run.Outcomes()[2].locked);
    ASSERT_EQ(run.Found().size(), 2u);
    EXPECT_EQ(run.Found()[0].NetworkId, 0x0042);
    EXPECT_EQ(run.Found()[1].NetworkId, 0x0042);
}

TEST(ScanRun, WithoutFollowingTheNitOnlyTheGivenTransponders) {
    FakeScanCard card;
    auto a = Carrying(1101, {10});
    a.nit = {nittest::Nit(7, {{1057, 1, nittest::SatelliteOf(kB.frequency, 1, kB.symbolRate)}})};
    card.transponders[kA.frequency] = a;
    ScanSettings s = Settings();
    s.readNit = true;
    CScanRun run(card, s, {kA});
    RunFor(run, 20000);
    EXPECT_EQ(run.Count(), 1);
    ASSERT_EQ(run.Found().size(), 1u);
    EXPECT_EQ(run.Found()[0].NetworkId, 7);
}

TEST(ScanRun, ANitThatNeverComesIsWaitedForUntilThePsiTimeOut) {
    FakeScanCard card;
    card.transponders[kA.frequency] = Carrying(1101, {10});
    ScanSettings s = Settings();
    s.readNit = true;
    s.psiTimeoutMs = 3000;
    CScanRun run(card, s, {kA});
    const std::uint64_t end = RunFor(run, 20000);
    ASSERT_TRUE(run.Done());
    EXPECT_GE(end, 360u + 100u + 3000u);
    EXPECT_TRUE(run.Outcomes()[0].psiComplete);
    ASSERT_EQ(run.Found().size(), 1u);
    EXPECT_EQ(run.Found()[0].NetworkId, 0);
    EXPECT_EQ(card.calls.back(), "stop nit");
}

TEST(ScanRun, AServiceSeenOnTwoTranspondersCountsOnce) {
    FakeScanCard card;
    card.transponders[kA.frequency] = Carrying(1101, {10, 11});
    card.transponders[kB.frequency] = Carrying(1101, {10, 11});
    CScanRun run(card, Settings(), {kA, kB});
    RunFor(run, 20000);
    ASSERT_TRUE(run.Done());
    EXPECT_EQ(run.Found().size(), 2u);
    EXPECT_EQ(run.Outcomes()[1].programs, 0);
    EXPECT_EQ(run.Found()[0].Frequency, 11836000);
}

TEST(ScanRun, NoTranspondersIsDoneAtOnce) {
    FakeScanCard card;
    CScanRun run(card, Settings(), {});
    run.Step(0);
    EXPECT_TRUE(run.Done());
    EXPECT_TRUE(card.calls.empty());
}

}  // namespace
