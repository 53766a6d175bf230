// Runs a real nvdvbsrv per test and talks to it over the link protocol.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <future>
#include <set>
#include <thread>

#include "ServerHarness.h"
#include "TsTestUtil.h"
#include "kestrel/protocol/Names.h"
#include "kestrel/protocol/SharedMemory.h"

using namespace harness;
using Block = TestClient::Block;

namespace {

const char* kRai = "tsduck-test_108_rai-dvbt-full-mux.ts";     // TSID 18432
const char* kMediaset = "tsduck-test_018_mediaset-psi-si.ts";  // TSID 6000
const char* kArte = "tsduck-test_012_arte-teletext.ts";
const char* kSchedule = "petrj-mpegts_de-dvbt2-626mhz-eit-schedule.ts";  // 22.7 s, EIT schedule

std::string Capture(const char* name) { return TestDataDir() + "/" + name; }

bool HaveCaptures() { return !testutil::ReadFile(Capture(kMediaset)).empty(); }

// Position A: a low-band and a high-band transponder; position B one more.
std::string DishConfig(uint16_t port, const char* speed = "1") {
    return "[card]\nbase_port = " + std::to_string(port) + "\nspeed = " + speed +
           "\n[position A]\n"
           "transponder = 11494000 H 22000000 " +
           Capture(kMediaset) +
           "\n"
           "transponder = 12188000 V 27500000 " +
           Capture(kRai) +
           "\n"
           "[position B]\n"
           "transponder = 11494000 H 22000000 " +
           Capture(kArte) + "\n";
}

void Channel(Block& b, uint32_t freq, uint32_t lof, uint32_t sr, uint32_t volts, uint32_t tone) {
    const uint32_t rec[8] = {freq, lof, sr, 0, 2, volts, tone, 0};
    for (size_t i = 0; i < 8; ++i) Put32(b, 12 + 4 * i, rec[i]);
}

// Sends the committed-switch command for a position the way the program does.
void SelectPosition(TestClient& c, int position) {
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(c.Request(43,
                            [&](Block& b) {
                                Put32(b, 8, 4);
                                Put32(b, 12, 255);
                                Put32(b, 16, 0);
                                b[20] = i == 0 ? 0xE0 : 0xE1;
                                b[21] = 0x10;
                                b[22] = 0x38;
                                b[23] = uint8_t(0xF0 | position << 2);
                            }),
                  1u);
    }
}

// Tunes with zSetChannel; returns the status (0 locked).
uint16_t Tune(TestClient& c, uint32_t freq, uint32_t lof, uint32_t sr, uint32_t volts,
              uint32_t tone) {
    EXPECT_EQ(c.Request(4906, [&](Block& b) { Channel(b, freq, lof, sr, volts, tone); }), 1u);
    return c.U16(8);
}

// Opens a filter; returns the handle (0xFFFF when refused).
uint16_t Filter(TestClient& c, uint16_t pid, std::vector<uint8_t> filter, std::vector<uint8_t> mask,
                uint32_t type = 4) {
    uint32_t r = c.Request(60, [&](Block& b) {
        Put32(b, 8, pid);
        std::copy(filter.begin(), filter.end(), b.begin() + 12);
        std::copy(mask.begin(), mask.end(), b.begin() + 28);
        Put32(b, 44, uint32_t(filter.size()));
        Put32(b, 48, type);
    });
    return r == 1 ? c.U16(8) : 0xFFFF;
}

// The transport_stream_id of the PAT arriving at a handle's port (-1: none).
int TsidOnAir(uint16_t port) {
    UdpReceiver rx(port);
    auto d = rx.Receive(3000);
    if (!d || d->size() < 8 || (*d)[0] != 0x00) return -1;
    return (*d)[3] << 8 | (*d)[4];
}

class ServerIntegrationTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!HaveCaptures()) GTEST_SKIP() << "captures not found in " << TestDataDir();
        port_ = UniquePort();
        instance_ = UniqueInstance(::testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    std::unique_ptr<ServerProcess> Start(const std::string& config,
                                         std::vector<std::string> args = {}) {
        auto s = std::make_unique<ServerProcess>(instance_, config, std::move(args));
        EXPECT_TRUE(s->Running());
        return s;
    }
    uint16_t port_ = 0;
    std::string instance_;
};

}  // namespace

TEST_F(ServerIntegrationTest, LocksOnlyWhereTheInstallationReceives) {
    auto server = Start(DishConfig(port_));
    TestClient c(server->Suffix());
    ASSERT_TRUE(c.Connected());
    ASSERT_EQ(c.Request(20), 1u);

    // Universal LNB, low band: 9750 MHz oscillator, no tone, 18 V horizontal.
    SelectPosition(c, 0);
    EXPECT_EQ(Tune(c, 11494000, 9750000, 22000000, 18, 0), 0u);
    const uint16_t pat = Filter(c, 0, {0x00}, {0xFF});
    ASSERT_NE(pat, 0xFFFF);
    EXPECT_EQ(TsidOnAir(uint16_t(port_ + pat)), 6000);
    ASSERT_EQ(c.Request(4904, [](Block& b) { Put32(b, 12, 500); }), 1u);
    EXPECT_EQ(c.U16(8), 0u);
    EXPECT_GT(c.U16(16 + 14), 0u);

    // High band: 10600 MHz with the tone, 13 V vertical.
    EXPECT_EQ(Tune(c, 12188000, 10600000, 27500000, 13, 1), 0u);
    EXPECT_EQ(TsidOnAir(uint16_t(port_ + pat)), 18432);
    ASSERT_EQ(c.Request(4902), 1u);
    EXPECT_EQ(c.U32(12), 12188000u);
    EXPECT_NE(c.U32(24), 0u);  // vertical

    // Same frequency without the tone: the LNB stays in the low band.
    EXPECT_EQ(Tune(c, 12188000, 10600000, 27500000, 13, 0), 1u);
    ASSERT_EQ(c.Request(4904, [](Block& b) { Put32(b, 12, 500); }), 1u);
    EXPECT_EQ(c.U16(16 + 14), 0u);
    EXPECT_EQ(TsidOnAir(uint16_t(port_ + pat)), -1);

    // DiSEqC position B carries another stream on the same frequency.
    SelectPosition(c, 1);
    EXPECT_EQ(Tune(c, 11494000, 9750000, 22000000, 18, 0), 0u);
    UdpReceiver rx(uint16_t(port_ + pat));
    auto d = rx.Receive(3000);
    ASSERT_TRUE(d);
    EXPECT_NE(((*d)[3] << 8 | (*d)[4]), 6000);
    // Position C has no dish.
    SelectPosition(c, 2);
    EXPECT_EQ(Tune(c, 11494000, 9750000, 22000000, 18, 0), 1u);
}

