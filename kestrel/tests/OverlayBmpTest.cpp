// LoadBMP's checks of the file and the palette conversion, which come before
// any request to the card.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "BmpFile.h"
#include "kestrel/COverlay.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put(Bytes& b, std::uint32_t v, int n) {
    // Little-endian; bytes past the value's four are 0.
    for (int i = 0; i < n; ++i) b.push_back(i < 4 ? std::uint8_t(v >> (8 * i)) : 0);
}

// A BMP file: headers, the palette (blue, green, red, 0) and rows bottom first.
std::string WriteBmp(const std::string& name, int bits, std::int32_t width, std::int32_t height,
                     const Bytes& palette, std::uint32_t infoSize = 40) {
    const std::uint32_t stride = (std::uint32_t(bits) * std::uint32_t(width) + 31) / 32 * 4;
    Bytes b{'B', 'M'};
    Put(b, 0, 4);
    Put(b, 0, 4);
    Put(b, std::uint32_t(54 + palette.size()), 4);
    Put(b, infoSize, 4);
    Put(b, std::uint32_t(width), 4);
    Put(b, std::uint32_t(height), 4);
    Put(b, 1, 2);
    Put(b, std::uint32_t(bits), 2);
    Put(b, 0, 24);
    b.insert(b.end(), palette.begin(), palette.end());
    // Row r (bottom first) holds the byte r in every position.
    for (std::int32_t r = 0; r < height; ++r) b.insert(b.end(), stride, std::uint8_t(r));
    const auto path = std::filesystem::temp_directory_path() /
                      ("osdbmp_" + std::to_string(getpid()) + "_" + name + ".bmp");
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
    return path.string();
}

}  // namespace

TEST(OverlayBmpTest, FilesTheCardCannotTakeAreRefusedBeforeAnyRequest) {
    COverlay overlay;
    EXPECT_EQ(overlay.LoadBMP("/nonexistent/osd.bmp"), 4);
    EXPECT_EQ(overlay.LoadBMP(WriteBmp("big", 1, 720, 576, Bytes(8))), 3);  // 51 840 bytes
    EXPECT_EQ(overlay.LoadBMP(WriteBmp("rgb", 24, 16, 16, {})), 3);
    EXPECT_EQ(overlay.LoadBMP(WriteBmp("wide", 8, 721, 1, Bytes(1024))), 3);
    EXPECT_EQ(overlay.LoadBMP(WriteBmp("core", 4, 16, 16, Bytes(64), 12)), 3);
    EXPECT_EQ(overlay.LoadBMP(WriteBmp("topdown", 4, 16, -16, Bytes(64))), 3);
    kestrel::detail::OsdBmp bmp;
    EXPECT_EQ(kestrel::detail::ReadOsdBmp(WriteBmp("edge", 1, 512, 512, Bytes(8)), bmp), 1);
    EXPECT_EQ(bmp.image.size(), 32768u);
}

TEST(OverlayBmpTest, PaletteBecomesCbYCrAndRowsComeTopFirst) {
    EXPECT_EQ(kestrel::detail::OsdPaletteEntry(0, 0, 0),
              (std::array<std::uint8_t, 4>{0, 128, 16, 128}));
    EXPECT_EQ(kestrel::detail::OsdPaletteEntry(255, 255, 255),
              (std::array<std::uint8_t, 4>{0, 128, 235, 128}));
    // Red: Y .299 -> 81; Cb -.299 x 126 + 128.5 -> 90; Cr .701 x 160 + 128.5 -> 240.
    EXPECT_EQ(kestrel::detail::OsdPaletteEntry(0, 0, 255),
              (std::array<std::uint8_t, 4>{0, 90, 81, 240}));
    // Blue: Y .114 -> 41; Cb .886 x 126 + 128.5 -> 240; Cr -.114 x 160 + 128.5 -> 110.
    EXPECT_EQ(kestrel::detail::OsdPaletteEntry(255, 0, 0),
              (std::array<std::uint8_t, 4>{0, 240, 41, 110}));
    // A 2-bit file with only 3 palette entries before its image: the fourth stays zero.
    const Bytes palette{0, 0, 255, 0, 255, 255, 255, 0, 255, 0, 0, 0};
    kestrel::detail::OsdBmp bmp;
    ASSERT_EQ(kestrel::detail::ReadOsdBmp(WriteBmp("pal", 2, 10, 3, palette), bmp), 1);
    EXPECT_EQ(bmp.palette, (Bytes{0, 90, 81, 240, 0, 128, 235, 128, 0, 240, 41, 110, 0, 0, 0, 0}));
    // Rows of 3 bytes (of 4 in the file), the file's last row first.
    EXPECT_EQ(bmp.image, (Bytes{2, 2, 2, 1, 1, 1, 0, 0, 0}));
}
