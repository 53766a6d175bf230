// The decoder state from real streams: the captures' MPEG-2 and H.265 video,
// the demo broadcast's test pattern, and an H.264 stream around a parameter
// set of a real encoder.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "CTsFile.h"
#include "CVideoProbe.h"
#include "TsTestUtil.h"

using namespace nvdvbsrv;
using testutil::Bytes;

namespace {

void Expect(const VideoInfo& v, const VideoInfo& want, const std::string& what) {
    EXPECT_EQ(v.width, want.width) << what;
    EXPECT_EQ(v.height, want.height) << what;
    EXPECT_EQ(v.aspect, want.aspect) << what;
    EXPECT_EQ(v.frameRate, want.frameRate) << what;
    EXPECT_EQ(v.bitrateKbit, want.bitrateKbit) << what;
}

Bytes Packet(uint16_t pid, bool unitStart, uint8_t cc) {
    Bytes p(188, 0xFF);
    p[0] = 0x47;
    p[1] = uint8_t((unitStart ? 0x40 : 0) | pid >> 8);
    p[2] = uint8_t(pid);
    p[3] = uint8_t(0x10 | (cc & 0x0F));
    return p;
}

// 50 blocks of 10 ms: a PCR packet, 25 packets of video on PID 0x100 and 74
// null packets (15.04 Mbit/s in all). The video is one PES whose payload
// starts with head; the rest of it is filler.
Bytes Stream(const Bytes& head) {
    Bytes ts;
    uint8_t cc = 0;
    for (int block = 0; block < 50; ++block) {
        Bytes pcr(188, 0xFF);
        const uint64_t base = uint64_t(block) * 900;  // 10 ms in 90 kHz units
        const Bytes pcrHeader = {0x47,
                                 0x01,
                                 0x00,
                                 0x20,
                                 183,
                                 0x10,
                                 uint8_t(base >> 25),
                                 uint8_t(base >> 17),
                                 uint8_t(base >> 9),
                                 uint8_t(base >> 1),
                                 uint8_t((base & 1) << 7 | 0x7E),
                                 0x00};
        std::copy(pcrHeader.begin(), pcrHeader.end(), pcr.begin());
        ts.insert(ts.end(), pcr.begin(), pcr.end());
        for (int k = 0; k < 25; ++k) {
            const bool first = block == 0 && k == 0;
            Bytes p = Packet(0x100, first, cc++);
            if (first) {
                Bytes pes = {0x00, 0x00, 0x01, 0xE0, 0x00, 0x00, 0x80, 0x00, 0x00};
                pes.insert(pes.end(), head.begin(), head.end());
                std::copy(pes.begin(), pes.end(), p.begin() + 4);
            }
            ts.insert(ts.end(), p.begin(), p.end());
        }
        for (int k = 0; k < 74; ++k) {
            const Bytes n = Packet(0x1FFF, false, 0);
            ts.insert(ts.end(), n.begin(), n.end());
        }
    }
    return ts;
}

// 1250 packets of 184 payload bytes less the 9 of the PES header, in 0.5 s:
// 3679.856 kbit/s.
constexpr uint16_t kStreamKbit = 3680;

Bytes FromHex(const char* hex) {
    Bytes out;
    for (const char* p = hex; p[0] && p[1]; p += 2)
        out.push_back(uint8_t(std::stoi(std::string(p, 2), nullptr, 16)));
    return out;
}

}  // namespace

TEST(VideoProbeTest, H264PictureFromTheParameterSetAndTheRateAsMeasured) {
    // An access unit delimiter, then the parameter set an H.264 encoder
    // (libx264) wrote for a 1920 x 1080 picture at 25 Hz with square samples.
    Bytes head = {0x00, 0x00, 0x00, 0x01, 0x09, 0x10, 0x00, 0x00, 0x00, 0x01};
    const Bytes sps = FromHex("67640028acd940780227e5c044000003000400000300c83c60c658");
    head.insert(head.end(), sps.begin(), sps.end());
    const CTsFile f = CTsFile::FromBytes(Stream(head));
    ASSERT_TRUE(f.BitrateFromPcr());
    ASSERT_EQ(f.Bitrate(), 15040000u);
    Expect(CVideoProbe::Probe(f, 0x100), {1920, 1080, 3, 3, kStreamKbit}, "H.264");
    Expect(CVideoProbe::Probe(f, 0x101), {}, "no such PID");

    // An MPEG-2 header that calls the rate variable leaves it to the measurement.
    const Bytes vbr = {0x00, 0x00, 0x01, 0xB3, 0x2D, 0x02, 0x40, 0x23, 0xFF, 0xFF, 0xE0};
    Expect(CVideoProbe::Probe(CTsFile::FromBytes(Stream(vbr)), 0x100),
           {720, 576, 2, 3, kStreamKbit}, "MPEG-2 VBR");
    // Neither a sequence header nor a parameter set: nothing.
    Expect(CVideoProbe::Probe(CTsFile::FromBytes(Stream({0x00, 0x00, 0x01, 0x00, 0x12})), 0x100),
           {}, "pictures only");
}