TEST_F(ServerIntegrationTest, SectionsArriveWholeAndAsInTheCapture) {
    auto server = Start(DishConfig(port_, "4"));
    TestClient c(server->Suffix());
    ASSERT_TRUE(c.Connected());
    ASSERT_EQ(Tune(c, 12188000, 10600000, 27500000, 13, 1), 0u);
    // EIT present/following actual, and SDT actual with its extension (TSID).
    const uint16_t eit = Filter(c, 0x12, {0x4E}, {0xFF}, 5);
    const uint16_t sdt = Filter(c, 0x11, {0x42, 0, 0, 0x48, 0x00}, {0xFF, 0, 0, 0xFF, 0xFF});
    ASSERT_NE(eit, 0xFFFF);
    ASSERT_NE(sdt, 0xFFFF);
    UdpReceiver eitRx(uint16_t(port_ + eit)), sdtRx(uint16_t(port_ + sdt));
    // The capture lasts 1.34 s; at four times its rate two loops take 0.7 s.
    auto gotSdt = std::async(std::launch::async,
                             [&] { return sdtRx.Collect(std::chrono::milliseconds(900)); });
    auto gotEit = eitRx.Collect(std::chrono::milliseconds(900));
    auto sdtList = gotSdt.get();

    const auto ts = testutil::ReadFile(Capture(kRai));
    auto expect = [&](uint16_t pid, uint8_t table, int ext) {
        std::set<std::vector<uint8_t>> out;
        for (auto& s : testutil::ExtractSections(ts, pid)) {
            if (s[0] == table && (ext < 0 || (s[3] << 8 | s[4]) == ext)) out.insert(s);
        }
        return out;
    };
    const auto eitExpected = expect(0x12, 0x4E, -1);
    const auto sdtExpected = expect(0x11, 0x42, 0x4800);
    ASSERT_FALSE(eitExpected.empty());
    ASSERT_FALSE(sdtExpected.empty());
    for (const auto& s : gotEit) EXPECT_TRUE(eitExpected.count(s)) << "unexpected EIT section";
    for (const auto& s : sdtList) EXPECT_TRUE(sdtExpected.count(s)) << "unexpected SDT section";
    EXPECT_EQ(std::set<std::vector<uint8_t>>(gotEit.begin(), gotEit.end()), eitExpected);
    EXPECT_EQ(std::set<std::vector<uint8_t>>(sdtList.begin(), sdtList.end()), sdtExpected);
}

TEST_F(ServerIntegrationTest, PlaysAtTheStreamsOwnRate) {
    // One loop of the capture at its own rate takes 1.34 s and carries four
    // PATs a third of a second apart: they must not come faster than that.
    const auto ts = testutil::ReadFile(Capture(kRai));
    const size_t perLoop = testutil::ExtractSections(ts, 0).size();
    ASSERT_EQ(perLoop, 4u);
    auto server = Start(DishConfig(port_));
    TestClient c(server->Suffix());
    ASSERT_EQ(Tune(c, 12188000, 10600000, 27500000, 13, 1), 0u);
    const uint16_t pat = Filter(c, 0, {0x00}, {0xFF});
    UdpReceiver rx(uint16_t(port_ + pat));
    const auto got = rx.Collect(std::chrono::milliseconds(1340));
    // A loaded machine may hold the player up (it then does not catch up).
    EXPECT_GE(got.size(), perLoop / 2);
    EXPECT_LE(got.size(), perLoop + 1);
}

TEST_F(ServerIntegrationTest, ScheduleOfARecordingArrivesUnchangedWithoutTheLiveClock) {
    const auto ts = testutil::ReadFile(Capture(kSchedule));
    if (ts.empty()) GTEST_SKIP() << "capture not found: " << Capture(kSchedule);
    std::set<std::vector<uint8_t>> expected;
    for (auto& s : testutil::ExtractSections(ts, 0x12)) {
        if ((s[0] & 0xF0) == 0x50) expected.insert(s);
    }
    ASSERT_FALSE(expected.empty());
    // Four times the capture's rate: one loop in under 6 s.
    auto server = Start("[card]\nbase_port = " + std::to_string(port_) +
                        "\nspeed = 4\nlive_clock = no\n[position A]\n"
                        "transponder = 11494000 H 22000000 " +
                        Capture(kSchedule) + "\n");
    TestClient c(server->Suffix());
    ASSERT_TRUE(c.Connected());
    ASSERT_EQ(Tune(c, 11494000, 9750000, 22000000, 18, 0), 0u);
    const uint16_t eit = Filter(c, 0x12, {0x50}, {0xF0});
    ASSERT_NE(eit, 0xFFFF);
    UdpReceiver rx(uint16_t(port_ + eit));
    const auto got = rx.Collect(std::chrono::milliseconds(6500));
    ASSERT_FALSE(got.empty());
    for (const auto& s : got) EXPECT_TRUE(expected.count(s)) << "a changed schedule section";
    // A loaded machine may hold the player up, so a part of a loop is enough.
    const std::set<std::vector<uint8_t>> distinct(got.begin(), got.end());
    EXPECT_GE(distinct.size(), expected.size() / 2);
}

