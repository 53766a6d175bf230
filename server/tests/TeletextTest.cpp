#include <gtest/gtest.h>

#include <mutex>
#include <set>

#include "CTeletextDecoder.h"
#include "DatagramRecorder.h"
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
