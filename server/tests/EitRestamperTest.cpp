// The guide of a looping stream follows the live clock: EIT start times move
// by the rounded distance from the stream's own time to now.
#include <gtest/gtest.h>

#include <ctime>
#include <set>

#include "CEitRestamper.h"
#include "CSectionFilterBank.h"
#include "CTsFile.h"
#include "DatagramRecorder.h"
#include "TsTestUtil.h"
#include "mpegts/BitReader.h"
#include "mpegts/Crc32.h"
#include "mpegts/DvbTime.h"

using namespace nvdvbsrv;
using testutil::Bytes;

namespace {

constexpr std::time_t kNoon = 750516300;  // 1993-10-13 12:45:00 UTC, MJD 0xC079
const char* kScheduleCapture = "petrj-mpegts_de-dvbt2-626mhz-eit-schedule.ts";

void Put40(Bytes& b, uint64_t v) {
    for (int k = 4; k >= 0; --k) b.push_back(uint8_t(v >> (8 * k)));
}

// One event: id, start (40 bits), duration 01:00:00, running, a short event descriptor.
void AddEvent(Bytes& body, uint16_t id, uint64_t start) {
    body.insert(body.end(), {uint8_t(id >> 8), uint8_t(id)});
    Put40(body, start);
    const Bytes descriptor = {0x4D, 8, 'd', 'e', 'u', 3, 'A', 'b', 'c', 0};
    body.insert(body.end(), {0x01, 0x00, 0x00, 0x80, uint8_t(descriptor.size())});
    body.insert(body.end(), descriptor.begin(), descriptor.end());
}

// Schedule section of service 0x1234: an event at 12:45, one with an
// undefined start, one at 23:55.
Bytes Schedule() {
    Bytes body = {0x04, 0x4D, 0x00, 0x01, 0x00, 0x50};
    AddEvent(body, 1, mpegts::UnixToUtc(kNoon));
    AddEvent(body, 2, mpegts::kUndefinedUtc);
    AddEvent(body, 3, 0xC079235500ull);
    return testutil::MakeSection(0x50, 0x1234, 1, 0, 0, body);
}

// The start times of the events of an EIT section, read by their lengths
// (nothing for an undefined one).
std::vector<std::optional<int64_t>> Starts(const Bytes& s) {
    std::vector<std::optional<int64_t>> out;
    mpegts::BitReader r(std::span<const uint8_t>(s).subspan(14, s.size() - 18));
    while (r.BytesLeft() >= 12) {
        r.U16();
        const uint64_t mjd = r.U16();
        out.push_back(mpegts::UtcToUnix(mjd << 24 | r.U24()));
        r.Skip(28);
        r.SkipBytes(r.Bits(12));
    }
    EXPECT_TRUE(r.Ok() && r.BytesLeft() == 0);
    return out;
}

SectionFilterSetting Setting(uint16_t pid, uint8_t table, uint8_t mask) {
    SectionFilterSetting s;
    s.pid = pid;
    s.length = 1;
    s.filter[0] = table;
    s.mask[0] = mask;
    return s;
}

}  // namespace

TEST(EitRestamperTest, OffsetIsRoundedToWholeFiveMinutes) {
    EXPECT_EQ(CEitRestamper::Offset(kNoon, kNoon), 0);
    EXPECT_EQ(CEitRestamper::Offset(kNoon, kNoon + 149), 0);
    EXPECT_EQ(CEitRestamper::Offset(kNoon, kNoon + 150), 300);
    EXPECT_EQ(CEitRestamper::Offset(kNoon, kNoon + 3 * 86400 + 1234), 3 * 86400 + 1200);
    EXPECT_EQ(CEitRestamper::Offset(kNoon, kNoon - 149), 0);
    EXPECT_EQ(CEitRestamper::Offset(kNoon, kNoon - 151), -300);
}

TEST(EitRestamperTest, ShiftsEveryDefinedStartTimeAndKeepsTheCrcValid) {
    const Bytes before = Schedule();
    Bytes s = before;
    ASSERT_TRUE(CEitRestamper::Shift(s, 3 * 86400 + 600));
    EXPECT_TRUE(mpegts::SectionCrcValid(s));
    const auto starts = Starts(s);
    ASSERT_EQ(starts.size(), 3u);
    EXPECT_EQ(starts[0], kNoon + 3 * 86400 + 600);
    EXPECT_FALSE(starts[1]);
    // 23:55 plus ten minutes is 00:05 of the next day: the MJD moves on.
    EXPECT_EQ(starts[2], mpegts::UtcToUnix(0xC07D000500ull));
    // Nothing but the start times and the CRC changed.
    ASSERT_EQ(s.size(), before.size());
    const std::set<size_t> startBytes = {16, 17, 18, 19, 20, 60, 61, 62, 63, 64};
    for (size_t i = 0; i + 4 < s.size(); ++i) {
        if (!startBytes.count(i)) {
            EXPECT_EQ(s[i], before[i]) << "byte " << i;
        }
    }
    ASSERT_TRUE(CEitRestamper::Shift(s, -(3 * 86400 + 600)));
    EXPECT_EQ(s, before);
}

