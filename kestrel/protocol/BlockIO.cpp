#include "kestrel/protocol/BlockIO.h"

#include <algorithm>
#include <cstring>

namespace kestrel::protocol {

std::uint8_t BlockReader::U8(std::size_t offset) {
    if (!Fits(offset, 1)) {
        ok_ = false;
        return 0;
    }
    return block_[offset];
}

std::uint16_t BlockReader::U16(std::size_t offset) {
    if (!Fits(offset, 2)) {
        ok_ = false;
        return 0;
    }
    return static_cast<std::uint16_t>(block_[offset] | (block_[offset + 1] << 8));
}

std::uint32_t BlockReader::U32(std::size_t offset) {
    if (!Fits(offset, 4)) {
        ok_ = false;
        return 0;
    }
    return static_cast<std::uint32_t>(block_[offset]) |
           (static_cast<std::uint32_t>(block_[offset + 1]) << 8) |
           (static_cast<std::uint32_t>(block_[offset + 2]) << 16) |
           (static_cast<std::uint32_t>(block_[offset + 3]) << 24);
}

bool BlockReader::Bytes(std::size_t offset, void* dst, std::size_t n) {
    if (!Fits(offset, n)) {
        ok_ = false;
        return false;
    }
    if (n) std::memcpy(dst, block_.data() + offset, n);
    return true;
}

std::string BlockReader::Text(std::size_t offset, std::size_t maxChars) {
    std::string out;
    if (offset >= block_.size()) {
        if (offset > block_.size()) ok_ = false;
        return out;
    }
    const std::size_t limit = std::min(maxChars, block_.size() - offset);
    for (std::size_t i = 0; i < limit && block_[offset + i] != 0; ++i)
        out.push_back(static_cast<char>(block_[offset + i]));
    return out;
}

std::size_t BlockReader::TextInto(std::size_t offset, std::size_t maxChars, char* dst,
                                  std::size_t dstSize) {
    if (dstSize == 0) return 0;
    const std::string t = Text(offset, std::min(maxChars, dstSize - 1));
    std::memcpy(dst, t.data(), t.size());
    dst[t.size()] = '\0';
    return t.size();
}

bool BlockWriter::U8(std::size_t offset, std::uint8_t v) { return Bytes(offset, &v, 1); }

bool BlockWriter::U16(std::size_t offset, std::uint16_t v) {
    const std::uint8_t b[2] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)};
    return Bytes(offset, b, 2);
}

bool BlockWriter::U32(std::size_t offset, std::uint32_t v) {
    const std::uint8_t b[4] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                               static_cast<std::uint8_t>(v >> 16),
                               static_cast<std::uint8_t>(v >> 24)};
    return Bytes(offset, b, 4);
}

bool BlockWriter::Bytes(std::size_t offset, const void* src, std::size_t n) {
    if (!Fits(offset, n)) {
        ok_ = false;
        return false;
    }
    if (n) std::memcpy(block_.data() + offset, src, n);
    return true;
}

}  // namespace kestrel::protocol
