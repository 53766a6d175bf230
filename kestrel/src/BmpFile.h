// Reads a BMP file for the card's on-screen display: 1, 2, 4 or 8 bits a
// pixel, at most 720 x 576 and 32 768 packed bytes; the palette turned into
// the card's entries (0, Cb, Y, Cr) and the rows packed, top row first.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kestrel::detail {

struct OsdBmp {
    int bits = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint8_t> palette;  // 2^bits entries of 4 bytes
    std::vector<std::uint8_t> image;    // (bits x width + 7) / 8 bytes a row
};

/// 1 when read; 4 the file cannot be opened; 3 not a BMP the card takes (or
/// cut short); 8 no memory.
int ReadOsdBmp(const std::string& path, OsdBmp& out);

/// One palette colour of the file (blue, green, red) as the card's entry.
std::array<std::uint8_t, 4> OsdPaletteEntry(std::uint8_t blue, std::uint8_t green,
                                            std::uint8_t red);

}  // namespace kestrel::detail
