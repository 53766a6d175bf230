#pragma once
#include <algorithm>
#include <bit>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <span>
#include <vector>

/// Raw bytes carried verbatim (descriptor loops, program data blocks).
///
/// A byte vector that keeps up to InlineCapacity bytes inside the object and
/// only goes to the heap for longer blocks: a descriptor loop is usually a
/// handful of bytes, and a channel list holds several per program, so most
/// blocks never allocate. The interface is that of std::vector<std::uint8_t>
/// (contiguous, pointer iterators, so std::span converts from it).
///
/// Sixteen bytes in all, so that a stream record stays small: inline, bytes
/// 0-14 hold the data and byte 15 is 0x80 | size; on the heap, bytes 0-7
/// hold the pointer, 8-11 the size and 12-15 the capacity, below 2^31, so
/// that byte 15 (the capacity's top byte) tells the two apart.
class ByteBlock {
    static_assert(std::endian::native == std::endian::little);

  public:
    using value_type = std::uint8_t;
    using size_type = std::size_t;
    using difference_type = std::ptrdiff_t;
    using reference = std::uint8_t&;
    using const_reference = const std::uint8_t&;
    using pointer = std::uint8_t*;
    using const_pointer = const std::uint8_t*;
    using iterator = std::uint8_t*;
    using const_iterator = const std::uint8_t*;
    using reverse_iterator = std::reverse_iterator<iterator>;
    using const_reverse_iterator = std::reverse_iterator<const_iterator>;

    static constexpr size_type InlineCapacity = 15;

    ByteBlock() noexcept = default;
    explicit ByteBlock(size_type n) { resize(n); }
    ByteBlock(size_type n, std::uint8_t value) { assign(n, value); }
    template <std::input_iterator It>
    ByteBlock(It first, It last) {
        assign(first, last);
    }
    ByteBlock(std::initializer_list<std::uint8_t> init) { AssignBytes(init.begin(), init.size()); }
    /// Implicit, so that code holding a std::vector of bytes can assign it.
    ByteBlock(const std::vector<std::uint8_t>& bytes) { AssignBytes(bytes.data(), bytes.size()); }
    explicit ByteBlock(std::span<const std::uint8_t> bytes) {
        AssignBytes(bytes.data(), bytes.size());
    }
    ByteBlock(const ByteBlock& other) { AssignBytes(other.data(), other.size()); }
    ByteBlock(ByteBlock&& other) noexcept { TakeFrom(other); }
    ~ByteBlock() { Release(); }

    ByteBlock& operator=(const ByteBlock& other) {
        if (this != &other) AssignBytes(other.data(), other.size());
        return *this;
    }
    ByteBlock& operator=(ByteBlock&& other) noexcept {
        if (this != &other) {
            Release();
            TakeFrom(other);
        }
        return *this;
    }
    ByteBlock& operator=(std::initializer_list<std::uint8_t> init) {
        AssignBytes(init.begin(), init.size());
        return *this;
    }

    // ---- size and storage ----
    size_type size() const noexcept { return IsInline() ? raw_[15] & 0x7F : Word32(8); }
    bool empty() const noexcept { return size() == 0; }
    size_type capacity() const noexcept { return IsInline() ? InlineCapacity : Word32(12); }
    static constexpr size_type max_size() noexcept { return 0x7FFFFFFFu; }
    std::uint8_t* data() noexcept { return IsInline() ? raw_ : HeapBytes(); }
    const std::uint8_t* data() const noexcept { return IsInline() ? raw_ : HeapBytes(); }
    void reserve(size_type n) {
        if (n > capacity()) Reallocate(n);
    }
    void shrink_to_fit();
    void resize(size_type n) { resize(n, 0); }
    void resize(size_type n, std::uint8_t value);
    void clear() noexcept { SetSize(0); }

    // ---- element access ----
    std::uint8_t& operator[](size_type i) noexcept { return data()[i]; }
    const std::uint8_t& operator[](size_type i) const noexcept { return data()[i]; }
    std::uint8_t& at(size_type i);
    const std::uint8_t& at(size_type i) const;
    std::uint8_t& front() noexcept { return data()[0]; }
    const std::uint8_t& front() const noexcept { return data()[0]; }
    std::uint8_t& back() noexcept { return data()[size() - 1]; }
    const std::uint8_t& back() const noexcept { return data()[size() - 1]; }

    // ---- iteration ----
    iterator begin() noexcept { return data(); }
    iterator end() noexcept { return data() + size(); }
    const_iterator begin() const noexcept { return data(); }
    const_iterator end() const noexcept { return data() + size(); }
    const_iterator cbegin() const noexcept { return begin(); }
    const_iterator cend() const noexcept { return end(); }
    reverse_iterator rbegin() noexcept { return reverse_iterator(end()); }
    reverse_iterator rend() noexcept { return reverse_iterator(begin()); }
    const_reverse_iterator rbegin() const noexcept { return const_reverse_iterator(end()); }
    const_reverse_iterator rend() const noexcept { return const_reverse_iterator(begin()); }

    // ---- modifiers ----
    void assign(size_type n, std::uint8_t value);
    void assign(std::initializer_list<std::uint8_t> init) {
        AssignBytes(init.begin(), init.size());
    }
    template <std::input_iterator It>
    void assign(It first, It last) {
        if constexpr (std::contiguous_iterator<It> && sizeof(std::iter_value_t<It>) == 1) {
            AssignBytes(reinterpret_cast<const std::uint8_t*>(std::to_address(first)),
                        static_cast<size_type>(last - first));
        } else {
            clear();
            for (; first != last; ++first) push_back(static_cast<std::uint8_t>(*first));
        }
    }
    /// Replaces the contents with `n` bytes copied from `bytes`.
    void AssignBytes(const std::uint8_t* bytes, size_type n) {
        if (n <= InlineCapacity && IsInline() && !Overlaps(bytes)) {
            CopySmall(raw_, bytes, n);
            raw_[15] = static_cast<std::uint8_t>(InlineTag | n);
        } else {
            AssignBytesSlow(bytes, n);
        }
    }

