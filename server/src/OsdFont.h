// The card's on-screen display fonts: fixed-width bitmap glyphs for every code
// of ISO 8859-1 (the control codes are blank). Generated into OsdFont.cpp by
// tools/osdfont/make_font.py.
#pragma once

#include <cstdint>

namespace nvdvbsrv {

struct OsdFontFace {
    uint8_t width;         // pixels, at most 16
    uint8_t height;        // rows
    const uint16_t* rows;  // [code * height + row], the leftmost pixel in bit 15

    bool Pixel(uint8_t code, int x, int y) const {
        return (rows[code * height + y] >> (15 - x)) & 1;
    }
};

// Font 0 is the card's normal font (12 x 24), font 1 a small one (8 x 16);
// nullptr for any other number.
const OsdFontFace* OsdFont(unsigned number);

}  // namespace nvdvbsrv
