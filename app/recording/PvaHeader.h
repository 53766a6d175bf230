#pragma once
// The 8-byte header of a PVA packet: "AV", stream id (1 video, 2 audio), a
// counter, 0x55, flags (0x10: a 32-bit big-endian PTS opens the payload), the
// payload length big-endian.
#include <cstddef>
#include <cstdint>

namespace pva {

inline constexpr std::size_t kHeader = 8;
inline constexpr std::size_t kHeaderWithPts = kHeader + 4;

inline bool IsPacket(const std::uint8_t* h) { return h[0] == 'A' && h[1] == 'V'; }
inline std::uint32_t PayloadLength(const std::uint8_t* h) {
    return std::uint32_t(h[6]) << 8 | h[7];
}
inline bool IsVideoWithPts(const std::uint8_t* h) {
    return IsPacket(h) && h[2] == 1 && (h[5] & 0x10) != 0;
}
/// The PTS behind a header whose IsVideoWithPts holds (kHeaderWithPts bytes at h).
inline std::uint32_t Pts(const std::uint8_t* h) {
    const std::uint8_t* p = h + kHeader;
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

}  // namespace pva
