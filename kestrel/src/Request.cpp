#include "Request.h"

#include <cstring>

#include "kestrel/protocol/BlockIO.h"

namespace kestrel {

bool Request::Stage(std::size_t offset, const void* data, std::size_t n) {
    if (!ok_) return false;
    if (offset < protocol::kFirstSlotOffset || offset > staging_.size() ||
        n > staging_.size() - offset || rangeCount_ == kMaxRanges) {
        ok_ = false;
        return false;
    }
    if (n) std::memcpy(staging_.data() + offset, data, n);
    ranges_[rangeCount_++] = {static_cast<std::uint16_t>(offset), static_cast<std::uint16_t>(n)};
    return true;
}

Request& Request::Slot(std::size_t offset, std::uint32_t value) {
    const std::uint8_t b[4] = {
        static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
        static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
    Stage(offset, b, 4);
    return *this;
}

Request& Request::Byte(std::size_t offset, std::uint8_t value) {
    Stage(offset, &value, 1);
    return *this;
}

Request& Request::Bytes(std::size_t offset, const void* data, std::size_t n) {
    Stage(offset, data, n);
    return *this;
}

void Request::WriteTo(std::span<std::uint8_t> block) const {
    protocol::BlockWriter w(block);
    w.U16(protocol::kCommandOffset, code_);
    for (std::size_t i = 0; i < rangeCount_; ++i)
        w.Bytes(ranges_[i].offset, staging_.data() + ranges_[i].offset, ranges_[i].length);
}

}  // namespace kestrel
