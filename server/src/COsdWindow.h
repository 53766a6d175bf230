// One window of the on-screen display: a picture of palette indexes (1, 2, 4
// or 8 bits a pixel, one byte each here), its palette of Y, Cb, Cr and blend
// (0 transparent .. 15 opaque), its place on the frame and its text font.
// Drawing is clipped to the window. Not thread-safe (COsd holds the lock).
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "CBitmapAssembler.h"

namespace nvdvbsrv {

struct OsdColour {
    uint8_t y = 16;
    uint8_t cb = 128;
    uint8_t cr = 128;
    uint8_t blend = 15;
};

// 0xFFRRGGBB of a palette colour (the inverse of the library's bitmap
// palette conversion).
uint32_t OsdRgb(const OsdColour& c);

class COsdWindow {
  public:
    // How a window's colours cover the picture below: fully, all with one
    // window blend, or each with its palette entry's blend.
    enum class Blending { Opaque, Window, PerColour };

    COsdWindow(int bits, int width, int height);

    int Bits() const { return bits_; }
    int Entries() const { return 1 << bits_; }
    int Width() const { return width_; }
    int Height() const { return height_; }

    void Fill(int x, int y, int width, int height, uint8_t index);
    void Line(int x0, int y0, int x1, int y1, uint8_t index);
    // ISO 8859-1 text with the window's font and colours, one cell a byte.
    void Text(int x, int y, std::string_view text);
    // The bitmap's pixels at (x, y) and its palette into the window's first
    // entries (their blends stay); transparent: index 0 leaves the window as it is.
    void Blit(int x, int y, const OsdBitmap& bitmap, bool transparent);

    // Draws the window at its position over pixels (720 x 576 0xFFRRGGBB).
    void Compose(uint32_t* pixels, size_t stride) const;

    std::array<OsdColour, 256> palette;
    Blending blending = Blending::Opaque;
    uint8_t windowBlend = 15;
    int x = 0;
    int y = 0;
    bool shown = true;
    unsigned font = 0;
    uint8_t foreground = 1;
    uint8_t background = 0;

  private:
    void Set(int px, int py, uint8_t index);
    uint8_t Opacity(uint8_t index) const;

    int bits_;
    int width_;
    int height_;
    std::vector<uint8_t> pixels_;
};

}  // namespace nvdvbsrv
