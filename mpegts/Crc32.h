// CRC-32/MPEG-2 (ISO/IEC 13818-1, annex A): polynomial 0x04C11DB7, initial value
// 0xFFFFFFFF, no reflection, no final inversion. The last four bytes of a PSI/SI
// section carry it so that the CRC over the whole section is 0.
#pragma once

#include <cstdint>
#include <span>

namespace mpegts {

std::uint32_t Crc32Mpeg2(std::span<const std::uint8_t> data);

// True when a section (header to CRC_32 inclusive) carries a valid CRC.
bool SectionCrcValid(std::span<const std::uint8_t> section);

}  // namespace mpegts
