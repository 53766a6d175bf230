#include "kestrel/CDescriptorLoop.h"

#include <algorithm>

CDescriptorLoop::CDescriptorLoop(std::span<const std::uint8_t> bytes) { SetData(bytes); }

void CDescriptorLoop::SetData(std::span<const std::uint8_t> bytes) {
    data_.assign(bytes.begin(), bytes.end());
    cursor_ = 0;
}

bool CDescriptorLoop::NextAt(std::size_t& cursor, std::uint8_t& tag, std::uint8_t& length,
                             const std::uint8_t*& data) const {
    if (cursor + 2 > data_.size()) return false;
    tag = data_[cursor];
    const std::size_t rest = data_.size() - cursor - 2;
    length = static_cast<std::uint8_t>(std::min<std::size_t>(data_[cursor + 1], rest));
    data = data_.data() + cursor + 2;
    cursor += 2u + length;
    return true;
}

bool CDescriptorLoop::GetNextDescriptor(std::uint8_t& tag, std::uint8_t& length,
                                        const std::uint8_t*& data) {
    return NextAt(cursor_, tag, length, data);
}

void CDescriptorLoop::Store(std::vector<std::uint8_t>& out) const {
    const std::size_t n = data_.size();
    auto put16 = [&out](std::uint32_t v) {
        out.push_back(static_cast<std::uint8_t>(v));
        out.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    if (n < 0xFFFF) {
        put16(static_cast<std::uint32_t>(n));
    } else {
        put16(0xFFFF);
        put16(static_cast<std::uint32_t>(n) & 0xFFFF);
        put16(static_cast<std::uint32_t>(n >> 16));
    }
    out.insert(out.end(), data_.begin(), data_.end());
}

bool CDescriptorLoop::Load(std::span<const std::uint8_t> in, std::size_t& pos) {
    std::size_t at = pos;
    auto get16 = [&](std::uint32_t& v) {
        if (at > in.size() || in.size() - at < 2) return false;
        v = in[at] | static_cast<std::uint32_t>(in[at + 1]) << 8;
        at += 2;
        return true;
    };
    std::uint32_t n = 0;
    if (!get16(n)) return false;
    if (n == 0xFFFF) {
        std::uint32_t low = 0, high = 0;
        if (!get16(low) || !get16(high)) return false;
        n = low | high << 16;
    }
    if (in.size() - at < n) return false;
    SetData(in.subspan(at, n));
    pos = at + n;
    return true;
}
