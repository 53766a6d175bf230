// A bounds-checked sequential reader of bit fields over a byte span, most
// significant bit first as MPEG and DVB tables write them. Reading past the end
// sets a sticky error flag: that read and every later one yield 0 (or an empty
// span), so a parser can read a whole structure as a straight list of fields
// and check Ok() once at the end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace mpegts {

class BitReader {
  public:
    explicit BitReader(std::span<const std::uint8_t> data) : data_(data) {}

    // 1 to 32 bits; any other count is an error.
    std::uint32_t Bits(unsigned count);
    bool Flag() { return Bits(1) != 0; }
    std::uint8_t U8() { return static_cast<std::uint8_t>(Bits(8)); }
    std::uint16_t U16() { return static_cast<std::uint16_t>(Bits(16)); }
    std::uint32_t U24() { return Bits(24); }
    std::uint32_t U32() { return Bits(32); }
    // A number of 1 to 8 BCD digits; a digit above 9 is an error.
    std::uint32_t Bcd(unsigned digits);
    // Exp-Golomb codes of H.264 and H.265 (ue(v), se(v)): n zero bits, a one
    // and n more bits. More than 31 leading zeros do not fit and are an error.
    std::uint32_t ExpGolomb();
    std::int32_t SignedExpGolomb();

    void Skip(std::size_t bits);
    void SkipBytes(std::size_t bytes);
    // The next n bytes; the reader must stand on a byte boundary.
    std::span<const std::uint8_t> Bytes(std::size_t n);
    // Everything from the current byte boundary to the end.
    std::span<const std::uint8_t> Rest() { return Bytes(BytesLeft()); }

    std::size_t BitsLeft() const { return data_.size() * 8 - bit_; }
    std::size_t BytesLeft() const { return BitsLeft() / 8; }
    std::size_t BitPosition() const { return bit_; }
    bool ByteAligned() const { return bit_ % 8 == 0; }
    bool Ok() const { return !error_; }
    bool Error() const { return error_; }

  private:
    bool Need(std::size_t bits);
    void Fail();

    std::span<const std::uint8_t> data_;
    std::size_t bit_ = 0;
    bool error_ = false;
};

}  // namespace mpegts
