#include <gtest/gtest.h>

#include <ctime>
#include <mutex>
#include <set>

#include "CSectionFilterBank.h"
#include "CTimeStamper.h"
#include "DatagramRecorder.h"
#include "TsTestUtil.h"
#include "mpegts/Crc32.h"

using namespace nvdvbsrv;
using testutil::Bytes;

namespace {

using Recorder = testutil::DatagramRecorder;

Bytes Body(size_t n, uint8_t seed) {
    Bytes b(n);
    for (size_t i = 0; i < n; ++i) b[i] = uint8_t(seed + i * 7);
    return b;
}

SectionFilterSetting Setting(uint16_t pid, Bytes filter, Bytes mask) {
    SectionFilterSetting s;
    s.pid = pid;
    s.length = uint8_t(filter.size());
    std::copy(filter.begin(), filter.end(), s.filter.begin());
    std::copy(mask.begin(), mask.end(), s.mask.begin());
    return s;
}

}  // namespace

TEST(SectionFilterBankTest, MatchesFilterAndMaskButNeverTheLengthBytes) {
    const Bytes section = testutil::MakeSection(0x4E, 0x1234, 3, 0, 1, Body(10, 1));
    struct Case {
        const char* name;
        Bytes filter, mask;
        bool match;
    } cases[] = {
        {"table id", {0x4E}, {0xFF}, true},
        {"other table id", {0x4F}, {0xFF}, false},
        {"id and extension", {0x4E, 0, 0, 0x12, 0x34}, {0xFF, 0, 0, 0xFF, 0xFF}, true},
        {"wrong extension", {0x4E, 0, 0, 0x12, 0x35}, {0xFF, 0, 0, 0xFF, 0xFF}, false},
        {"length bytes ignored", {0x4E, 0x00, 0x00}, {0xFF, 0xFF, 0xFF}, true},
        {"masked bits only", {0x40}, {0xF0}, true},
        {"zero mask matches all", {0x00}, {0x00}, true},
        {"section number", {0x4E, 0, 0, 0, 0, 0, 1}, {0xFF, 0, 0, 0, 0, 0, 0xFF}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CSectionFilterBank::Matches(Setting(0x12, c.filter, c.mask), section), c.match)
            << c.name;
    }
}

TEST(SectionFilterBankTest, DeliversToEveryMatchingHandleAndFreesByClient) {
    Recorder rec;
    CSectionFilterBank bank(rec);
    ASSERT_TRUE(bank.Add(7, 1, Setting(0x12, {0x4E}, {0xFF})));
    ASSERT_TRUE(bank.Add(7, 2, Setting(0x12, {0x50}, {0xF0})));
    ASSERT_TRUE(bank.Add(8, 3, Setting(0x11, {0x42}, {0xFF})));
    EXPECT_FALSE(bank.Add(8, 3, Setting(0x11, {0x42}, {0xFF})));  // handle in use
    SectionFilterSetting tooLong = Setting(0x11, {0x42}, {0xFF});
    tooLong.length = 17;
    EXPECT_FALSE(bank.Add(8, 4, tooLong));
    EXPECT_FALSE(bank.Remove(8, 1));  // not client 8's filter

    std::vector<Bytes> eit = {testutil::MakeSection(0x4E, 1, 0, 0, 0, Body(10, 1)),
                              testutil::MakeSection(0x51, 1, 0, 0, 0, Body(10, 2))};
    std::vector<Bytes> sdt = {testutil::MakeSection(0x42, 1, 0, 0, 0, Body(10, 3))};
    uint8_t cc1 = 0, cc2 = 0;
    for (auto& p : testutil::Packetize(0x12, eit, cc1)) bank.FeedPacket(p);
    for (auto& p : testutil::Packetize(0x11, sdt, cc2)) bank.FeedPacket(p);
    ASSERT_EQ(rec.got.size(), 3u);
    EXPECT_EQ(rec.got[0], std::make_pair(uint16_t(1), eit[0]));
    EXPECT_EQ(rec.got[1], std::make_pair(uint16_t(2), eit[1]));
    EXPECT_EQ(rec.got[2], std::make_pair(uint16_t(3), sdt[0]));

    bank.RemoveClient(7);
    EXPECT_EQ(bank.Count(), 1u);
    rec.got.clear();
    for (auto& p : testutil::Packetize(0x12, eit, cc1)) bank.FeedPacket(p);
    EXPECT_TRUE(rec.got.empty());
}

