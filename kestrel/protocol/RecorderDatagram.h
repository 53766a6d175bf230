// The recorder's network method: where its datagrams travel and the 2-byte
// prefix of the playback datagrams. While recording, the card sends the
// stream to DVBDestIP at base port + 33, one unit per datagram (a PVA packet,
// a PES packet or a part of it, an MPEG audio frame, or up to seven transport
// stream packets). While playing back, the program sends the file to the
// card's own address at base port + 35; each datagram is the prefix (the
// payload's length, little-endian) followed by the payload. Written by the
// program's network engine, read by the card.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace kestrel::protocol::recorder {

inline constexpr std::uint16_t kRecordPortOffset = 33;
inline constexpr std::uint16_t kPlaybackPortOffset = 35;
inline constexpr std::size_t kDatagramBytes = 8192;  ///< the largest datagram either way
inline constexpr std::size_t kPrefixBytes = 2;
inline constexpr std::size_t kMaxPayload = kDatagramBytes - kPrefixBytes;

/// Writes the prefix for a payload of `length` bytes (at most kMaxPayload).
constexpr void WritePrefix(std::uint8_t* out, std::size_t length) {
    out[0] = std::uint8_t(length & 0xFF);
    out[1] = std::uint8_t(length >> 8);
}

/// The payload of a playback datagram; nothing when the prefix does not
/// match the datagram's length.
inline std::optional<std::span<const std::uint8_t>> PlaybackPayload(
    std::span<const std::uint8_t> datagram) {
    if (datagram.size() < kPrefixBytes) return std::nullopt;
    const std::size_t length = std::size_t(datagram[0]) | std::size_t(datagram[1]) << 8;
    if (length != datagram.size() - kPrefixBytes) return std::nullopt;
    return datagram.subspan(kPrefixBytes);
}

}  // namespace kestrel::protocol::recorder
