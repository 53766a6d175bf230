#include "BitReader.h"

namespace mpegts {

void BitReader::Fail() {
    error_ = true;
    bit_ = data_.size() * 8;
}

bool BitReader::Need(std::size_t bits) {
    if (error_) return false;
    if (bits > BitsLeft()) {
        Fail();
        return false;
    }
    return true;
}

std::uint32_t BitReader::Bits(unsigned count) {
    if (count == 0 || count > 32) {
        Fail();
        return 0;
    }
    if (!Need(count)) return 0;
    std::uint32_t v = 0;
    unsigned left = count;
    while (left > 0) {
        const unsigned inByte = 8 - bit_ % 8;  // bits still unread in the current byte
        const unsigned take = left < inByte ? left : inByte;
        const std::uint8_t byte = data_[bit_ / 8];
        const unsigned shift = inByte - take;
        const std::uint32_t part = (byte >> shift) & ((1u << take) - 1u);
        v = (v << take) | part;
        bit_ += take;
        left -= take;
    }
    return v;
}

std::uint32_t BitReader::Bcd(unsigned digits) {
    if (digits == 0 || digits > 8) {
        Fail();
        return 0;
    }
    std::uint32_t v = 0;
    for (unsigned i = 0; i < digits; ++i) {
        const std::uint32_t d = Bits(4);
        if (d > 9) {
            Fail();
            return 0;
        }
        v = v * 10 + d;
    }
    return error_ ? 0 : v;
}

std::uint32_t BitReader::ExpGolomb() {
    unsigned zeros = 0;
    while (!error_ && Bits(1) == 0) {
        if (++zeros > 31) {
            Fail();
            return 0;
        }
    }
    if (error_) return 0;
    if (zeros == 0) return 0;
    const std::uint32_t rest = Bits(zeros);
    return error_ ? 0 : (1u << zeros) - 1u + rest;
}

std::int32_t BitReader::SignedExpGolomb() {
    // 0, 1, -1, 2, -2, ...: odd codes are positive.
    const std::uint32_t k = ExpGolomb();
    const auto magnitude = static_cast<std::int32_t>(k / 2 + k % 2);
    return k % 2 ? magnitude : -magnitude;
}

void BitReader::Skip(std::size_t bits) {
    if (Need(bits)) bit_ += bits;
}

void BitReader::SkipBytes(std::size_t bytes) {
    if (bytes > BytesLeft()) {
        Fail();
        return;
    }
    Skip(bytes * 8);
}

std::span<const std::uint8_t> BitReader::Bytes(std::size_t n) {
    if (!ByteAligned() || error_ || n > BytesLeft()) {
        Fail();
        return {};
    }
    const auto out = data_.subspan(bit_ / 8, n);
    bit_ += n * 8;
    return out;
}

}  // namespace mpegts
