#pragma once
// Brightness, contrast and saturation of the shown picture, and its mirror
// image, applied while a frame of the card is copied into the window's image.
//
// Mapping (each value 0-255, 128 neutral), per colour channel v:
//   saturation s: v' = Y + (v - Y) * s / 128, Y = (77 R + 150 G + 29 B) / 256
//                 (0 grey, 128 unchanged, 255 nearly twice the colour)
//   contrast c:   v'' = (v' - 128) * c / 128 + 128   (around the middle grey)
//   brightness b: v''' = v'' + (b - 128)              (-128 ... +127)
// each step clamped to 0-255. Contrast and brightness are one lookup table;
// saturation costs three multiplications a pixel and is skipped at 128.
#include <array>
#include <cstddef>
#include <cstdint>

namespace videodisplay {

class PictureAdjust {
  public:
    PictureAdjust() { Set(128, 128, 128); }
    void Set(std::uint8_t brightness, std::uint8_t contrast, std::uint8_t saturation);
    bool IsNeutral() const { return neutral_; }

    /// Copies `width` x `height` pixels 0xFFRRGGBB from `in` (`width` a row)
    /// to `out` (`outStride` pixels a row) with the values applied, each row
    /// reversed when `mirror` is set.
    void Apply(const std::uint32_t* in, int width, int height, std::uint32_t* out,
               std::size_t outStride, bool mirror) const;

  private:
    // Index: a channel value after saturation plus kLow (the saturation
    // step's result lies within -kLow ... 639 for any colour).
    static constexpr int kLow = 384;
    std::array<std::uint8_t, 1024> table_{};
    int saturation_ = 128;
    bool neutral_ = true;

    std::uint32_t Pixel(std::uint32_t p) const;
};

}  // namespace videodisplay
