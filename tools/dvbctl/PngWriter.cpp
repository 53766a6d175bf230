#include "PngWriter.h"

#include <zlib.h>

#include <cstring>
#include <fstream>

namespace PngWriter {
namespace {

void Be32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(std::uint8_t(v >> shift));
}

// A chunk: length, type, data, CRC-32 of type and data.
void Chunk(std::vector<std::uint8_t>& out, const char type[4], const std::uint8_t* data,
           std::size_t size) {
    Be32(out, std::uint32_t(size));
    const std::size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data, data + size);
    const auto crc = crc32(0, out.data() + typeAt, uInt(size + 4));
    Be32(out, std::uint32_t(crc));
}

}  // namespace

std::vector<std::uint8_t> Encode(const std::uint32_t* pixels, std::uint32_t width,
                                 std::uint32_t height) {
    // Each row: filter type 0, then R, G, B.
    const std::size_t rowBytes = 1 + std::size_t(width) * 3;
    std::vector<std::uint8_t> raw(rowBytes * height);
    for (std::uint32_t y = 0; y < height; ++y) {
        std::uint8_t* row = raw.data() + y * rowBytes;
        row[0] = 0;
        for (std::uint32_t x = 0; x < width; ++x) {
            const std::uint32_t p = pixels[std::size_t(y) * width + x];
            row[1 + 3 * x] = std::uint8_t(p >> 16);
            row[2 + 3 * x] = std::uint8_t(p >> 8);
            row[3 + 3 * x] = std::uint8_t(p);
        }
    }
    uLongf packedSize = compressBound(uLong(raw.size()));
    std::vector<std::uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), uLong(raw.size()), 6) != Z_OK) return {};
    packed.resize(packedSize);

    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    Be32(header, width);
    Be32(header, height);
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, filter 0, no interlace
    Chunk(png, "IHDR", header.data(), header.size());
    Chunk(png, "IDAT", packed.data(), packed.size());
    Chunk(png, "IEND", nullptr, 0);
    return png;
}

bool Write(const std::string& path, const std::uint32_t* pixels, std::uint32_t width,
           std::uint32_t height, std::string& error) {
    const auto png = Encode(pixels, width, height);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (png.empty() ||
        !out.write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()))) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

}  // namespace PngWriter
