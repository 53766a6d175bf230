#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <set>

#include "CTeletextDecoder.h"
#include "DatagramRecorder.h"
#include "TeletextLines.h"
#include "TsTestUtil.h"

using namespace nvdvbsrv;
using testutil::Bytes;

namespace {

using Recorder = testutil::DatagramRecorder;

std::string HeaderText(const Bytes& page) {
    std::string s;
    for (size_t i = 0; i < 40; ++i) s.push_back(char(page[i] & 0x7F));
    return s;
}

std::vector<Bytes> Pages(const char* capture, uint16_t pid) {
    const Bytes ts = testutil::ReadFile(testutil::TestDataDir() + "/" + capture);
    if (ts.empty()) return {};
    Recorder rec;
    CTeletextDecoder dec(rec);
    dec.SetPid(pid);
    for (size_t off = 0; off + 188 <= ts.size(); off += 188) {
        dec.FeedPacket(std::span<const uint8_t>(ts).subspan(off, 188));
    }
    std::vector<Bytes> pages;
    for (auto& [port, d] : rec.got) {
        EXPECT_EQ(port, CTeletextDecoder::kPort);
        pages.push_back(d);
    }
    return pages;
}

void CheckPageFormat(const Bytes& p) {
    ASSERT_EQ(p.size(), CTeletextDecoder::kPageSize);
    EXPECT_FALSE(isdigit(p[7]));
    EXPECT_TRUE(isdigit(p[8]) && isdigit(p[9]) && isdigit(p[10]));
    EXPECT_FALSE(isdigit(p[11]));
    const int number = (p[8] - '0') * 100 + (p[9] - '0') * 10 + (p[10] - '0');
    EXPECT_GE(number, 100);
    EXPECT_LE(number, 899);
    EXPECT_LT(p[1000], 9);
    EXPECT_LT(p[1001], 9);
    EXPECT_EQ(p[1000], number / 100);
}

}  // namespace

TEST(TeletextTest, PagesOfARealBroadcast) {
    const auto rai = Pages("tsduck-test_108_rai-dvbt-full-mux.ts", 0x240);
    if (rai.empty()) GTEST_SKIP() << "capture not found in " << testutil::TestDataDir();
    std::set<int> numbers;
    for (const auto& p : rai) {
        CheckPageFormat(p);
        numbers.insert((p[8] - '0') * 100 + (p[9] - '0') * 10 + (p[10] - '0'));
    }
    EXPECT_GE(numbers.size(), 2u);
    EXPECT_NE(HeaderText(rai[0]).find("TELEVIDEO"), std::string::npos) << HeaderText(rai[0]);

    const auto arte = Pages("tsduck-test_012_arte-teletext.ts", 0x42C);
    ASSERT_FALSE(arte.empty());
    for (const auto& p : arte) CheckPageFormat(p);
    EXPECT_NE(HeaderText(arte[0]).find("ARTE"), std::string::npos) << HeaderText(arte[0]);
}

TEST(TeletextTest, OtherPidsAndStoppedAcquisitionSendNothing) {
    const Bytes ts =
        testutil::ReadFile(testutil::TestDataDir() + "/tsduck-test_012_arte-teletext.ts");
    if (ts.empty()) GTEST_SKIP() << "capture not found";
    Recorder rec;
    CTeletextDecoder dec(rec);
    dec.SetPid(0x42D);
    for (size_t off = 0; off + 188 <= ts.size(); off += 188) {
        dec.FeedPacket(std::span<const uint8_t>(ts).subspan(off, 188));
    }
    dec.Stop();
    for (size_t off = 0; off + 188 <= ts.size(); off += 188) {
        dec.FeedPacket(std::span<const uint8_t>(ts).subspan(off, 188));
    }
    EXPECT_TRUE(rec.got.empty());
}

TEST(TeletextTest, BrokenPesIsIgnored) {
    Recorder rec;
    CTeletextDecoder dec(rec);
    dec.SetPid(0x100);
    const Bytes tooShort = {0, 0, 1, 0xBD, 0, 3, 0x80};
    dec.FeedPes(tooShort);
    Bytes lyingLength = {0, 0, 1, 0xBD, 0xFF, 0xFF, 0x80, 0x00, 0x00, 0x10, 0x02, 0x2C};
    lyingLength.resize(lyingLength.size() + 10, 0xE4);  // unit shorter than it says
    dec.FeedPes(lyingLength);
    Bytes headerPastEnd = {0, 0, 1, 0xBD, 0, 10, 0x80, 0x00, 0xF0, 0x10};
    dec.FeedPes(headerPastEnd);
    EXPECT_TRUE(rec.got.empty());
}