namespace {

// zGetSignal: the AFC, quality and strength of the record at 16.
struct Figures {
    int32_t afc;
    uint32_t quality;
    uint16_t strength;
};
Figures Signal(TestClient& c) {
    EXPECT_EQ(c.Request(4904, [](Block& b) { Put32(b, 12, 500); }), 1u);
    return {int32_t(c.U32(16)), c.U32(16 + 16), c.U16(16 + 14)};
}

}  // namespace

TEST_F(ServerIntegrationTest, SignalFiguresShowHowFarTheTuneIsOff) {
    auto server = Start(DishConfig(port_));
    TestClient c(server->Suffix());
    ASSERT_TRUE(c.Connected());
    ASSERT_EQ(Tune(c, 12188000, 10600000, 27500000, 13, 1), 0u);
    const Figures exact = Signal(c);
    EXPECT_EQ(exact.afc, 0);
    ASSERT_EQ(c.Request(4903), 1u);
    const uint16_t exactSnr = c.U16(12);
    // 2 MHz above and below still lock, worse, with the offset's sign.
    for (const int32_t off : {2000, -2000}) {
        ASSERT_EQ(Tune(c, uint32_t(12188000 + off), 10600000, 27500000, 13, 1), 0u) << off;
        const Figures f = Signal(c);
        EXPECT_EQ(f.afc, off);
        EXPECT_LT(f.quality, exact.quality) << off;
        EXPECT_LT(f.strength, exact.strength) << off;
        ASSERT_EQ(c.Request(4903), 1u);
        EXPECT_EQ(c.U16(8), 0x1F);  // still locked
        EXPECT_LT(c.U16(12), exactSnr) << off;
    }
}

TEST_F(ServerIntegrationTest, DecoderShowsTheVideoOfTheLockedStream) {
    auto server = Start(DishConfig(port_));
    TestClient c(server->Suffix());
    ASSERT_TRUE(c.Connected());
    auto setVideo = [&](uint32_t pid) {
        ASSERT_EQ(c.Request(50, [&](Block& b) { Put32(b, 8, pid); }), 1u);
    };
    // Width, height, format, frame rate, bit rate, skipped and repeated pictures.
    auto decoder = [&] {
        EXPECT_EQ(c.Request(54), 1u);
        return std::vector<uint16_t>{c.U16(8 + 38), c.U16(8 + 40), c.U16(8 + 42), c.U16(8 + 44),
                                     c.U16(8 + 46), c.U16(8 + 14), c.U16(8 + 16)};
    };
    const std::vector<uint16_t> none(7, 0);
    const std::vector<uint16_t> rai1 = {720, 576, 3, 3, 10000, 0, 0};

    setVideo(0x200);
    EXPECT_EQ(decoder(), none);  // nothing tuned yet
    SelectPosition(c, 0);
    ASSERT_EQ(Tune(c, 12188000, 10600000, 27500000, 13, 1), 0u);
    EXPECT_EQ(decoder(), rai1);
    setVideo(0x240);  // teletext
    EXPECT_EQ(decoder(), none);
    setVideo(0x200);
    EXPECT_EQ(decoder(), rai1);
    // Without the tone the lock is lost, and with it the picture.
    EXPECT_EQ(Tune(c, 12188000, 10600000, 27500000, 13, 0), 1u);
    EXPECT_EQ(decoder(), none);
    ASSERT_EQ(Tune(c, 12188000, 10600000, 27500000, 13, 1), 0u);
    EXPECT_EQ(decoder(), rai1);
    // Another transponder without that PID; switching the dish loses the lock.
    ASSERT_EQ(Tune(c, 11494000, 9750000, 22000000, 18, 0), 0u);
    EXPECT_EQ(decoder(), none);
    ASSERT_EQ(Tune(c, 12188000, 10600000, 27500000, 13, 1), 0u);
    SelectPosition(c, 1);
    EXPECT_EQ(decoder(), none);
}