TEST(EitRestamperTest, LeavesAnythingButAWellFormedEitAsItIs) {
    auto withCrc = [](Bytes s) {
        s.resize(s.size() - 4);
        const uint32_t crc = mpegts::Crc32Mpeg2(s);
        for (int k = 3; k >= 0; --k) s.push_back(uint8_t(crc >> (8 * k)));
        return s;
    };
    const Bytes good = Schedule();
    Bytes loopTooLong = good;
    loopTooLong[25] = 0x40;  // the first event's descriptors_loop_length runs past the section
    Bytes badTime = good;
    badTime[18] = 0x25;  // 25 o'clock
    Bytes cutEvent = good;
    cutEvent.erase(cutEvent.end() - 4 - 15, cutEvent.end() - 4);  // 7 bytes of the last event
    cutEvent[2] = uint8_t(cutEvent.size() - 3);
    Bytes otherTable = good;
    otherTable[0] = 0x42;
    Bytes badCrc = good;
    badCrc.back() ^= 1;
    Bytes truncated(good.begin(), good.end() - 10);
    const struct {
        const char* name;
        Bytes section;
    } cases[] = {
        {"descriptor loop past the end", withCrc(loopTooLong)},
        {"start time not a time", withCrc(badTime)},
        {"event header cut short", withCrc(cutEvent)},
        {"not an EIT", withCrc(otherTable)},
        {"wrong CRC", badCrc},
        {"shorter than announced", truncated},
        {"header only", {0x50, 0xF0, 0x00}},
    };
    for (const auto& c : cases) {
        Bytes s = c.section;
        EXPECT_FALSE(CEitRestamper::Shift(s, 3600)) << c.name;
        EXPECT_EQ(s, c.section) << c.name;
    }
}

TEST(EitRestamperTest, TheBankMovesTheGuideOnlyWithTheLiveClockAndAKnownStreamTime) {
    testutil::DatagramRecorder rec;
    CSectionFilterBank bank(rec);
    ASSERT_TRUE(bank.Add(1, 1, Setting(0x12, 0x50, 0xF0)));
    ASSERT_TRUE(bank.Add(1, 2, Setting(0x13, 0x50, 0xF0)));
    const Bytes eit = Schedule();
    uint8_t cc = 0, otherCc = 0;
    auto feed = [&](uint16_t pid) {
        for (auto& p : testutil::Packetize(pid, {eit}, pid == 0x12 ? cc : otherCc))
            bank.FeedPacket(p);
    };
    bank.SetLiveClock(true);
    feed(0x12);  // the stream's time is not known yet
    const std::time_t streamTime = std::time(nullptr) - 2 * 86400;
    bank.SetStreamTime(streamTime);
    const auto earliest = CEitRestamper::Offset(streamTime, std::time(nullptr));
    feed(0x12);
    feed(0x13);  // not the EIT's PID
    const auto latest = CEitRestamper::Offset(streamTime, std::time(nullptr));
    bank.SetLiveClock(false);
    feed(0x12);

    ASSERT_EQ(rec.got.size(), 4u);
    EXPECT_EQ(rec.got[0].second, eit);
    const auto& moved = rec.got[1].second;
    EXPECT_TRUE(mpegts::SectionCrcValid(moved));
    const auto start = Starts(moved)[0];
    ASSERT_TRUE(start);
    EXPECT_GE(*start, kNoon + earliest);
    EXPECT_LE(*start, kNoon + latest);
    EXPECT_EQ(rec.got[2], std::make_pair(uint16_t(2), eit));
    EXPECT_EQ(rec.got[3].second, eit);
}

TEST(EitRestamperTest, ARealScheduleIsMovedWholeWithTheLiveClockAndUnchangedWithout) {
    const Bytes ts = testutil::ReadFile(testutil::TestDataDir() + "/" + kScheduleCapture);
    if (ts.empty()) GTEST_SKIP() << "capture not found: " << kScheduleCapture;
    const CTsFile file = CTsFile::FromBytes(ts);
    // The stream's time is that of its first time table.
    const auto times = testutil::ExtractSections(ts, 0x14);
    ASSERT_FALSE(times.empty());
    mpegts::BitReader r(std::span<const uint8_t>(times[0]).subspan(3, 5));
    const uint64_t mjd = r.U16();
    ASSERT_EQ(file.StreamTime(), mpegts::UtcToUnix(mjd << 24 | r.U24()));

    std::vector<Bytes> expected;
    for (auto& s : testutil::ExtractSections(ts, 0x12)) {
        if ((s[0] & 0xF0) == 0x50) expected.push_back(s);
    }
    ASSERT_GT(expected.size(), 100u);
    for (const bool live : {false, true}) {
        SCOPED_TRACE(live ? "live clock" : "recorded clock");
        testutil::DatagramRecorder rec;
        CSectionFilterBank bank(rec);
        bank.SetLiveClock(live);
        bank.SetStreamTime(file.StreamTime());
        ASSERT_TRUE(bank.Add(1, 1, Setting(0x12, 0x50, 0xF0)));
        const auto earliest = CEitRestamper::Offset(*file.StreamTime(), std::time(nullptr));
        for (size_t i = 0; i < file.PacketCount(); ++i) bank.FeedPacket(file.Packet(i));
        const auto latest = CEitRestamper::Offset(*file.StreamTime(), std::time(nullptr));
        ASSERT_EQ(rec.got.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i) {
            const Bytes& got = rec.got[i].second;
            if (!live) {
                ASSERT_EQ(got, expected[i]) << "section " << i;
                continue;
            }
            // Every event moved by the same whole five minutes, nothing else changed.
            ASSERT_TRUE(mpegts::SectionCrcValid(got)) << "section " << i;
            const auto was = Starts(expected[i]), is = Starts(got);
            ASSERT_EQ(is.size(), was.size());
            for (size_t k = 0; k < is.size(); ++k) {
                ASSERT_EQ(bool(is[k]), bool(was[k]));
                if (!is[k]) continue;
                const int64_t shift = *is[k] - *was[k];
                EXPECT_TRUE(shift == earliest || shift == latest) << shift;
                EXPECT_EQ(shift % 300, 0);
            }
        }
    }
}