// Page assembly on hand-built packets.
namespace {

using testutil::HeaderFields;
using testutil::HeaderUnit;
using testutil::RowUnit;
using testutil::Unit;

HeaderFields Head(int magazine, int tens, int units, bool serial = false) {
    HeaderFields f;
    f.magazine = magazine;
    f.tens = tens;
    f.units = units;
    f.serial = serial;
    f.text = std::to_string(magazine) + std::to_string(tens) + std::to_string(units) + " TEST";
    return f;
}

class TeletextAssemblyTest : public ::testing::Test {
  protected:
    void SetUp() override { dec.SetPid(0x100); }
    void Feed(const std::vector<Unit>& units) { dec.FeedPes(testutil::TeletextPes(units)); }
    std::vector<Bytes> Sent() {
        std::vector<Bytes> pages;
        for (auto& [port, d] : rec.got) pages.push_back(d);
        return pages;
    }
    std::vector<int> SentNumbers() {
        std::vector<int> numbers;
        for (const auto& p : Sent()) numbers.push_back(PageNumber(p));
        return numbers;
    }
    static int PageNumber(const Bytes& p) {
        return (p[8] - '0') * 100 + (p[9] - '0') * 10 + (p[10] - '0');
    }
    static std::string Row(const Bytes& p, int row) {
        std::string s;
        for (size_t i = 0; i < 40; ++i) s.push_back(char(p[size_t(row) * 40 + i] & 0x7F));
        return s.substr(0, s.find_last_not_of(' ') + 1);
    }

    Recorder rec;
    CTeletextDecoder dec{rec};
};

}  // namespace

TEST_F(TeletextAssemblyTest, ParallelHeadersEndOnlyThePageOfTheirMagazine) {
    Feed({HeaderUnit(Head(1, 0, 0)), HeaderUnit(Head(2, 0, 0)), RowUnit(1, 1, "Eins"),
          RowUnit(2, 1, "Zwei"), HeaderUnit(Head(1, 0, 1))});
    ASSERT_EQ(SentNumbers(), std::vector<int>{100});
    EXPECT_EQ(Row(Sent()[0], 1), "Eins");
    Feed({RowUnit(2, 2, "Zwei b"), RowUnit(1, 1, "Eins b"), HeaderUnit(Head(2, 0, 1))});
    ASSERT_EQ(SentNumbers(), (std::vector<int>{100, 200}));
    EXPECT_EQ(Row(Sent()[1], 1), "Zwei");
    EXPECT_EQ(Row(Sent()[1], 2), "Zwei b");
}

TEST_F(TeletextAssemblyTest, SerialHeaderEndsThePagesOfEveryMagazine) {
    Feed({HeaderUnit(Head(1, 0, 0, true)), RowUnit(1, 1, "Eins"), HeaderUnit(Head(2, 3, 4, true)),
          RowUnit(2, 1, "Zwei")});
    ASSERT_EQ(SentNumbers(), std::vector<int>{100});
    Feed({HeaderUnit(Head(3, 0, 0, true))});
    ASSERT_EQ(SentNumbers(), (std::vector<int>{100, 234}));
    EXPECT_EQ(Row(Sent()[1], 1), "Zwei");
    // A parallel header ends only its own magazine's page, even after serial ones.
    Feed({HeaderUnit(Head(4, 0, 0))});
    EXPECT_EQ(SentNumbers().size(), 2u);
}

