// The picture values: neutral copies, each value moves the channels the way
// the mapping says, clamping at the ends, and the mirror reverses rows.
#include <gtest/gtest.h>

#include <vector>

#include "videodisplay/PictureAdjust.h"

using videodisplay::PictureAdjust;

namespace {

std::uint32_t Rgb(int r, int g, int b) { return 0xFF000000u | r << 16 | g << 8 | b; }

std::uint32_t One(const PictureAdjust& adjust, std::uint32_t pixel) {
    std::uint32_t out = 0;
    adjust.Apply(&pixel, 1, 1, &out, 1, false);
    return out;
}

}  // namespace

TEST(PictureAdjust, NeutralCopiesAndMirrorReversesEachRowIntoTheStride) {
    const std::vector<std::uint32_t> in = {Rgb(1, 2, 3),    Rgb(4, 5, 6),    Rgb(7, 8, 9),
                                           Rgb(10, 11, 12), Rgb(13, 14, 15), Rgb(16, 17, 18)};
    PictureAdjust adjust;
    std::vector<std::uint32_t> out(8, 0);  // rows of 4 pixels, 3 used
    adjust.Apply(in.data(), 3, 2, out.data(), 4, true);
    EXPECT_EQ(out, (std::vector<std::uint32_t>{in[2], in[1], in[0], 0, in[5], in[4], in[3], 0}));
    adjust.Set(180, 160, 200);  // the adjusting path mirrors the same way
    adjust.Apply(in.data(), 3, 2, out.data(), 4, true);
    EXPECT_EQ(out[0], Rgb(17, 18, 19));
    EXPECT_EQ(out[3], 0u);
    EXPECT_EQ(out[6], Rgb(20, 21, 22));
}

TEST(PictureAdjust, BrightnessContrastAndSaturationFollowTheMapping) {
    PictureAdjust adjust;
    adjust.Set(170, 160, 200);
    EXPECT_TRUE(adjust.IsNeutral()) << "the program's defaults leave the picture as it is";
    adjust.Set(240, 160, 200);
    EXPECT_EQ(One(adjust, Rgb(100, 0, 250)), Rgb(170, 70, 255)) << "+70, clamped at 255";
    adjust.Set(0, 160, 200);
    EXPECT_EQ(One(adjust, Rgb(100, 200, 50)), Rgb(0, 30, 0));

    adjust.Set(170, 240, 200);  // contrast 1.5 times the distance from 128
    EXPECT_EQ(One(adjust, Rgb(128, 160, 96)), Rgb(128, 176, 80));
    adjust.Set(170, 0, 200);
    EXPECT_EQ(One(adjust, Rgb(10, 250, 77)), Rgb(128, 128, 128));

    adjust.Set(170, 160, 0);  // no saturation: the luma in every channel
    const int y = (77 * 200 + 150 * 40 + 29 * 90) >> 8;
    EXPECT_EQ(One(adjust, Rgb(200, 40, 90)), Rgb(y, y, y));
    adjust.Set(170, 160, 255);  // more colour, clamped per channel
    const std::uint32_t vivid = One(adjust, Rgb(240, 20, 90));
    EXPECT_EQ(vivid >> 16 & 0xFF, 255u);
    EXPECT_EQ(vivid >> 8 & 0xFF, 0u);
    EXPECT_FALSE(adjust.IsNeutral());
}
