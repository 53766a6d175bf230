#pragma once
// A small PNG encoder for the card's output: 8-bit RGB, one IDAT chunk
// compressed with zlib, no interlacing.
#include <cstdint>
#include <string>
#include <vector>

namespace PngWriter {

// The PNG file of pixels 0xFFRRGGBB, row after row (alpha is dropped).
std::vector<std::uint8_t> Encode(const std::uint32_t* pixels, std::uint32_t width,
                                 std::uint32_t height);
// Writes it; false with a message when the file cannot be written.
bool Write(const std::string& path, const std::uint32_t* pixels, std::uint32_t width,
           std::uint32_t height, std::string& error);

}  // namespace PngWriter
