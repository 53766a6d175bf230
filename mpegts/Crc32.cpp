#include "Crc32.h"

#include <array>

namespace mpegts {
namespace {

constexpr std::uint32_t kPolynomial = 0x04C11DB7u;

// One step of the register for every value of its top byte.
constexpr std::array<std::uint32_t, 256> MakeTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t crc = i << 24;
        for (int b = 0; b < 8; ++b) crc = (crc & 0x80000000u) ? (crc << 1) ^ kPolynomial : crc << 1;
        table[i] = crc;
    }
    return table;
}

constexpr std::array<std::uint32_t, 256> kTable = MakeTable();

}  // namespace

std::uint32_t Crc32Mpeg2(std::span<const std::uint8_t> data) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const std::uint8_t byte : data) crc = (crc << 8) ^ kTable[((crc >> 24) ^ byte) & 0xFFu];
    return crc;
}

bool SectionCrcValid(std::span<const std::uint8_t> section) {
    return section.size() >= 4 && Crc32Mpeg2(section) == 0;
}

}  // namespace mpegts
