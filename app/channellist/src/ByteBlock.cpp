#include "channellist/ByteBlock.h"

#include <stdexcept>

void ByteBlock::Reallocate(size_type atLeast) {
    if (atLeast > max_size()) throw std::length_error("ByteBlock zu groß");
    // Grow geometrically so that repeated push_back stays amortised O(1).
    const size_type doubled = std::min<size_type>(max_size(), size_type{capacity_} * 2);
    const size_type newCapacity = std::max({atLeast, doubled, InlineCapacity + 1});
    auto* bytes = new std::uint8_t[newCapacity];
    if (size_ != 0) std::memcpy(bytes, data(), size_);
    Release();
    heap_ = bytes;
    capacity_ = static_cast<std::uint32_t>(newCapacity);
}

void ByteBlock::shrink_to_fit() {
    if (IsInline() || size_ == capacity_) return;
    if (size_ <= InlineCapacity) {
        std::uint8_t* bytes = heap_;
        std::memcpy(inline_, bytes, size_);
        capacity_ = InlineCapacity;
        delete[] bytes;
        return;
    }
    auto* bytes = new std::uint8_t[size_];
    std::memcpy(bytes, heap_, size_);
    delete[] heap_;
    heap_ = bytes;
    capacity_ = size_;
}

void ByteBlock::resize(size_type n, std::uint8_t value) {
    reserve(n);
    if (n > size_) std::memset(data() + size_, value, n - size_);
    size_ = static_cast<std::uint32_t>(n);
}

std::uint8_t& ByteBlock::at(size_type i) {
    if (i >= size_) throw std::out_of_range("ByteBlock::at");
    return data()[i];
}

const std::uint8_t& ByteBlock::at(size_type i) const {
    if (i >= size_) throw std::out_of_range("ByteBlock::at");
    return data()[i];
}

void ByteBlock::assign(size_type n, std::uint8_t value) {
    clear();
    resize(n, value);
}

void ByteBlock::AssignBytesSlow(const std::uint8_t* bytes, size_type n) {
    if (n > capacity_) {
        // Fresh buffer first: `bytes` may point into this block.
        ByteBlock grown;
        grown.Reallocate(n);
        std::memcpy(grown.heap_, bytes, n);
        grown.size_ = static_cast<std::uint32_t>(n);
        *this = std::move(grown);
        return;
    }
    if (n != 0) std::memmove(data(), bytes, n);
    size_ = static_cast<std::uint32_t>(n);
}

std::uint8_t* ByteBlock::OpenGap(const_iterator pos, size_type n) {
    const size_type offset = static_cast<size_type>(pos - begin());
    if (n > max_size() - size_) throw std::length_error("ByteBlock zu groß");
    reserve(size_ + n);
    std::uint8_t* at = data() + offset;
    std::memmove(at + n, at, size_ - offset);
    size_ += static_cast<std::uint32_t>(n);
    return at;
}

ByteBlock::iterator ByteBlock::insert(const_iterator pos, size_type n, std::uint8_t value) {
    std::uint8_t* at = OpenGap(pos, n);
    std::memset(at, value, n);
    return at;
}

ByteBlock::iterator ByteBlock::InsertBytes(const_iterator pos, const std::uint8_t* bytes,
                                           size_type n) {
    if (bytes >= begin() && bytes < end()) {
        // Inserting a piece of this block: copy it before the gap moves it.
        const ByteBlock piece(std::span<const std::uint8_t>(bytes, n));
        return InsertBytes(pos, piece.data(), piece.size());
    }
    std::uint8_t* at = OpenGap(pos, n);
    if (n != 0) std::memcpy(at, bytes, n);
    return at;
}

ByteBlock::iterator ByteBlock::erase(const_iterator first, const_iterator last) {
    std::uint8_t* from = begin() + (first - cbegin());
    const size_type count = static_cast<size_type>(last - first);
    std::memmove(from, from + count, static_cast<size_type>(cend() - last));
    size_ -= static_cast<std::uint32_t>(count);
    return from;
}
