#include "TsPacket.h"

namespace mpegts {

std::span<const std::uint8_t> TsPacket::AdaptationField() const {
    if (!HasAdaptationField() || !AdaptationFieldValid()) return {};
    return std::span<const std::uint8_t>(b_).subspan(5, b_[4]);
}

std::span<const std::uint8_t> TsPacket::Payload() const {
    if (!HasPayload() || !AdaptationFieldValid()) return {};
    const std::size_t at = kHeaderSize + (HasAdaptationField() ? 1 + std::size_t(b_[4]) : 0);
    return std::span<const std::uint8_t>(b_).subspan(at);
}

std::optional<std::uint64_t> TsPacket::Pcr() const {
    // flags, then 33 bits base, 6 reserved, 9 bits extension
    const auto af = AdaptationField();
    if (af.size() < 7 || !(af[0] & 0x10)) return std::nullopt;
    const std::uint64_t base = std::uint64_t(af[1]) << 25 | std::uint64_t(af[2]) << 17 |
                               std::uint64_t(af[3]) << 9 | std::uint64_t(af[4]) << 1 |
                               std::uint64_t(af[5] >> 7);
    const std::uint64_t ext = std::uint64_t(af[5] & 1) << 8 | af[6];
    return base * 300 + ext;
}

void TsPacket::WriteHeader(std::span<std::uint8_t> p, std::uint16_t pid, bool unitStart,
                           std::uint8_t afc, std::uint8_t cc) {
    if (p.size() < kHeaderSize) return;
    p[0] = kSyncByte;
    p[1] = static_cast<std::uint8_t>((unitStart ? 0x40 : 0x00) | (pid >> 8 & 0x1F));
    p[2] = static_cast<std::uint8_t>(pid);
    p[3] = static_cast<std::uint8_t>((afc & 3) << 4 | (cc & 0x0F));
}

void TsPacket::SetPid(std::span<std::uint8_t> p, std::uint16_t pid) {
    if (p.size() < kHeaderSize) return;
    p[1] = static_cast<std::uint8_t>((p[1] & 0xE0) | (pid >> 8 & 0x1F));
    p[2] = static_cast<std::uint8_t>(pid);
}

void TsPacket::SetContinuityCounter(std::span<std::uint8_t> p, std::uint8_t cc) {
    if (p.size() < kHeaderSize) return;
    p[3] = static_cast<std::uint8_t>((p[3] & 0xF0) | (cc & 0x0F));
}

}  // namespace mpegts
