#include "DescriptorLoop.h"

namespace mpegts {

DescriptorLoop::DescriptorLoop(std::span<const std::uint8_t> loop) : loop_(loop) {
    // Walk once to find where the whole descriptors end.
    std::size_t at = 0;
    while (loop_.size() - at >= 2) {
        const std::size_t next = at + 2 + loop_[at + 1];
        if (next > loop_.size()) break;
        at = next;
    }
    valid_ = at;
}

std::optional<Descriptor> DescriptorLoop::Find(std::uint8_t tag) const {
    for (const Descriptor& d : *this)
        if (d.tag == tag) return d;
    return std::nullopt;
}

DescriptorLoop::Iterator::Iterator(std::span<const std::uint8_t> valid, std::size_t at)
    : valid_(valid), at_(at) {
    Load();
}

void DescriptorLoop::Iterator::Load() {
    // valid_ holds whole descriptors only, so the length always fits.
    if (at_ >= valid_.size()) return;
    current_.tag = valid_[at_];
    current_.body = valid_.subspan(at_ + 2, valid_[at_ + 1]);
}

DescriptorLoop::Iterator& DescriptorLoop::Iterator::operator++() {
    at_ += 2 + valid_[at_ + 1];
    Load();
    return *this;
}

}  // namespace mpegts
