#include <gtest/gtest.h>

#include "CTsFile.h"
#include "CVideoProbe.h"
#include "TsTestUtil.h"

using namespace nvdvbsrv;
using testutil::Bytes;

namespace {

// A packet of PID 0x100 carrying a PCR in its adaptation field.
Bytes PcrPacket(uint64_t pcr27) {
    Bytes p(188, 0xFF);
    p[0] = 0x47;
    p[1] = 0x01;
    p[2] = 0x00;
    p[3] = 0x20;
    p[4] = 183;
    p[5] = 0x10;
    const uint64_t base = pcr27 / 300, ext = pcr27 % 300;
    p[6] = uint8_t(base >> 25);
    p[7] = uint8_t(base >> 17);
    p[8] = uint8_t(base >> 9);
    p[9] = uint8_t(base >> 1);
    p[10] = uint8_t((base & 1) << 7 | 0x7E | ext >> 8);
    p[11] = uint8_t(ext);
    return p;
}

Bytes NullPacket() {
    Bytes p(188, 0xFF);
    p[0] = 0x47;
    p[1] = 0x1F;
    p[2] = 0xFF;
    p[3] = 0x10;
    return p;
}

}  // namespace

TEST(TsFileTest, BitrateFollowsThePcrAcrossAWrap) {
    // 100 packets per 10 ms of PCR time: 188 * 8 * 100 / 0.01 = 15.04 Mbit/s.
    // The PCR starts just before the 33-bit wrap.
    const uint64_t wrap = (uint64_t(1) << 33) * 300;
    Bytes stream = {0x00, 0x12};  // junk before the first sync
    uint64_t pcr = wrap - 27000 * 25;
    for (int block = 0; block < 50; ++block) {
        auto p = PcrPacket(pcr % wrap);
        stream.insert(stream.end(), p.begin(), p.end());
        for (int k = 0; k < 99; ++k) {
            auto n = NullPacket();
            stream.insert(stream.end(), n.begin(), n.end());
        }
        pcr += 270000;
    }
    CTsFile f = CTsFile::FromBytes(stream);
    EXPECT_EQ(f.PacketCount(), 5000u);
    EXPECT_TRUE(f.BitrateFromPcr());
    EXPECT_NEAR(double(f.Bitrate()), 15040000.0, 1.0);
}

TEST(TsFileTest, StreamWithoutPcrUsesTheFallbackRate) {
    Bytes stream;
    for (int i = 0; i < 10; ++i) {
        auto n = NullPacket();
        stream.insert(stream.end(), n.begin(), n.end());
    }
    CTsFile f = CTsFile::FromBytes(stream);
    EXPECT_FALSE(f.BitrateFromPcr());
    EXPECT_EQ(f.Bitrate(), CTsFile::kFallbackBitrate);
}

TEST(TsFileTest, RealCaptureRateIsNearTheMeasuredFigure) {
    const std::string path = testutil::TestDataDir() + "/tsduck-test_108_rai-dvbt-full-mux.ts";
    std::string err;
    auto f = CTsFile::Load(path, err);
    if (!f) GTEST_SKIP() << "capture not found: " << err;
    EXPECT_EQ(f->PacketCount(), 20000u);
    // The capture is documented as 22.4 Mbit/s.
    EXPECT_NEAR(double(f->Bitrate()) / 1e6, 22.4, 0.5);
}

TEST(VideoProbeTest, ReadsTheSequenceHeader) {
    // 720 x 576, aspect 2 (4:3), frame rate code 3 (25), 15000 units of 400 bit/s.
    Bytes p(188, 0xFF);
    p[0] = 0x47;
    p[1] = 0x41;
    p[2] = 0x00;
    p[3] = 0x10;
    const Bytes pes = {0, 0, 1,    0xE0, 0,    0,    0x80, 0,    0,    0,
                       0, 1, 0xB3, 0x2D, 0x02, 0x40, 0x23, 0x03, 0xA9, 0x80};
    std::copy(pes.begin(), pes.end(), p.begin() + 4);
    p[4 + 17] = 0x0E;
    p[4 + 18] = 0xA6;
    p[4 + 19] = 0x00;
    CTsFile f = CTsFile::FromBytes(p);
    VideoInfo v = CVideoProbe::Probe(f, 0x100);
    EXPECT_EQ(v.width, 720);
    EXPECT_EQ(v.height, 576);
    EXPECT_EQ(v.aspect, 2);
    EXPECT_EQ(v.frameRate, 3);
    EXPECT_EQ(v.bitrateKbit, 6000);
    EXPECT_EQ(CVideoProbe::Probe(f, 0x101).width, 0);
}
