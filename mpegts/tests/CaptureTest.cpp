// The floor against real broadcasts (test-data folder, see its PROVENANCE.md):
// sections, descriptor loops, times and PES headers that nobody here wrote.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "Streams.h"
#include "mpegts/BitReader.h"
#include "mpegts/Crc32.h"
#include "mpegts/DescriptorLoop.h"
#include "mpegts/DvbTime.h"
#include "mpegts/Hamming.h"
#include "mpegts/PesHeader.h"
#include "mpegts/SectionHeader.h"

using namespace mpegts;
using test::Bytes;

namespace {

constexpr const char* kRai = "tsduck-test_108_rai-dvbt-full-mux.ts";
constexpr const char* kMediaset = "tsduck-test_018_mediaset-psi-si.ts";
constexpr const char* kGermany = "petrj-mpegts_de-dvbt2-626mhz-eit-schedule.ts";
constexpr const char* kArte = "tsduck-test_012_arte-teletext.ts";

#define SKIP_WITHOUT(ts, name) \
    if ((ts).empty()) GTEST_SKIP() << "capture not found: " << test::TestDataDir() << "/" << (name)

// Programme number -> PMT PID of the PAT.
std::map<std::uint16_t, std::uint16_t> Programs(const Bytes& pat, std::uint16_t* tsid) {
    const auto h = SectionHeader::Parse(pat);
    if (tsid && h && h->longForm) *tsid = h->longForm->tableIdExtension;
    BitReader r(std::span<const std::uint8_t>(pat).first(pat.size() - 4));
    r.SkipBytes(SectionHeader::kLongSize);
    std::map<std::uint16_t, std::uint16_t> out;
    while (r.BytesLeft() >= 4) {
        const std::uint16_t number = r.U16();
        r.Skip(3);
        const auto pid = static_cast<std::uint16_t>(r.Bits(13));
        if (number != 0) out[number] = pid;
    }
    EXPECT_TRUE(r.Ok());
    return out;
}

}  // namespace

TEST(CaptureTest, EverySectionWithASyntaxHeaderCarriesAValidCrc) {
    for (const char* name : {kRai, kMediaset, kGermany}) {
        const Bytes ts = test::ReadCapture(name);
        SKIP_WITHOUT(ts, name);
        std::set<std::uint16_t> pids = {0x00, 0x10, 0x11, 0x12, 0x14};
        for (const auto& [number, pmt] : Programs(test::SectionsOf(ts, 0).at(0), nullptr))
            pids.insert(pmt);
        std::size_t checked = 0;
        for (const std::uint16_t pid : pids) {
            for (const Bytes& s : test::SectionsOf(ts, pid)) {
                const auto h = SectionHeader::Parse(s);
                ASSERT_TRUE(h);
                ASSERT_EQ(h->TotalSize(), s.size());
                if (!h->syntaxIndicator && h->tableId != 0x73) continue;  // TDT: no CRC
                EXPECT_TRUE(SectionCrcValid(s))
                    << name << " PID " << pid << " table " << int(h->tableId);
                ++checked;
            }
        }
        EXPECT_GT(checked, 20u) << name;
    }
}

TEST(CaptureTest, PatAndPmtDescriptorsOfTheRaiMux) {
    const Bytes ts = test::ReadCapture(kRai);
    SKIP_WITHOUT(ts, kRai);
    std::uint16_t tsid = 0;
    const auto programs = Programs(test::SectionsOf(ts, 0).at(0), &tsid);
    EXPECT_EQ(tsid, 18432);
    EXPECT_EQ(programs.size(), 8u);

    // Teletext descriptors (0x56) in the elementary stream loops of the PMTs.
    std::set<std::uint16_t> teletext;
    for (const auto& [number, pmtPid] : programs) {
        for (const Bytes& pmt : test::SectionsOf(ts, pmtPid)) {
            BitReader r(std::span<const std::uint8_t>(pmt).first(pmt.size() - 4));
            r.SkipBytes(SectionHeader::kLongSize + 2);
            r.Skip(4);
            r.Bytes(r.Bits(12));  // programme descriptors
            while (r.BytesLeft() >= 5 && r.Ok()) {
                r.SkipBytes(1);
                r.Skip(3);
                const auto pid = static_cast<std::uint16_t>(r.Bits(13));
                r.Skip(4);
                const DescriptorLoop loop(r.Bytes(r.Bits(12)));
                EXPECT_FALSE(loop.Overrun());
                if (loop.Find(0x56)) teletext.insert(pid);
            }
            EXPECT_TRUE(r.Ok());
        }
    }
    EXPECT_EQ(teletext, (std::set<std::uint16_t>{0x240, 0x241, 0x242, 0x257}));
}