TEST_F(ServerIntegrationTest, ClientsHaveTheirOwnBlocksAndLoseFiltersWhenTheyGo) {
    auto server = Start(DishConfig(port_, "4"), {"--keepalive-timeout-ms", "400"});
    TestClient a(server->Suffix()), b(server->Suffix());
    ASSERT_TRUE(a.Connected());
    ASSERT_TRUE(b.Connected());
    EXPECT_NE(a.Id(), b.Id());
    kestrel::protocol::SharedMemory probe;
    EXPECT_TRUE(
        probe.Open(kestrel::protocol::ParamMemoryName(b.Id(), server->Suffix()), 408, false));
    probe.Close();

    ASSERT_EQ(Tune(a, 12188000, 10600000, 27500000, 13, 1), 0u);
    const uint16_t fa = Filter(a, 0, {0x00}, {0xFF});
    const uint16_t fb = Filter(b, 0, {0x00}, {0xFF});
    ASSERT_NE(fa, fb);
    EXPECT_EQ(b.Request(64, [&](Block& blk) { Put32(blk, 8, fa); }), 2u);  // not b's

    // a keeps talking, b dies silently: b's filter goes at once.
    const uint16_t bid = b.Id();
    b.Vanish();
    auto rxA = std::make_unique<UdpReceiver>(uint16_t(port_ + fa));
    auto rxB = std::make_unique<UdpReceiver>(uint16_t(port_ + fb));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    a.KeepAlive();
    EXPECT_TRUE(rxA->Receive(1000));
    (void)rxB->Collect(std::chrono::milliseconds(50));  // what was under way
    EXPECT_FALSE(rxB->Receive(500));
    EXPECT_FALSE(probe.Open(kestrel::protocol::ParamMemoryName(bid, server->Suffix()), 408, false));

    // a stops its keep-alives: after the time-out its filter goes too.
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    (void)rxA->Collect(std::chrono::milliseconds(50));
    EXPECT_FALSE(rxA->Receive(500));
    rxA.reset();
    rxB.reset();  // b's freed handle may come back
    // Its registration stays: requests still work, and a client that talks
    // again is watched again. Its old filter's handle stays its own.
    EXPECT_EQ(a.Request(22), 1u);
    const uint16_t again = Filter(a, 0, {0x00}, {0xFF});
    ASSERT_NE(again, 0xFFFF);
    EXPECT_NE(again, fa);
    UdpReceiver rxAgain(uint16_t(port_ + again));
    EXPECT_TRUE(rxAgain.Receive(1000));
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    (void)rxAgain.Collect(std::chrono::milliseconds(50));
    EXPECT_FALSE(rxAgain.Receive(500));
}

TEST_F(ServerIntegrationTest, MalformedRequestsAreRefusedAndTheServerGoesOn) {
    auto server = Start(DishConfig(port_));
    TestClient c(server->Suffix());
    EXPECT_EQ(c.Request(60,
                        [](Block& b) {
                            Put32(b, 8, 0x11);
                            Put32(b, 44, 300);
                        }),
              10u);
    EXPECT_EQ(c.Request(21, [](Block& b) { Put32(b, 8, 0x7FFFFFFF); }), 10u);
    EXPECT_EQ(c.Request(43, [](Block& b) { Put32(b, 8, 1000); }), 10u);
    EXPECT_EQ(c.Request(12345), 11u);
    ASSERT_EQ(c.Request(25), 1u);
    EXPECT_EQ(c.U16(180), port_);
}

