#include "BmpFile.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <new>

#include "kestrel/protocol/BlockIO.h"
#include "kestrel/protocol/OsdBitmap.h"

namespace kestrel::detail {

namespace osd = protocol::osd;

namespace {

constexpr std::size_t kFileHeader = 14;
constexpr std::size_t kInfoHeader = 40;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

struct Header {
    std::uint32_t dataOffset = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    int bits = 0;
};

// The file and information headers; 3 when they are not a BMP the card takes.
int ReadHeader(std::FILE* f, Header& h) {
    std::uint8_t bytes[kFileHeader + kInfoHeader] = {};
    if (std::fread(bytes, 1, sizeof bytes, f) != sizeof bytes) return 3;
    protocol::BlockReader r(bytes);
    if (bytes[0] != 'B' || bytes[1] != 'M' || r.U32(kFileHeader) != kInfoHeader) return 3;
    h.dataOffset = r.U32(10);
    h.width = r.I32(kFileHeader + 4);
    h.height = r.I32(kFileHeader + 8);
    h.bits = r.U16(kFileHeader + 14);
    // Sizes are signed in the file; rows stored top first (negative height)
    // and empty pictures are not taken either.
    if (osd::KindOfBits(h.bits) < 0 || h.width <= 0 || h.height <= 0 ||
        !osd::BitmapFits(std::uint32_t(osd::KindOfBits(h.bits)), std::uint32_t(h.width),
                         std::uint32_t(h.height)))
        return 3;
    return 1;
}

// Entries until all are read or the image data begins; the rest stay zero.
void ReadPalette(std::FILE* f, const Header& h, std::vector<std::uint8_t>& palette) {
    const std::size_t entries = std::size_t(1) << h.bits;
    for (std::size_t i = 0; i < entries; ++i) {
        const long position = std::ftell(f);
        std::uint8_t bgra[4];
        if (position < 0 || std::uint32_t(position) >= h.dataOffset ||
            std::fread(bgra, 1, 4, f) != 4)
            break;
        const auto entry = OsdPaletteEntry(bgra[0], bgra[1], bgra[2]);
        std::copy(entry.begin(), entry.end(), palette.begin() + std::ptrdiff_t(i * 4));
    }
}

// Rows are 4-byte aligned in the file and stored bottom first.
int ReadImage(std::FILE* f, const Header& h, std::vector<std::uint8_t>& image) {
    const auto width = std::uint32_t(h.width);
    const auto height = std::uint32_t(h.height);
    const std::size_t keep = osd::RowBytes(h.bits, width);
    const std::size_t stride = (std::size_t(h.bits) * width + 31) / 32 * 4;
    if (std::fseek(f, long(h.dataOffset), SEEK_SET) != 0) return 3;
    std::vector<std::uint8_t> row(stride);
    for (std::uint32_t i = 0; i < height; ++i) {
        if (std::fread(row.data(), 1, stride, f) != stride) return 3;
        std::copy_n(row.begin(), keep, image.begin() + std::ptrdiff_t((height - 1 - i) * keep));
    }
    return 1;
}

}  // namespace

std::array<std::uint8_t, 4> OsdPaletteEntry(std::uint8_t blue, std::uint8_t green,
                                            std::uint8_t red) {
    const double r = red / 255.0, g = green / 255.0, b = blue / 255.0;
    const double y = 0.299 * r + 0.587 * g + 0.114 * b;
    return {0, static_cast<std::uint8_t>(int((b - y) * 126 + 128.5)),
            static_cast<std::uint8_t>(int(y * 219 + 16.5)),
            static_cast<std::uint8_t>(int((r - y) * 160 + 128.5))};
}

int ReadOsdBmp(const std::string& path, OsdBmp& out) {
    File f(std::fopen(path.c_str(), "rb"));
    if (!f) return 4;
    Header h;
    if (const int r = ReadHeader(f.get(), h); r != 1) return r;
    OsdBmp bmp;
    try {
        bmp.palette.assign(osd::PaletteBytes(h.bits), 0);
        bmp.image.assign(osd::PackedBytes(h.bits, std::uint32_t(h.width), std::uint32_t(h.height)),
                         0);
    } catch (const std::bad_alloc&) {
        return 8;
    }
    ReadPalette(f.get(), h, bmp.palette);
    if (const int r = ReadImage(f.get(), h, bmp.image); r != 1) return r;
    bmp.bits = h.bits;
    bmp.width = std::uint32_t(h.width);
    bmp.height = std::uint32_t(h.height);
    out = std::move(bmp);
    return 1;
}

}  // namespace kestrel::detail
