#include "TeletextPacket.h"

#include <bit>

#include "Hamming.h"

namespace mpegts {
namespace {

constexpr std::uint8_t kFramingCode = 0xE4;  // as carried, bit order turned round
constexpr std::uint8_t kDataIdFirst = 0x10;
constexpr std::uint8_t kDataIdLast = 0x1F;
constexpr std::uint8_t kUnitNonSubtitle = 0x02;
constexpr std::uint8_t kUnitSubtitle = 0x03;
constexpr std::size_t kAddressAt = 2;
constexpr std::size_t kDataAt = 4;

std::optional<TeletextHeader> DecodeHeader(const std::array<std::uint8_t, 40>& d) {
    std::uint8_t h[8];
    for (std::size_t i = 0; i < 8; ++i) {
        const auto v = Hamming84Decode(d[i]);
        if (!v) return std::nullopt;
        h[i] = *v;
    }
    TeletextHeader t;
    t.units = h[0];
    t.tens = h[1];
    t.subcode = std::uint16_t(h[2] | (h[3] & 7) << 4 | h[4] << 8 | (h[5] & 3) << 12);
    t.erase = h[3] & 8;
    t.newsflash = h[5] & 4;
    t.subtitle = h[5] & 8;
    t.suppressHeader = h[6] & 1;
    t.update = h[6] & 2;
    t.interrupted = h[6] & 4;
    t.inhibitDisplay = h[6] & 8;
    t.serial = h[7] & 1;
    // C12 C13 C14 read as a binary number, C12 (sent first) the highest bit.
    t.national = std::uint8_t((h[7] >> 1 & 1) << 2 | (h[7] >> 2 & 1) << 1 | (h[7] >> 3 & 1));
    return t;
}

void DecodeEnhancement(TeletextPacket& p) {
    p.designation = Hamming84Decode(p.data[0]);
    for (std::size_t i = 0; i < p.triplets.size(); ++i) {
        const std::size_t at = 1 + 3 * i;
        const std::uint32_t code = std::uint32_t(p.data[at]) | std::uint32_t(p.data[at + 1]) << 8 |
                                   std::uint32_t(p.data[at + 2]) << 16;
        p.triplets[i] = Hamming2418Decode(code);
    }
}

}  // namespace

std::vector<std::span<const std::uint8_t>> TeletextUnits(std::span<const std::uint8_t> field) {
    std::vector<std::span<const std::uint8_t>> units;
    if (field.empty() || field[0] < kDataIdFirst || field[0] > kDataIdLast) return units;
    field = field.subspan(1);
    while (field.size() >= 2) {
        const std::uint8_t id = field[0];
        const std::size_t length = field[1];
        if (2 + length > field.size()) break;
        if ((id == kUnitNonSubtitle || id == kUnitSubtitle) && length == kTeletextUnitSize)
            units.push_back(field.subspan(2, length));
        field = field.subspan(2 + length);
    }
    return units;
}

std::optional<TeletextPacket> DecodeTeletextPacket(std::span<const std::uint8_t> unit) {
    if (unit.size() != kTeletextUnitSize || unit[1] != kFramingCode) return std::nullopt;
    const auto a = Hamming84Decode(ReverseBits(unit[kAddressAt]));
    const auto b = Hamming84Decode(ReverseBits(unit[kAddressAt + 1]));
    if (!a || !b) return std::nullopt;
    TeletextPacket p;
    p.magazine = (*a & 7) == 0 ? 8 : (*a & 7);
    p.number = (*a >> 3) | (*b << 1);
    for (std::size_t i = 0; i < p.data.size(); ++i) p.data[i] = ReverseBits(unit[kDataAt + i]);
    if (p.number == 0)
        p.header = DecodeHeader(p.data);
    else if (p.number >= 26 && p.number <= 29)
        DecodeEnhancement(p);
    return p;
}

std::optional<std::uint8_t> TeletextCharacter(std::uint8_t b) {
    if ((std::popcount(b) & 1) == 0) return std::nullopt;
    return std::uint8_t(b & 0x7F);
}

}  // namespace mpegts