TEST_F(ServerIntegrationTest, InjectedKeysArriveWhileTheRemoteControlIsOn) {
    auto server = Start(DishConfig(port_));
    TestClient c(server->Suffix());
    UdpReceiver rx(uint16_t(port_ + 37));
    auto key = [&](const char* code) {
        const std::string cmd =
            ServerPath() + " key " + code + " --instance " + instance_ + " 2>/dev/null";
        int st = std::system(cmd.c_str());
        return WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    };
    EXPECT_EQ(key("46"), 1);  // receiver off: refused
    EXPECT_FALSE(rx.Receive(200));
    ASSERT_EQ(c.Request(70,
                        [](Block& b) {
                            Put32(b, 8, 1);
                            Put32(b, 12, 0xFFFF);
                        }),
              1u);
    EXPECT_EQ(key("46"), 0);
    auto d = rx.Receive(2000);
    ASSERT_TRUE(d);
    EXPECT_EQ(*d, (std::vector<uint8_t>{46, 0x80}));
    EXPECT_EQ(key("64"), 2);  // not a key code
}

TEST_F(ServerIntegrationTest, ModulesGoInAndOutFromTheCommandLine) {
    auto server = Start(DishConfig(port_));  // a ready module in slot 1
    TestClient c(server->Suffix());
    UdpReceiver rx(uint16_t(port_ + 34));
    auto cam = [&](const std::string& args) {
        const std::string cmd =
            ServerPath() + " cam " + args + " --instance " + instance_ + " 2>/dev/null";
        int st = std::system(cmd.c_str());
        return WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    };
    using Bytes = std::vector<uint8_t>;
    EXPECT_EQ(cam("insert 1"), 1);  // holds one already
    EXPECT_EQ(cam("remove 2"), 1);  // empty already
    EXPECT_EQ(cam("insert 3"), 2);
    EXPECT_EQ(cam("eject 1"), 2);
    EXPECT_FALSE(rx.Receive(200));
    const auto inserted = std::chrono::steady_clock::now();
    ASSERT_EQ(cam("insert 2"), 0);
    EXPECT_EQ(rx.Receive(1000), (std::optional<Bytes>(Bytes{1, 1, 2, 0})));
    EXPECT_EQ(rx.Receive(2000), (std::optional<Bytes>(Bytes{1, 2, 2, 0})));
    const auto took = std::chrono::steady_clock::now() - inserted;
    EXPECT_GE(took, std::chrono::milliseconds(450));
    EXPECT_LE(took, std::chrono::milliseconds(1500));
    ASSERT_EQ(cam("remove 1"), 0);
    EXPECT_EQ(rx.Receive(1000), (std::optional<Bytes>(Bytes{1, 0, 1, 0})));
    // The slot status request names both slots as they are now.
    ASSERT_EQ(c.Request(130, [](Block& b) { Put32(b, 8, 11); }), 1u);
    EXPECT_EQ(rx.Receive(1000), (std::optional<Bytes>(Bytes{1, 0, 1, 0})));
    EXPECT_EQ(rx.Receive(1000), (std::optional<Bytes>(Bytes{1, 2, 2, 0})));
    server->Terminate();
    EXPECT_EQ(cam("insert 1"), 3);  // no server
}

TEST_F(ServerIntegrationTest, SecondServerOfAnInstanceLeavesTheFirstServing) {
    auto first = Start(DishConfig(port_));
    TestClient c(first->Suffix());
    ASSERT_TRUE(c.Connected());
    ServerProcess second(instance_, DishConfig(port_));
    EXPECT_EQ(second.WaitExit(3000), 0);  // it ends by itself, without error
    EXPECT_EQ(c.Request(22), 1u);
    TestClient d(first->Suffix());
    EXPECT_TRUE(d.Connected());
}

TEST_F(ServerIntegrationTest, TerminatesCleanlyAndRemovesItsObjects) {
    auto server = Start(DishConfig(port_));
    {
        TestClient c(server->Suffix());
        ASSERT_EQ(Tune(c, 12188000, 10600000, 27500000, 13, 1), 0u);
        ASSERT_NE(Filter(c, 0x12, {0x4E}, {0xFF}), 0xFFFF);
        c.Vanish();
    }
    EXPECT_EQ(server->Terminate(), 0);
    kestrel::protocol::SharedMemory probe;
    EXPECT_FALSE(probe.Open(kestrel::protocol::StatusMemoryName(server->Suffix()), 4, false));
}

