// The writing twin of BitReader: big-endian bit fields appended to a byte
// buffer of bounded size. A write that does not fit sets a sticky error flag and
// writes nothing, as does every write after it. A length or CRC field can be
// written as a placeholder and patched once the bytes it covers are there:
// remember BitPosition() before it and Patch() later.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace mpegts {

class BitWriter {
  public:
    static constexpr std::size_t kUnlimited = static_cast<std::size_t>(-1);

    // At most maxBytes bytes are written.
    explicit BitWriter(std::size_t maxBytes = kUnlimited) : max_(maxBytes) {}

    // 1 to 32 bits of value (the low ones); any other count is an error.
    void Bits(unsigned count, std::uint32_t value);
    void Flag(bool on) { Bits(1, on ? 1u : 0u); }
    void U8(std::uint8_t v) { Bits(8, v); }
    void U16(std::uint16_t v) { Bits(16, v); }
    void U24(std::uint32_t v) { Bits(24, v); }
    void U32(std::uint32_t v) { Bits(32, v); }
    // The low 1 to 8 decimal digits of value as BCD.
    void Bcd(std::uint32_t value, unsigned digits);
    // Reserved bits, which MPEG and DVB set to 1.
    void Reserved(unsigned count);
    // Bytes as they are; the writer must stand on a byte boundary.
    void Bytes(std::span<const std::uint8_t> bytes);

    // Overwrites count bits at an earlier bit position (a length, a CRC). A
    // value that does not fit in count bits is an error, not cut short.
    void Patch(std::size_t bitPosition, unsigned count, std::uint32_t value);

    std::size_t BitPosition() const { return bits_; }
    // Bytes written, a started byte counted as a whole.
    std::size_t Size() const { return bytes_.size(); }
    bool ByteAligned() const { return bits_ % 8 == 0; }
    bool Ok() const { return !error_; }
    bool Error() const { return error_; }
    std::span<const std::uint8_t> Data() const { return bytes_; }

  private:
    bool Room(std::size_t bits);
    void Put(std::size_t at, unsigned count, std::uint32_t value);

    std::vector<std::uint8_t> bytes_;
    std::size_t bits_ = 0;
    std::size_t max_;
    bool error_ = false;
};

}  // namespace mpegts
