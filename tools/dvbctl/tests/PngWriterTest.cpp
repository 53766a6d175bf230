// The snapshot's PNG: signature, header, chunk checksums and the pixel rows
// read back through zlib.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <vector>

#include "PngWriter.h"

namespace {
uint32_t Be32(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 | uint32_t(b[at + 2]) << 8 | b[at + 3];
}
}  // namespace

TEST(PngWriter, WritesRgbRowsThatInflateToThePixels) {
    const uint32_t pixels[6] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF,
                                0xFF123456, 0xFFFFFFFF, 0xFF000000};
    const auto png = PngWriter::Encode(pixels, 3, 2);
    ASSERT_GT(png.size(), 8u + 25 + 12 + 12);
    EXPECT_EQ(std::vector<uint8_t>(png.begin(), png.begin() + 8),
              (std::vector<uint8_t>{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}));
    // Every chunk's CRC covers its type and data; IHDR first, IEND last.
    std::vector<std::string> types;
    std::vector<uint8_t> idat;
    for (size_t at = 8; at + 12 <= png.size();) {
        const uint32_t length = Be32(png, at);
        ASSERT_LE(at + 12 + length, png.size());
        types.emplace_back(png.begin() + std::ptrdiff_t(at + 4),
                           png.begin() + std::ptrdiff_t(at + 8));
        EXPECT_EQ(Be32(png, at + 8 + length), crc32(0, png.data() + at + 4, length + 4));
        if (types.back() == "IHDR") {
            EXPECT_EQ(Be32(png, at + 8), 3u);
            EXPECT_EQ(Be32(png, at + 12), 2u);
            EXPECT_EQ(png[at + 16], 8);  // bits
            EXPECT_EQ(png[at + 17], 2);  // RGB
        }
        if (types.back() == "IDAT")
            idat.insert(idat.end(), png.begin() + std::ptrdiff_t(at + 8),
                        png.begin() + std::ptrdiff_t(at + 8 + length));
        at += 12 + length;
    }
    EXPECT_EQ(types, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
    std::vector<uint8_t> raw(2 * 10);
    uLongf size = uLongf(raw.size());
    ASSERT_EQ(uncompress(raw.data(), &size, idat.data(), uLong(idat.size())), Z_OK);
    EXPECT_EQ(raw, (std::vector<uint8_t>{0, 255,  0,    0,    0,   255, 0,   0, 0, 255,  //
                                         0, 0x12, 0x34, 0x56, 255, 255, 255, 0, 0, 0}));
}