TEST_F(ServerIntegrationTest, TeletextPagesArriveAtTheVideotextPort) {
    auto server = Start(DishConfig(port_, "4"));
    TestClient c(server->Suffix());
    ASSERT_EQ(Tune(c, 12188000, 10600000, 27500000, 13, 1), 0u);
    ASSERT_EQ(c.Request(80, [](Block& b) { Put32(b, 8, 0x240); }), 1u);
    const uint16_t handle = c.U16(8);
    EXPECT_EQ(handle, 32);
    ASSERT_EQ(c.Request(82,
                        [](Block& b) {
                            Put32(b, 8, 0xFFFF);
                            Put32(b, 12, 0xFFFF);
                            Put32(b, 16, 0xFFFF);
                            Put32(b, 20, 1);
                        }),
              1u);
    UdpReceiver rx(uint16_t(port_ + handle));
    auto page = rx.Receive(3000);
    ASSERT_TRUE(page);
    ASSERT_EQ(page->size(), 1960u);
    std::string header;
    for (size_t i = 0; i < 40; ++i) header.push_back(char((*page)[i] & 0x7F));
    EXPECT_NE(header.find("TELEVIDEO"), std::string::npos) << header;
    ASSERT_EQ(c.Request(81, [&](Block& b) { Put32(b, 8, handle); }), 1u);
    (void)rx.Collect(std::chrono::milliseconds(100));
    EXPECT_FALSE(rx.Receive(800));
}

// A program change switches teletext off and on for the new PID without a
// new search-table request; the pages of the new PID arrive all the same.
TEST_F(ServerIntegrationTest, TeletextOfTheNextProgramArrivesAfterTTXOnAlone) {
    auto server = Start(DishConfig(port_, "4"));
    TestClient c(server->Suffix());
    ASSERT_EQ(Tune(c, 12188000, 10600000, 27500000, 13, 1), 0u);
    ASSERT_EQ(c.Request(80, [](Block& b) { Put32(b, 8, 0x240); }), 1u);
    const uint16_t handle = c.U16(8);
    ASSERT_EQ(c.Request(82,
                        [](Block& b) {
                            Put32(b, 8, 0xFFFF);
                            Put32(b, 12, 0xFFFF);
                            Put32(b, 16, 0xFFFF);
                            Put32(b, 20, 1);
                        }),
              1u);
    UdpReceiver rx(uint16_t(port_ + handle));
    ASSERT_TRUE(rx.Receive(3000));
    ASSERT_EQ(c.Request(81, [&](Block& b) { Put32(b, 8, handle); }), 1u);
    ASSERT_EQ(c.Request(80, [](Block& b) { Put32(b, 8, 0x241); }), 1u);
    (void)rx.Collect(std::chrono::milliseconds(50));  // what was on its way
    std::set<int> numbers;
    for (const auto& page : rx.Collect(std::chrono::milliseconds(2500))) {
        ASSERT_EQ(page.size(), 1960u);
        numbers.insert((page[8] - '0') * 100 + (page[9] - '0') * 10 + (page[10] - '0'));
    }
    ASSERT_FALSE(numbers.empty());
    // PID 0x241 carries pages 204, 411-436 and 777; 0x240 pages 204 and 640-666.
    for (int n : numbers) EXPECT_TRUE(n == 204 || n == 777 || (n >= 411 && n <= 436)) << n;
}

TEST_F(ServerIntegrationTest, EndsWhenIdleAfterItsLastClientLeft) {
    auto server = Start(DishConfig(port_), {"--exit-when-idle-ms", "300"});
    EXPECT_EQ(server->WaitExit(600), -1);  // nobody was there yet: it waits
    {
        TestClient c(server->Suffix());
        ASSERT_TRUE(c.Connected());
        EXPECT_EQ(server->WaitExit(500), -1);  // a client is there
    }
    EXPECT_EQ(server->WaitExit(3000), 0);
}