TEST(CaptureTest, TimeTablesAndEventTimesDecode) {
    struct Case {
        const char* name;
        Date day;
    } cases[] = {{kMediaset, {2018, 2, 13}}, {kGermany, {2024, 3, 11}}};
    for (const auto& c : cases) {
        const Bytes ts = test::ReadCapture(c.name);
        SKIP_WITHOUT(ts, c.name);
        std::size_t times = 0;
        for (const Bytes& s : test::SectionsOf(ts, 0x14)) {
            BitReader r(s);
            r.SkipBytes(SectionHeader::kShortSize);
            const std::uint64_t utc = std::uint64_t(r.U16()) << 24 | r.U24();
            ASSERT_TRUE(r.Ok());
            ASSERT_TRUE(UtcToUnix(utc)) << c.name;
            EXPECT_EQ(DateFromMjd(std::uint32_t(utc >> 24)), c.day) << c.name;
            ++times;
        }
        EXPECT_GT(times, 0u) << c.name;
    }
    // Every event of the German schedule has a valid start and duration.
    const Bytes ts = test::ReadCapture(kGermany);
    std::size_t events = 0;
    for (const Bytes& s : test::SectionsOf(ts, 0x12)) {
        BitReader r(std::span<const std::uint8_t>(s).first(s.size() - 4));
        r.SkipBytes(SectionHeader::kLongSize + 6);
        while (r.BytesLeft() >= 12 && r.Ok()) {
            r.SkipBytes(2);  // event_id
            const std::uint64_t start = std::uint64_t(r.U16()) << 24 | r.U24();
            EXPECT_TRUE(UtcToUnix(start) || start == kUndefinedUtc);
            EXPECT_TRUE(DurationFromBcd(r.U24()));
            r.Skip(4);
            EXPECT_FALSE(DescriptorLoop(r.Bytes(r.Bits(12))).Overrun());
            ++events;
        }
        EXPECT_TRUE(r.Ok());
    }
    EXPECT_GT(events, 5000u);
}

TEST(CaptureTest, TeletextPesHeadersAndTheirHammingProtection) {
    const Bytes ts = test::ReadCapture(kArte);
    SKIP_WITHOUT(ts, kArte);
    const auto all = test::PesOf(ts, 0x42C);
    ASSERT_GT(all.size(), 900u);
    std::size_t triplets = 0;
    std::uint64_t lastPts = 0;
    for (std::size_t i = 0; i + 1 < all.size(); ++i) {  // the last one may be cut off
        const auto h = PesHeader::Parse(all[i]);
        ASSERT_TRUE(h) << i;
        EXPECT_EQ(h->streamId, 0xBD);
        ASSERT_TRUE(h->pts);
        EXPECT_GT(*h->pts, lastPts);
        lastPts = *h->pts;
        EXPECT_EQ(h->payloadOffset, 9u + 0x24);  // header stuffed to 45 bytes as EN 300 472 asks
        EXPECT_EQ(std::size_t(6) + h->packetLength, all[i].size());
        ASSERT_FALSE(h->payload.empty());
        EXPECT_GE(h->payload[0], 0x10);  // data_identifier: EBU data
        EXPECT_LE(h->payload[0], 0x1F);
        // Rows 26 and 28 carry thirteen Hamming 24/18 triplets after their designation.
        for (std::size_t at = 1; at + 46 <= h->payload.size(); at += 46) {
            const auto unit = h->payload.subspan(at, 46);
            if (unit[0] != 0x02 && unit[0] != 0x03) continue;
            const auto a = Hamming84Decode(ReverseBits(unit[4]));
            const auto b = Hamming84Decode(ReverseBits(unit[5]));
            ASSERT_TRUE(a && b);
            const int row = *a >> 3 | *b << 1;
            if (row != 26 && row != 28) continue;
            for (std::size_t t = 0; t < 13; ++t) {
                const auto byte = [&](std::size_t k) {
                    return std::uint32_t(ReverseBits(unit[7 + 3 * t + k]));
                };
                EXPECT_TRUE(Hamming2418Decode(byte(0) | byte(1) << 8 | byte(2) << 16));
                ++triplets;
            }
        }
    }
    EXPECT_GT(triplets, 5000u);
}