TEST_F(TeletextAssemblyTest, RowsStayFromTheLastTransmissionUnlessTheHeaderErases) {
    const Unit filler = HeaderUnit(Head(1, 15, 15));  // ends the page, opens none
    Feed({HeaderUnit(Head(1, 0, 0)), RowUnit(1, 1, "Alt 1"), RowUnit(1, 2, "Alt 2"), filler});
    Feed({HeaderUnit(Head(1, 0, 0)), RowUnit(1, 1, "Neu 1"), filler});
    HeaderFields erase = Head(1, 0, 0);
    erase.erase = true;
    Feed({HeaderUnit(erase), RowUnit(1, 1, "Neu 1"), filler});
    HeaderFields other = Head(1, 0, 0);
    other.subcode = 2;  // another subpage has its own rows
    Feed({HeaderUnit(other), filler});
    const auto pages = Sent();
    ASSERT_EQ(SentNumbers(), (std::vector<int>{100, 100, 100, 100}));
    EXPECT_EQ(Row(pages[0], 2), "Alt 2");
    EXPECT_EQ(Row(pages[1], 1), "Neu 1");
    EXPECT_EQ(Row(pages[1], 2), "Alt 2");
    EXPECT_EQ(Row(pages[2], 1), "Neu 1");
    EXPECT_EQ(Row(pages[2], 2), "");
    EXPECT_EQ(Row(pages[3], 1), "");
    EXPECT_EQ(pages[3][1002], 2);
}

TEST_F(TeletextAssemblyTest, HeaderWithADamagedHammingByteIsDroppedNotMisnumbered) {
    Unit broken = HeaderUnit(Head(1, 2, 3));
    broken[6] ^= 0x03;  // page units: two bits wrong
    Unit mended = HeaderUnit(Head(1, 5, 6));
    mended[7] ^= 0x10;  // page tens: one bit wrong
    Unit badAddress = RowUnit(1, 2, "Irgendwo");
    badAddress[5] ^= 0x0C;
    Feed({HeaderUnit(Head(1, 0, 0)), RowUnit(1, 1, "Vorher"), badAddress, broken,
          RowUnit(1, 1, "Danach"), mended, RowUnit(1, 1, "Repariert"), HeaderUnit(Head(1, 9, 9))});
    ASSERT_EQ(SentNumbers(), (std::vector<int>{100, 156}));
    EXPECT_EQ(Row(Sent()[0], 1), "Vorher");
    EXPECT_EQ(Row(Sent()[0], 2), "");
    EXPECT_EQ(Row(Sent()[1], 1), "Repariert");
}

TEST_F(TeletextAssemblyTest, TimeFillingAndHexadecimalHeadersEndPagesAndOpenNone) {
    Feed({HeaderUnit(Head(1, 0, 0)), RowUnit(1, 1, "Seite"), HeaderUnit(Head(1, 15, 15)),
          RowUnit(1, 1, "Fuellung"), HeaderUnit(Head(1, 0, 1)), RowUnit(1, 2, "Zweite"),
          HeaderUnit(Head(1, 10, 0)), RowUnit(1, 1, "Hex"), HeaderUnit(Head(1, 0, 2))});
    ASSERT_EQ(SentNumbers(), (std::vector<int>{100, 101}));
    EXPECT_EQ(Row(Sent()[1], 1), "");
    EXPECT_EQ(Row(Sent()[1], 2), "Zweite");
}

TEST_F(TeletextAssemblyTest, DatagramCarriesNumberMagazineSubcodeAndNationalOption) {
    HeaderFields f = Head(8, 3, 5, true);
    f.magazine = 0;  // address 0 is magazine 8
    f.subcode = 0x3F75;
    f.national = 4;
    f.text = "8351 ARTE 21:32";
    Unit row = RowUnit(0, 3, "Text");
    row[6 + 1] ^= 0x80;  // 'e' with a parity error
    Feed({HeaderUnit(f), row, HeaderUnit(Head(1, 0, 0, true))});
    ASSERT_EQ(Sent().size(), 1u);
    const Bytes p = Sent()[0];
    ASSERT_EQ(p.size(), 1960u);
    for (size_t i = 0; i < 8; ++i) EXPECT_EQ(p[i], 0x20) << i;
    EXPECT_EQ(std::string(p.begin() + 8, p.begin() + 11), "835");  // no parity bits
    EXPECT_EQ(p[11], 0x20);  // the broadcaster's digit there would lengthen the number
    EXPECT_EQ(Row(p, 0).substr(13), "ARTE 21:32");
    EXPECT_EQ(Row(p, 3), "T xt");  // the damaged character is left out
    EXPECT_EQ(p[1000], 8);
    EXPECT_EQ(p[1001], 0);
    EXPECT_EQ(p[1002], 5);
    EXPECT_EQ(p[1003], 4);
    for (size_t i = 1004; i < p.size(); ++i) ASSERT_EQ(p[i], 0) << i;
    for (size_t i = 40; i < 1000; ++i) ASSERT_TRUE(__builtin_parity(p[i])) << i;
}

