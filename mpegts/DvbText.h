// Text fields of DVB descriptors (ETSI EN 300 468, annex A) to UTF-8: event
// names and texts, service and network names.
//
// The first byte selects the character table when it is below 0x20:
//   none          the default table, ISO/IEC 6937 with the euro sign (Iso6937.h)
//   0x01-0x0B     ISO 8859-5 to -15 (0x01 is 8859-5; 0x08 is reserved)
//   0x10 0x00 N   ISO 8859-N, N 1 to 15
//   0x11          UCS-2 big-endian (the Basic Multilingual Plane)
//   0x12-0x14     KS X 1001, GB2312, Big5, through the C library's iconv
//   0x15          UTF-8
//   0x1F          an encoding_type_id byte follows: an unknown table
// An unknown or reserved table, or one the C library lacks, keeps the ASCII
// bytes and gives U+FFFD for every other byte. Bytes no table defines and
// broken UTF-8 or UCS-2 become U+FFFD as well, so the result is always valid
// UTF-8.
//
// Control codes: 0x8A (U+E08A in the two-byte tables) is a line break "\n";
// the other codes 0x80-0x9F (U+E080-U+E09F), the emphasis switches 0x86/0x87
// among them, and 0x00 bytes are dropped.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace mpegts {

std::string DecodeDvbText(std::span<const std::uint8_t> field);

}  // namespace mpegts
