// The byte protection of teletext (ETS 300 706, 8.2 and 8.3). Bits are numbered
// in the order of transmission: b1, the first bit sent, is bit 0 here. DVB
// carries teletext bytes with the bit order turned round (ETSI EN 300 472), so
// a byte from a PES goes through ReverseBits() first.
//
// Hamming 8/4: P1 D1 P2 D2 P3 D3 P4 D4 (b1..b8), every test odd parity.
// Hamming 24/18: three bytes as one 24-bit word, the first byte in bits 0-7;
// P1 P2 at b1 b2, P3 at b4, P4 at b8, P5 at b16, P6 (over all 24 bits) at b24,
// the data bits D1..D18 in the other places in order.
//
// Decoding corrects one wrong bit and refuses two: nothing is returned then.
#pragma once

#include <cstdint>
#include <optional>

namespace mpegts {

std::uint8_t ReverseBits(std::uint8_t b);
// A 7-bit character with bit 7 set or cleared so that the byte has odd parity.
std::uint8_t OddParity(std::uint8_t c);

std::uint8_t Hamming84Encode(std::uint8_t data4);
std::optional<std::uint8_t> Hamming84Decode(std::uint8_t code);

std::uint32_t Hamming2418Encode(std::uint32_t data18);
std::optional<std::uint32_t> Hamming2418Decode(std::uint32_t code24);

}  // namespace mpegts