TEST_F(TeletextAssemblyTest, PacketsBeyondRow24AndDamagedEnhancementsLeaveThePageAlone) {
    std::array<uint8_t, 40> junk{};
    junk.fill(0x00);  // no Hamming byte of these can be repaired
    Feed({HeaderUnit(Head(1, 0, 0)), RowUnit(1, 24, "Fusszeile"), RowUnit(1, 25, "Versteckt"),
          testutil::UnitOf(1, 26, junk), testutil::UnitOf(1, 27, junk),
          testutil::UnitOf(1, 28, junk), testutil::UnitOf(1, 29, junk),
          testutil::UnitOf(1, 30, junk), RowUnit(1, 1, "Oben"), HeaderUnit(Head(1, 0, 1))});
    ASSERT_EQ(Sent().size(), 1u);
    const Bytes p = Sent()[0];
    EXPECT_EQ(Row(p, 1), "Oben");
    EXPECT_EQ(Row(p, 24), "Fusszeile");
    std::string text;
    for (size_t i = 0; i < 1000; ++i) text.push_back(char(p[i] & 0x7F));
    EXPECT_EQ(text.find("Versteckt"), std::string::npos);
}

TEST_F(TeletextAssemblyTest, PesEndingInsideAUnitKeepsTheUnitsBeforeIt) {
    auto pes = testutil::TeletextPes(
        {HeaderUnit(Head(1, 0, 0)), RowUnit(1, 1, "Ganz"), RowUnit(1, 2, "Halb")});
    pes.resize(pes.size() - 20);  // the announced length runs past the end
    dec.FeedPes(pes);
    Feed({HeaderUnit(Head(1, 0, 1))});
    ASSERT_EQ(Sent().size(), 1u);
    EXPECT_EQ(Row(Sent()[0], 1), "Ganz");
    EXPECT_EQ(Row(Sent()[0], 2), "");
}

TEST_F(TeletextAssemblyTest, TransportPacketsCompleteAPesAtItsAnnouncedLength) {
    const auto pes = testutil::TeletextPes(
        {HeaderUnit(Head(1, 0, 0, true)), RowUnit(1, 1, "Eins"), RowUnit(1, 2, "Zwei"),
         RowUnit(1, 3, "Drei"), RowUnit(1, 4, "Vier"), HeaderUnit(Head(2, 0, 0, true))});
    auto packets = [&](uint8_t firstCc) {
        std::vector<Bytes> out;
        for (size_t off = 0; off < pes.size(); off += 184) {
            Bytes ts(188, 0xFF);
            ts[0] = 0x47;
            ts[1] = uint8_t((off == 0 ? 0x40 : 0) | 0x01);
            ts[2] = 0x00;
            ts[3] = uint8_t(0x10 | ((firstCc + off / 184) & 0x0F));
            std::copy_n(pes.begin() + std::ptrdiff_t(off), std::min<size_t>(184, pes.size() - off),
                        ts.begin() + 4);
            out.push_back(ts);
        }
        return out;
    };
    auto first = packets(0);
    ASSERT_GE(first.size(), 2u);
    for (const auto& p : first) dec.FeedPacket(p);
    EXPECT_EQ(SentNumbers(), std::vector<int>{100});  // no later packet was needed
    // A packet lost in the middle drops that PES: its header does not end page 200.
    auto second = packets(uint8_t(first.size()));
    second.erase(second.begin() + 1);
    for (const auto& p : second) dec.FeedPacket(p);
    EXPECT_EQ(SentNumbers(), std::vector<int>{100});
}

TEST_F(TeletextAssemblyTest, ANewPidForgetsTheEarlierTransmissions) {
    Feed({HeaderUnit(Head(1, 0, 0)), RowUnit(1, 1, "Altes Programm"), HeaderUnit(Head(1, 0, 1))});
    dec.SetPid(0x101);
    Feed({HeaderUnit(Head(1, 0, 0)), HeaderUnit(Head(1, 0, 1))});
    ASSERT_EQ(Sent().size(), 2u);
    EXPECT_EQ(Row(Sent()[1], 1), "");
    // Pages under way when acquisition stops are not sent.
    Feed({HeaderUnit(Head(2, 0, 0))});
    dec.Stop();
    dec.SetPid(0x101);
    Feed({HeaderUnit(Head(2, 0, 1))});
    EXPECT_EQ(Sent().size(), 2u);
}
