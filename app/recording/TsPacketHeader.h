#pragma once
// What the network engine reads of a 188-byte transport stream packet
// (ISO/IEC 13818-1, 2.4.3): the sync byte, the PID and the programme clock
// reference of the adaptation field, by which a recording is paced.
#include <cstddef>
#include <cstdint>
#include <optional>

namespace ts {

inline constexpr std::size_t kPacket = 188;
inline constexpr std::uint8_t kSync = 0x47;
/// Packets in one datagram of the card's network method.
inline constexpr std::size_t kPacketsPerChunk = 7;

/// The PID of a packet (kPacket bytes at p).
inline std::uint16_t Pid(const std::uint8_t* p) { return std::uint16_t((p[1] & 0x1F) << 8 | p[2]); }

/// The 33-bit PCR base (90 kHz) of a packet whose adaptation field carries
/// one; the 27 MHz extension is not needed for pacing.
inline std::optional<std::uint64_t> PcrBase(const std::uint8_t* p) {
    const bool adaptation = (p[3] & 0x20) != 0;
    if (p[0] != kSync || !adaptation || p[4] < 7 || (p[5] & 0x10) == 0) return std::nullopt;
    return std::uint64_t(p[6]) << 25 | std::uint64_t(p[7]) << 17 | std::uint64_t(p[8]) << 9 |
           std::uint64_t(p[9]) << 1 | std::uint64_t(p[10] >> 7);
}

}  // namespace ts
