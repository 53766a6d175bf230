#include <gtest/gtest.h>

#include "Streams.h"
#include "mpegts/BitWriter.h"
#include "mpegts/VideoHeaders.h"

using namespace mpegts;
using test::Bytes;

namespace {

Bytes FromHex(const char* hex) {
    Bytes out;
    for (const char* p = hex; p[0] && p[1]; p += 2)
        out.push_back(uint8_t(std::stoi(std::string(p, 2), nullptr, 16)));
    return out;
}

// ue(v) and se(v) as an encoder writes them.
void Ue(BitWriter& w, uint32_t v) {
    const uint64_t code = uint64_t(v) + 1;
    unsigned bits = 0;
    while ((code >> bits) > 1) ++bits;
    if (bits > 0) w.Bits(bits, 0);
    w.Bits(bits + 1, uint32_t(code));
}
void Se(BitWriter& w, int32_t v) { Ue(w, v > 0 ? uint32_t(2 * v - 1) : uint32_t(-2 * v)); }

// A NAL unit of an SPS written by hand, with the emulation prevention a
// multiplexer adds.
Bytes Nal(BitWriter& w) {
    w.Flag(true);  // rbsp_stop_one_bit
    while (!w.ByteAligned()) w.Flag(false);
    Bytes nal = {0x67};
    int zeros = 0;
    for (uint8_t b : w.Data()) {
        if (zeros >= 2 && b <= 3) {
            nal.push_back(0x03);
            zeros = 0;
        }
        zeros = b == 0 ? zeros + 1 : 0;
        nal.push_back(b);
    }
    return nal;
}

}  // namespace

TEST(VideoHeadersTest, StartCodesAndEmulationPrevention) {
    const Bytes es = {0x00, 0x00, 0x01, 0xB3, 0x00, 0x00, 0x00, 0x01, 0x09, 0x00, 0x00, 0x01};
    EXPECT_EQ(FindStartCode(es, 0), 3u);
    EXPECT_EQ(FindStartCode(es, 1), 8u);  // after four bytes 00 00 00 01
    EXPECT_EQ(FindStartCode(es, 8), 12u);
    EXPECT_FALSE(FindStartCode(es, 10));
    EXPECT_FALSE(FindStartCode(Bytes{0x00, 0x00}, 0));

    // 03 after two zeros goes; a 03 elsewhere and 00 00 03 03 keep the second.
    EXPECT_EQ(AvcRbsp(Bytes{0x00, 0x00, 0x03, 0x01, 0x03, 0x00, 0x00, 0x03, 0x03}),
              (Bytes{0x00, 0x00, 0x01, 0x03, 0x00, 0x00, 0x03}));
}

TEST(VideoHeadersTest, Mpeg2SequenceHeader) {
    // 720 x 576, 16:9, 25 Hz, 25000 * 400 bit/s.
    const Bytes fields = {0x2D, 0x02, 0x40, 0x33, 0x18, 0x6A, 0x20};
    const auto h = Mpeg2SequenceHeader::Parse(fields);
    ASSERT_TRUE(h);
    EXPECT_EQ(h->width, 720);
    EXPECT_EQ(h->height, 576);
    EXPECT_EQ(h->aspectRatio, 3);
    EXPECT_EQ(h->frameRateCode, 3);
    EXPECT_EQ(h->bitRateValue, 25000u);
    EXPECT_FALSE(Mpeg2SequenceHeader::Parse(std::span(fields).first(6)));
}

// Parameter sets that an H.264 encoder (libx264 through ffmpeg) wrote for
// generated pictures; the expected values are what ffprobe reports for the
// same streams.
TEST(VideoHeadersTest, AvcParameterSetsOfARealEncoder) {
    struct Case {
        const char* name;
        const char* hex;
        uint8_t profile;
        uint32_t width, height;
        bool progressive;
        uint16_t sarW, sarH;
        uint32_t frameNum, frameDen;  // frames per second as a fraction
    } cases[] = {
        // 1088 coded lines cropped to 1080; two emulation prevention bytes.
        {"HD progressive", "67640028acd940780227e5c044000003000400000300c83c60c658", 100, 1920,
         1080, true, 1, 1, 25, 1},
        {"SD interlaced, extended SAR", "6764001eacd940b424dff8020001688000000300800000190f8a14cb",
         100, 720, 576, false, 64, 45, 25, 1},
        {"4:2:2, 714 lines, SAR 4:3", "677a001fbcd9405005bf9f0e1000003e90000ea600f1831960", 122,
         1280, 714, true, 4, 3, 30000, 1001},
    };
    for (const auto& c : cases) {
        const Bytes nal = FromHex(c.hex);
        const auto sps = AvcSequenceParameterSet::Parse(nal);
        ASSERT_TRUE(sps) << c.name;
        EXPECT_EQ(sps->profileIdc, c.profile) << c.name;
        EXPECT_EQ(sps->width, c.width) << c.name;
        EXPECT_EQ(sps->height, c.height) << c.name;
        EXPECT_EQ(sps->frameMbsOnly, c.progressive) << c.name;
        EXPECT_EQ(sps->sarWidth, c.sarW) << c.name;
        EXPECT_EQ(sps->sarHeight, c.sarH) << c.name;
        // A frame lasts two ticks.
        EXPECT_EQ(uint64_t(sps->timeScale) * c.frameDen,
                  uint64_t(2) * sps->numUnitsInTick * c.frameNum)
            << c.name;
        // Cut anywhere, the set is refused or, when only what follows the
        // timing is missing, read the same.
        for (size_t n = 0; n < nal.size(); ++n) {
            const auto cut = AvcSequenceParameterSet::Parse(std::span(nal).first(n));
            if (cut) {
                EXPECT_EQ(cut->numUnitsInTick, sps->numUnitsInTick) << c.name << " " << n;
            }
        }
    }
}

