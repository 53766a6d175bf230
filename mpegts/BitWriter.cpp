#include "BitWriter.h"

namespace mpegts {

bool BitWriter::Room(std::size_t bits) {
    if (error_) return false;
    const std::size_t bytesAfter = (bits_ + bits + 7) / 8;
    if (bytesAfter > max_) error_ = true;
    return !error_;
}

void BitWriter::Put(std::size_t at, unsigned count, std::uint32_t value) {
    // Most significant bit first, at bit position at of the buffer.
    for (unsigned i = 0; i < count; ++i) {
        const std::size_t bit = at + i;
        const std::uint8_t mask = static_cast<std::uint8_t>(0x80u >> (bit % 8));
        if ((value >> (count - 1 - i)) & 1u)
            bytes_[bit / 8] = static_cast<std::uint8_t>(bytes_[bit / 8] | mask);
        else
            bytes_[bit / 8] = static_cast<std::uint8_t>(bytes_[bit / 8] & ~mask);
    }
}

void BitWriter::Bits(unsigned count, std::uint32_t value) {
    if (count == 0 || count > 32) {
        error_ = true;
        return;
    }
    if (!Room(count)) return;
    if (bits_ % 8 == 0 && count % 8 == 0) {  // whole bytes: the common case
        for (unsigned shift = count; shift > 0; shift -= 8)
            bytes_.push_back(static_cast<std::uint8_t>(value >> (shift - 8)));
        bits_ += count;
        return;
    }
    bytes_.resize((bits_ + count + 7) / 8, 0);
    Put(bits_, count, value);
    bits_ += count;
}

void BitWriter::Bcd(std::uint32_t value, unsigned digits) {
    if (digits == 0 || digits > 8) {
        error_ = true;
        return;
    }
    std::uint32_t bcd = 0;
    for (unsigned i = 0; i < digits; ++i) {
        bcd |= (value % 10) << (4 * i);
        value /= 10;
    }
    Bits(4 * digits, bcd);
}

void BitWriter::Reserved(unsigned count) {
    while (count > 0) {
        const unsigned n = count < 32 ? count : 32;
        Bits(n, 0xFFFFFFFFu);
        count -= n;
    }
}

void BitWriter::Bytes(std::span<const std::uint8_t> bytes) {
    if (!ByteAligned()) error_ = true;
    if (!Room(bytes.size() * 8)) return;
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    bits_ += bytes.size() * 8;
}

void BitWriter::Patch(std::size_t bitPosition, unsigned count, std::uint32_t value) {
    if (error_) return;
    const bool badCount = count == 0 || count > 32;
    const bool tooBig = !badCount && count < 32 && (value >> count) != 0;
    if (badCount || tooBig || bitPosition > bits_ || count > bits_ - bitPosition) {
        error_ = true;
        return;
    }
    Put(bitPosition, count, value);
}

}  // namespace mpegts
