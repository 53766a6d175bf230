#include "Hamming.h"

#include <bit>

namespace mpegts {
namespace {

bool OddOnes(std::uint32_t v) { return (std::popcount(v) & 1) != 0; }

// Hamming 8/4: the bits each test covers (b1 = bit 0).
constexpr std::uint8_t kTestA = 0xA3;  // b1 b2 b6 b8
constexpr std::uint8_t kTestB = 0x8E;  // b2 b3 b4 b8
constexpr std::uint8_t kTestC = 0x3A;  // b2 b4 b5 b6

// Hamming 24/18: the data bits' positions (b1 = bit 0) in order D1..D18.
constexpr std::uint8_t kDataBit[18] = {2,  4,  5,  6,  8,  9,  10, 11, 12,
                                       13, 14, 16, 17, 18, 19, 20, 21, 22};
constexpr unsigned kParity6 = 23;  // b24

// Test k (k = 0..4) of Hamming 24/18 covers the bits b1..b23 whose number has
// bit k set; bit n of the mask is b(n+1).
constexpr std::uint32_t CoverMask(unsigned k) {
    std::uint32_t m = 0;
    for (unsigned n = 1; n <= 23; ++n)
        if (n >> k & 1u) m |= 1u << (n - 1);
    return m;
}

std::uint32_t Syndrome2418(std::uint32_t code) {
    std::uint32_t s = 0;
    for (unsigned k = 0; k < 5; ++k)
        if (!OddOnes(code & CoverMask(k))) s |= 1u << k;
    return s;  // the number of the wrong bit b1..b23, 0 when every test holds
}

std::uint32_t Data2418(std::uint32_t code) {
    std::uint32_t data = 0;
    for (unsigned i = 0; i < 18; ++i) data |= (code >> kDataBit[i] & 1u) << i;
    return data;
}

}  // namespace

std::uint8_t ReverseBits(std::uint8_t b) {
    b = static_cast<std::uint8_t>((b & 0xF0) >> 4 | (b & 0x0F) << 4);
    b = static_cast<std::uint8_t>((b & 0xCC) >> 2 | (b & 0x33) << 2);
    return static_cast<std::uint8_t>((b & 0xAA) >> 1 | (b & 0x55) << 1);
}

std::uint8_t OddParity(std::uint8_t c) {
    const std::uint8_t v = c & 0x7F;
    return static_cast<std::uint8_t>(v | (OddOnes(v) ? 0 : 0x80));
}

std::uint8_t Hamming84Encode(std::uint8_t d) {
    const unsigned d1 = d & 1u, d2 = d >> 1 & 1u, d3 = d >> 2 & 1u, d4 = d >> 3 & 1u;
    const unsigned p1 = 1 ^ d1 ^ d3 ^ d4, p2 = 1 ^ d1 ^ d2 ^ d4, p3 = 1 ^ d1 ^ d2 ^ d3;
    const unsigned b = p1 | d1 << 1 | p2 << 2 | d2 << 3 | p3 << 4 | d3 << 5 | d4 << 7;
    const unsigned p4 = OddOnes(b) ? 0u : 1u;
    return static_cast<std::uint8_t>(b | p4 << 6);
}

std::optional<std::uint8_t> Hamming84Decode(std::uint8_t b) {
    const bool failA = !OddOnes(b & kTestA);
    const bool failB = !OddOnes(b & kTestB);
    const bool failC = !OddOnes(b & kTestC);
    std::uint8_t data = static_cast<std::uint8_t>((b >> 1 & 1) | (b >> 3 & 1) << 1 |
                                                  (b >> 5 & 1) << 2 | (b >> 7 & 1) << 3);
    if (!failA && !failB && !failC) return data;  // at most P4 was hit
    if (OddOnes(b)) return std::nullopt;          // two bits wrong
    // One bit wrong: the tests that fail tell which.
    if (failA && failB && failC)
        data ^= 1;
    else if (failB && failC)
        data ^= 2;
    else if (failA && failC)
        data ^= 4;
    else if (failA && failB)
        data ^= 8;
    return data;  // otherwise a parity bit was hit
}

std::uint32_t Hamming2418Encode(std::uint32_t data) {
    std::uint32_t code = 0;
    for (unsigned i = 0; i < 18; ++i) code |= (data >> i & 1u) << kDataBit[i];
    // P1..P5 sit at b1, b2, b4, b8, b16; each makes its test odd.
    for (unsigned k = 0; k < 5; ++k)
        if (!OddOnes(code & CoverMask(k))) code |= 1u << ((1u << k) - 1);
    if (!OddOnes(code)) code |= 1u << kParity6;
    return code;
}

std::optional<std::uint32_t> Hamming2418Decode(std::uint32_t code) {
    code &= 0xFFFFFFu;
    const std::uint32_t wrong = Syndrome2418(code);
    const bool allOdd = OddOnes(code);
    if (wrong == 0) return Data2418(code);          // at most P6 was hit
    if (allOdd || wrong > 23) return std::nullopt;  // two (or more) bits wrong
    return Data2418(code ^ (1u << (wrong - 1)));
}

}  // namespace mpegts