TEST(VideoHeadersTest, AvcParameterSetsWrittenByHand) {
    // Baseline, picture order type 1, 22 x 18 macroblocks cropped by 4 and 8
    // pixels, no VUI: no aspect, no timing.
    BitWriter base;
    base.U8(66);
    base.U8(0xC0);
    base.U8(30);
    Ue(base, 0);  // seq_parameter_set_id
    Ue(base, 0);  // log2_max_frame_num_minus4
    Ue(base, 1);  // pic_order_cnt_type
    base.Flag(false);
    Se(base, -3);
    Se(base, 2);
    Ue(base, 2);  // two offsets in the cycle
    Se(base, 1);
    Se(base, -1);
    Ue(base, 3);  // max_num_ref_frames
    base.Flag(false);
    Ue(base, 21);
    Ue(base, 17);
    base.Flag(true);  // frame_mbs_only_flag
    base.Flag(true);  // direct_8x8_inference_flag
    base.Flag(true);  // frame_cropping_flag: left 1, right 1, top 0, bottom 4 (units of 2)
    Ue(base, 1);
    Ue(base, 1);
    Ue(base, 0);
    Ue(base, 4);
    base.Flag(false);  // no VUI
    const auto b = AvcSequenceParameterSet::Parse(Nal(base));
    ASSERT_TRUE(b);
    EXPECT_EQ(b->width, 352u - 4);
    EXPECT_EQ(b->height, 288u - 8);
    EXPECT_EQ(b->sarWidth, 0);
    EXPECT_EQ(b->timeScale, 0u);

    // High profile, monochrome, a scaling matrix with one explicit list, fields
    // (cropping counts frame lines), VUI with aspect 14 (4:3) and timing.
    BitWriter high;
    high.U8(100);
    high.U8(0);
    high.U8(40);
    Ue(high, 1);
    Ue(high, 0);  // chroma_format_idc: monochrome
    Ue(high, 0);
    Ue(high, 0);
    high.Flag(false);
    high.Flag(true);  // seq_scaling_matrix_present_flag
    high.Flag(true);  // list 0 given: a delta, then 0 ends it
    Se(high, 5);
    Se(high, -13);
    for (int i = 1; i < 8; ++i) high.Flag(false);
    Ue(high, 4);
    Ue(high, 2);  // picture order type 2
    Ue(high, 1);
    high.Flag(false);
    Ue(high, 44);  // 45 macroblocks wide
    Ue(high, 17);  // 18 map units of two fields
    high.Flag(false);
    high.Flag(false);
    high.Flag(true);
    high.Flag(true);
    Ue(high, 0);
    Ue(high, 0);
    Ue(high, 1);  // top 1 and bottom 2, 2 lines each
    Ue(high, 2);
    high.Flag(true);  // VUI
    high.Flag(true);  // aspect_ratio_info_present_flag
    high.U8(14);
    high.Flag(false);  // overscan
    high.Flag(true);   // video signal type with colour description
    high.Bits(4, 5);
    high.Flag(true);
    high.U24(0x010101);
    high.Flag(true);  // chroma location
    Ue(high, 0);
    Ue(high, 0);
    high.Flag(true);  // timing: 50 ticks a second
    high.U32(1);
    high.U32(50);
    high.Flag(true);
    const auto h = AvcSequenceParameterSet::Parse(Nal(high));
    ASSERT_TRUE(h);
    EXPECT_EQ(h->chromaFormatIdc, 0);
    EXPECT_FALSE(h->frameMbsOnly);
    EXPECT_EQ(h->width, 720u);
    EXPECT_EQ(h->height, 576u - 6);
    EXPECT_EQ(h->sarWidth, 4);
    EXPECT_EQ(h->sarHeight, 3);
    EXPECT_EQ(h->timeScale, 50u);
    EXPECT_EQ(h->numUnitsInTick, 1u);

    // Not a parameter set, an unknown profile, a cropping window as large as
    // the picture.
    Bytes notSps = Nal(base);
    notSps[0] = 0x68;
    EXPECT_FALSE(AvcSequenceParameterSet::Parse(notSps));
    Bytes profile = Nal(base);
    profile[1] = 67;
    EXPECT_FALSE(AvcSequenceParameterSet::Parse(profile));
    BitWriter crop;
    crop.U8(66);
    crop.U8(0);
    crop.U8(30);
    for (uint32_t v : {0u, 0u, 2u, 1u}) Ue(crop, v);
    crop.Flag(false);
    Ue(crop, 0);  // one macroblock
    Ue(crop, 0);
    crop.Flag(true);
    crop.Flag(true);
    crop.Flag(true);
    for (uint32_t v : {4u, 4u, 0u, 0u}) Ue(crop, v);
    crop.Flag(false);
    EXPECT_FALSE(AvcSequenceParameterSet::Parse(Nal(crop)));
}