TEST(SectionFilterBankTest, RealCaptureSectionsMatchAnIndependentExtraction) {
    const std::string dir = testutil::TestDataDir();
    const Bytes ts = testutil::ReadFile(dir + "/tsduck-test_108_rai-dvbt-full-mux.ts");
    if (ts.empty()) GTEST_SKIP() << "capture folder not found: " << dir;
    for (uint16_t pid : {0x00, 0x11, 0x12, 0x10}) {
        const auto expected = testutil::ExtractSections(ts, pid);
        ASSERT_FALSE(expected.empty()) << pid;
        Recorder rec;
        CSectionFilterBank bank(rec);
        ASSERT_TRUE(bank.Add(1, 5, Setting(pid, {0x00}, {0x00})));
        for (size_t off = 0; off + 188 <= ts.size(); off += 188) {
            bank.FeedPacket(std::span<const uint8_t>(ts).subspan(off, 188));
        }
        ASSERT_EQ(rec.got.size(), expected.size()) << "PID " << pid;
        for (size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(rec.got[i].second, expected[i]) << "PID " << pid << " section " << i;
            const auto& s = rec.got[i].second;
            if (s[1] & 0x80) {
                EXPECT_TRUE(mpegts::SectionCrcValid(s));
            }
        }
    }
}

TEST(TimeStamperTest, TimeTablesCarryTheCurrentTime) {
    // 1993-10-13 12:45:00 UTC is MJD 0xC079.
    const std::time_t when = 750516300;
    Bytes tdt = {0x70, 0x70, 0x05, 0xB0, 0x00, 0x01, 0x02, 0x03};
    ASSERT_TRUE(CTimeStamper::Stamp(tdt, when));
    EXPECT_EQ(tdt, (Bytes{0x70, 0x70, 0x05, 0xC0, 0x79, 0x12, 0x45, 0x00}));

    // TOT with a local time offset descriptor: the CRC is valid again.
    Bytes tot = {0x73, 0x70, 0x00, 0,    0,    0,    0,    0, 0xF0, 0x0F, 0x58, 0x0D, 'D',
                 'E',  'U',  0x02, 0x01, 0x00, 0xC0, 0x79, 0, 0,    0,    0x02, 0x00};
    tot.insert(tot.end(), {0, 0, 0, 0});
    tot[2] = uint8_t(tot.size() - 3);
    ASSERT_TRUE(CTimeStamper::Stamp(tot, when));
    EXPECT_EQ(tot[3], 0xC0);
    EXPECT_TRUE(mpegts::SectionCrcValid(tot));

    Bytes wrongLength = {0x70, 0x70, 0x09, 0, 0, 0, 0, 0};
    EXPECT_FALSE(CTimeStamper::Stamp(wrongLength, when));
    Bytes otherTable = {0x71, 0x70, 0x05, 0, 0, 0, 0, 0};
    EXPECT_FALSE(CTimeStamper::Stamp(otherTable, when));
    EXPECT_EQ(otherTable[3], 0);
}

TEST(SectionFilterBankTest, LiveClockStampsOnlyTheTimePid) {
    Recorder rec;
    CSectionFilterBank bank(rec);
    bank.SetLiveClock(true);
    ASSERT_TRUE(bank.Add(1, 1, Setting(0x14, {0x70}, {0xFF})));
    ASSERT_TRUE(bank.Add(1, 2, Setting(0x20, {0x70}, {0xFF})));
    const Bytes old = {0x70, 0x70, 0x05, 0xC0, 0x79, 0x12, 0x45, 0x00};
    uint8_t cc1 = 0, cc2 = 0;
    for (auto& p : testutil::Packetize(0x14, {old}, cc1)) bank.FeedPacket(p);
    for (auto& p : testutil::Packetize(0x20, {old}, cc2)) bank.FeedPacket(p);
    ASSERT_EQ(rec.got.size(), 2u);
    const auto& live = rec.got[0].second;
    const int mjd = live[3] << 8 | live[4];
    EXPECT_EQ(mjd, int(std::time(nullptr) / 86400 + 40587));
    EXPECT_EQ(rec.got[1].second, old);
}
