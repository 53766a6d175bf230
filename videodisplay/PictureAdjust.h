#pragma once
// Brightness, contrast and saturation of the shown picture, and its mirror
// image, applied while a frame of the card is copied into the window's image.
//
// Mapping (each value 0-255), per colour channel v. The neutral values are the
// program's defaults 170, 160 and 200, at which the card too shows its picture
// as decoded, so that the defaults given to both leave the picture as it is:
//   saturation s: v' = Y + (v - Y) * s / 200, Y = (77 R + 150 G + 29 B) / 256
//                 (0 grey, 200 unchanged, 255 about 1.3 times the colour)
//   contrast c:   v'' = (v' - 128) * c / 160 + 128   (around the middle grey)
//   brightness b: v''' = v'' + (b - 170)              (-170 ... +85)
// each step clamped to 0-255. Contrast and brightness are one lookup table,
// the saturation step another (by v - Y); saturation is skipped at 200.
#include <array>
#include <cstddef>
#include <cstdint>

namespace videodisplay {

class PictureAdjust {
  public:
    static constexpr std::uint8_t kNeutralBrightness = 170;
    static constexpr std::uint8_t kNeutralContrast = 160;
    static constexpr std::uint8_t kNeutralSaturation = 200;

    PictureAdjust() { Set(kNeutralBrightness, kNeutralContrast, kNeutralSaturation); }
    void Set(std::uint8_t brightness, std::uint8_t contrast, std::uint8_t saturation);
    bool IsNeutral() const { return neutral_; }

    /// Copies `width` x `height` pixels 0xFFRRGGBB from `in` (`width` a row)
    /// to `out` (`outStride` pixels a row) with the values applied, each row
    /// reversed when `mirror` is set.
    void Apply(const std::uint32_t* in, int width, int height, std::uint32_t* out,
               std::size_t outStride, bool mirror) const;

  private:
    // Index of table_: a channel value after saturation plus kLow; that value
    // is Y (0 ... 255) plus a chroma_ entry (-508 ... 508): within -508 ... 763.
    static constexpr int kLow = 512;
    std::array<std::uint8_t, 1280> table_{};
    std::array<std::int16_t, 511> chroma_{};  ///< (v - Y) * s / 200 at index v - Y + 255
    bool saturated_ = false;                  ///< saturation is not neutral
    bool neutral_ = true;

    std::uint32_t Pixel(std::uint32_t p) const;
};

}  // namespace videodisplay