    void push_back(std::uint8_t value) {
        const size_type n = size();
        if (n == capacity()) Reallocate(n + 1);
        data()[n] = value;
        SetSize(n + 1);
    }
    std::uint8_t& emplace_back(std::uint8_t value) {
        push_back(value);
        return back();
    }
    void pop_back() noexcept { SetSize(size() - 1); }

    iterator insert(const_iterator pos, std::uint8_t value) { return insert(pos, 1, value); }
    iterator insert(const_iterator pos, size_type n, std::uint8_t value);
    iterator insert(const_iterator pos, std::initializer_list<std::uint8_t> init) {
        return InsertBytes(pos, init.begin(), init.size());
    }
    template <std::input_iterator It>
    iterator insert(const_iterator pos, It first, It last) {
        if constexpr (std::contiguous_iterator<It> && sizeof(std::iter_value_t<It>) == 1) {
            return InsertBytes(pos, reinterpret_cast<const std::uint8_t*>(std::to_address(first)),
                               static_cast<size_type>(last - first));
        } else {
            const ByteBlock copied(first, last);
            return InsertBytes(pos, copied.data(), copied.size());
        }
    }
    iterator erase(const_iterator pos) { return erase(pos, pos + 1); }
    iterator erase(const_iterator first, const_iterator last);

    void swap(ByteBlock& other) noexcept {
        ByteBlock moved(std::move(other));
        other = std::move(*this);
        *this = std::move(moved);
    }
    friend void swap(ByteBlock& a, ByteBlock& b) noexcept { a.swap(b); }

    friend bool operator==(const ByteBlock& a, const ByteBlock& b) noexcept {
        const size_type n = a.size();
        return n == b.size() && (n == 0 || std::memcmp(a.data(), b.data(), n) == 0);
    }
    friend std::strong_ordering operator<=>(const ByteBlock& a, const ByteBlock& b) noexcept {
        return std::lexicographical_compare_three_way(a.begin(), a.end(), b.begin(), b.end());
    }

  private:
    friend class CArchiveReader;
    static constexpr std::uint8_t InlineTag = 0x80;

    /// Replaces the inline contents with the first `n` (at most 15) of the
    /// 16 readable bytes at `bytes`, in one 16-byte copy. Only for a block
    /// that holds no heap buffer; the bytes past `n` are never read as data.
    void AssignInlineFrom16(const std::uint8_t* bytes, size_type n) noexcept {
        std::memcpy(raw_, bytes, 16);
        raw_[15] = static_cast<std::uint8_t>(InlineTag | n);
    }

    bool IsInline() const noexcept { return (raw_[15] & InlineTag) != 0; }
    std::uint32_t Word32(std::size_t at) const noexcept {
        std::uint32_t v;
        std::memcpy(&v, raw_ + at, 4);
        return v;
    }
    std::uint8_t* HeapBytes() const noexcept {
        std::uint8_t* p;
        std::memcpy(&p, raw_, sizeof p);
        return p;
    }
    void SetHeap(std::uint8_t* bytes, size_type size, size_type capacity) noexcept {
        const auto n = static_cast<std::uint32_t>(size);
        const auto c = static_cast<std::uint32_t>(capacity);
        std::memcpy(raw_, &bytes, sizeof bytes);
        std::memcpy(raw_ + 8, &n, 4);
        std::memcpy(raw_ + 12, &c, 4);
    }
    void SetSize(size_type n) noexcept {
        if (IsInline()) {
            raw_[15] = static_cast<std::uint8_t>(InlineTag | n);
        } else {
            const auto v = static_cast<std::uint32_t>(n);
            std::memcpy(raw_ + 8, &v, 4);
        }
    }
    void ResetInline() noexcept { raw_[15] = InlineTag; }
    bool Overlaps(const std::uint8_t* bytes) const noexcept {
        return std::less_equal<>()(data(), bytes) && std::less<>()(bytes, data() + capacity());
    }
    /// Copies up to 16 bytes without a library call: two overlapping moves
    /// of the largest width that fits cover every length.
    static void CopySmall(std::uint8_t* to, const std::uint8_t* from, size_type n) noexcept {
        if (n >= 8) {
            std::memcpy(to, from, 8);
            std::memcpy(to + n - 8, from + n - 8, 8);
        } else if (n >= 4) {
            std::memcpy(to, from, 4);
            std::memcpy(to + n - 4, from + n - 4, 4);
        } else if (n != 0) {
            to[0] = from[0];
            to[n / 2] = from[n / 2];
            to[n - 1] = from[n - 1];
        }
    }
    void AssignBytesSlow(const std::uint8_t* bytes, size_type n);
    void Reallocate(size_type atLeast);
    /// Makes room for `n` bytes at `pos` and returns where they go.
    std::uint8_t* OpenGap(const_iterator pos, size_type n);
    iterator InsertBytes(const_iterator pos, const std::uint8_t* bytes, size_type n);
    void Release() noexcept {
        if (!IsInline()) delete[] HeapBytes();
    }
    /// Takes `other`'s bytes (its heap buffer, or a copy of its inline
    /// bytes) and leaves it empty and inline. `*this` must hold no buffer.
    void TakeFrom(ByteBlock& other) noexcept {
        std::memcpy(raw_, other.raw_, sizeof raw_);
        std::memset(other.raw_, 0, sizeof other.raw_);
        other.ResetInline();
    }

    alignas(8) std::uint8_t raw_[16] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, InlineTag};
};
