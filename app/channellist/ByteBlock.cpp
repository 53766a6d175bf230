#include "channellist/ByteBlock.h"

#include <stdexcept>

static_assert(sizeof(ByteBlock) == 16);

void ByteBlock::Reallocate(size_type atLeast) {
    if (atLeast > max_size()) throw std::length_error("ByteBlock zu groß");
    // Grow geometrically so that repeated push_back stays amortised O(1).
    const size_type doubled = std::min<size_type>(max_size(), capacity() * 2);
    const size_type newCapacity = std::max({atLeast, doubled, InlineCapacity + 1});
    const size_type n = size();
    auto* bytes = new std::uint8_t[newCapacity];
    if (n != 0) std::memcpy(bytes, data(), n);
    Release();
    SetHeap(bytes, n, newCapacity);
}

void ByteBlock::shrink_to_fit() {
    const size_type n = size();
    if (IsInline() || n == capacity()) return;
    std::uint8_t* old = HeapBytes();
    if (n <= InlineCapacity) {
        std::memcpy(raw_, old, n);
        raw_[15] = static_cast<std::uint8_t>(InlineTag | n);
    } else {
        auto* bytes = new std::uint8_t[n];
        std::memcpy(bytes, old, n);
        SetHeap(bytes, n, n);
    }
    delete[] old;
}

void ByteBlock::resize(size_type n, std::uint8_t value) {
    reserve(n);
    const size_type old = size();
    if (n > old) std::memset(data() + old, value, n - old);
    SetSize(n);
}

std::uint8_t& ByteBlock::at(size_type i) {
    if (i >= size()) throw std::out_of_range("ByteBlock::at");
    return data()[i];
}

const std::uint8_t& ByteBlock::at(size_type i) const {
    if (i >= size()) throw std::out_of_range("ByteBlock::at");
    return data()[i];
}

void ByteBlock::assign(size_type n, std::uint8_t value) {
    clear();
    resize(n, value);
}

void ByteBlock::AssignBytesSlow(const std::uint8_t* bytes, size_type n) {
    if (n > capacity()) {
        // Fresh buffer first: `bytes` may point into this block.
        ByteBlock grown;
        grown.Reallocate(n);
        std::memcpy(grown.HeapBytes(), bytes, n);
        grown.SetSize(n);
        *this = std::move(grown);
        return;
    }
    if (n != 0) std::memmove(data(), bytes, n);
    SetSize(n);
}

std::uint8_t* ByteBlock::OpenGap(const_iterator pos, size_type n) {
    const size_type offset = static_cast<size_type>(pos - begin());
    const size_type old = size();
    if (n > max_size() - old) throw std::length_error("ByteBlock zu groß");
    reserve(old + n);
    std::uint8_t* at = data() + offset;
    std::memmove(at + n, at, old - offset);
    SetSize(old + n);
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
    SetSize(size() - count);
    return from;
}