TEST(VideoProbeTest, MpegCodesForH264Pictures) {
    struct Case {
        uint32_t width, height;
        uint16_t sarW, sarH, aspect;
    } aspects[] = {
        {1920, 1080, 1, 1, 3}, {720, 576, 12, 11, 2}, {720, 576, 16, 11, 3}, {720, 576, 64, 45, 3},
        {1440, 1080, 4, 3, 3}, {640, 480, 1, 1, 2},   {1920, 870, 1, 1, 4},  {1280, 714, 4, 3, 0},
        {352, 288, 1, 1, 1},   {720, 576, 0, 0, 0},
    };
    for (const auto& c : aspects) {
        EXPECT_EQ(CVideoProbe::AspectCode(c.width, c.height, c.sarW, c.sarH), c.aspect)
            << c.width << "x" << c.height << " " << c.sarW << ":" << c.sarH;
    }
    struct Rate {
        uint32_t units, scale;
        uint16_t code;
    } rates[] = {
        {1001, 48000, 1},  {1, 48, 2},  {1, 50, 3},       {1001, 60000, 4}, {1, 60, 5}, {1, 100, 6},
        {1001, 120000, 7}, {1, 120, 8}, {1000, 50000, 3}, {1, 30, 0},       {0, 50, 0}, {1, 0, 0},
    };
    for (const auto& r : rates) {
        EXPECT_EQ(CVideoProbe::FrameRateCode(r.units, r.scale), r.code)
            << r.scale << "/" << r.units;
    }
}

TEST(VideoProbeTest, VideoOfTheRaiMux) {
    const std::string path = testutil::TestDataDir() + "/tsduck-test_108_rai-dvbt-full-mux.ts";
    std::string err;
    const auto f = CTsFile::Load(path, err);
    if (!f) GTEST_SKIP() << "capture not found: " << err;
    // The SD services are MPEG-2 720 x 576 16:9 at 25 Hz; their headers
    // announce 10, 4.3 and 15 Mbit/s.
    Expect(CVideoProbe::Probe(*f, 0x200), {720, 576, 3, 3, 10000}, "Rai 1");
    Expect(CVideoProbe::Probe(*f, 0x202), {720, 576, 3, 3, 4300}, "Rai 3");
    Expect(CVideoProbe::Probe(*f, 0x208), {720, 576, 3, 3, 15000}, "Rai News 24");
    // The test service is H.265, which this decoder does not show; teletext and
    // a PID that is not there show nothing either.
    Expect(CVideoProbe::Probe(*f, 0x1F4), {}, "H.265");
    Expect(CVideoProbe::Probe(*f, 0x240), {}, "teletext");
    Expect(CVideoProbe::Probe(*f, 0x1FFE), {}, "absent");
}

TEST(VideoProbeTest, TestPatternOfTheDemoBroadcast) {
    if (std::system("ffmpeg -version >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "the ffmpeg tool is not installed";
    std::string dir = (std::filesystem::temp_directory_path() / "demovideoXXXXXX").string();
    ASSERT_NE(mkdtemp(dir.data()), nullptr);
    const std::string cmd = std::string(MKDEMOMUX_PATH) + " --list " + DEMO_DIR +
                            "/Demo.json --out " + dir + " >/dev/null";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    std::string err;
    const auto f = CTsFile::Load(dir + "/11836H.ts", err);
    ASSERT_TRUE(f) << err;
    // "Das Erste": MPEG-2 720 x 576 at 4:3 and 25 Hz, 1500 kbit/s as its
    // header announces; its audio PID carries no video.
    Expect(CVideoProbe::Probe(*f, 101), {720, 576, 2, 3, 1500}, "Das Erste");
    Expect(CVideoProbe::Probe(*f, 102), {}, "audio");
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}
