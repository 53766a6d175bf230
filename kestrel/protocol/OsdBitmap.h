// Bitmaps for the card's on-screen display: the announced kinds and their
// sizes, and the datagrams that carry palette and image to the card at port
// offset 36 (2 bytes of length, then the data). Written by the library's
// LoadBMP, read by the card.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kestrel::protocol::osd {

inline constexpr std::uint16_t kBitmapPortOffset = 36;
inline constexpr std::uint32_t kMaxWidth = 720;
inline constexpr std::uint32_t kMaxHeight = 576;
inline constexpr std::size_t kMaxImageBytes = 32768;  // packed rows of one bitmap
inline constexpr std::size_t kMaxPart = 4096;         // image bytes in one datagram
inline constexpr std::size_t kHeaderBytes = 2;
inline constexpr std::size_t kPaletteEntryBytes = 4;  // 0, Cb, Y, Cr

/// Bits per pixel of a bitmap kind (0: 1, 1: 2, 2: 4, 3: 8); 0 for any other.
constexpr int BitsOfKind(std::uint32_t kind) { return kind <= 3 ? 1 << kind : 0; }
/// The kind of a depth of 1, 2, 4 or 8 bits; -1 for any other.
constexpr int KindOfBits(int bits) {
    return bits == 1 ? 0 : bits == 2 ? 1 : bits == 4 ? 2 : bits == 8 ? 3 : -1;
}
constexpr std::size_t RowBytes(int bits, std::uint32_t width) {
    return (std::size_t(bits) * width + 7) / 8;
}
constexpr std::size_t PackedBytes(int bits, std::uint32_t width, std::uint32_t height) {
    return RowBytes(bits, width) * height;
}
constexpr std::size_t PaletteBytes(int bits) {
    return (std::size_t(1) << bits) * kPaletteEntryBytes;
}
/// Whether the card takes a bitmap of this kind and size.
constexpr bool BitmapFits(std::uint32_t kind, std::uint32_t width, std::uint32_t height) {
    const int bits = BitsOfKind(kind);
    return bits && width >= 1 && width <= kMaxWidth && height >= 1 && height <= kMaxHeight &&
           PackedBytes(bits, width, height) <= kMaxImageBytes;
}

/// One datagram: the datagram's length (data + 2) little-endian, then data
/// (at most kMaxPart bytes or a 256-entry palette).
std::vector<std::uint8_t> BitmapDatagram(std::span<const std::uint8_t> data);
/// The data of a received datagram; nothing when the leading length is not
/// the datagram's own.
std::optional<std::span<const std::uint8_t>> BitmapDatagramData(
    std::span<const std::uint8_t> datagram);

/// The card's own address on its loopback network, where the bitmaps go
/// instead of a broadcast: ip with the host bits of mask set (both dotted
/// quads), in host byte order; nothing when either does not parse or
/// the result is not a loopback address.
std::optional<std::uint32_t> CardAddress(const std::string& ip, const std::string& mask);

}  // namespace kestrel::protocol::osd
