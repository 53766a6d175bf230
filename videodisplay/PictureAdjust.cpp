#include "videodisplay/PictureAdjust.h"

#include <algorithm>
#include <cstring>

namespace videodisplay {

void PictureAdjust::Set(std::uint8_t brightness, std::uint8_t contrast, std::uint8_t saturation) {
    for (int i = 0; i < int(table_.size()); ++i) {
        const int v = std::clamp(i - kLow, 0, 255);
        const int c = std::clamp((v - 128) * contrast / kNeutralContrast + 128, 0, 255);
        table_[std::size_t(i)] =
            std::uint8_t(std::clamp(c + brightness - kNeutralBrightness, 0, 255));
    }
    for (int d = -255; d <= 255; ++d)
        chroma_[std::size_t(d + 255)] = std::int16_t(d * saturation / kNeutralSaturation);
    saturated_ = saturation != kNeutralSaturation;
    neutral_ = brightness == kNeutralBrightness && contrast == kNeutralContrast && !saturated_;
}

std::uint32_t PictureAdjust::Pixel(std::uint32_t p) const {
    int r = int(p >> 16 & 0xFF), g = int(p >> 8 & 0xFF), b = int(p & 0xFF);
    if (saturated_) {
        const int y = (77 * r + 150 * g + 29 * b) >> 8;
        r = y + chroma_[std::size_t(r - y + 255)];
        g = y + chroma_[std::size_t(g - y + 255)];
        b = y + chroma_[std::size_t(b - y + 255)];
    }
    auto at = [this](int v) { return std::uint32_t(table_[std::size_t(v + kLow)]); };
    return 0xFF000000u | at(r) << 16 | at(g) << 8 | at(b);
}

void PictureAdjust::Apply(const std::uint32_t* in, int width, int height, std::uint32_t* out,
                          std::size_t outStride, bool mirror) const {
    for (int row = 0; row < height; ++row) {
        const std::uint32_t* src = in + std::size_t(row) * std::size_t(width);
        std::uint32_t* dst = out + std::size_t(row) * outStride;
        if (neutral_ && !mirror) {
            std::memcpy(dst, src, std::size_t(width) * 4);
        } else if (neutral_) {
            std::reverse_copy(src, src + width, dst);
        } else if (mirror) {
            for (int x = 0; x < width; ++x) dst[width - 1 - x] = Pixel(src[x]);
        } else {
            for (int x = 0; x < width; ++x) dst[x] = Pixel(src[x]);
        }
    }
}

}  // namespace videodisplay
