// A descriptor loop (ISO/IEC 13818-1, 2.6; ETSI EN 300 468, 6): tag, length and
// body, back to back. Iterating yields every descriptor that lies wholly inside
// the loop; one whose length runs past the end (or a lone byte at the end) stops
// the loop, and Overrun() reports it.
//
//   for (const Descriptor& d : DescriptorLoop(bytes)) { ... d.tag, d.body ... }
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <span>

namespace mpegts {

struct Descriptor {
    std::uint8_t tag = 0;
    std::span<const std::uint8_t> body;  // descriptor_length bytes
    std::size_t Length() const { return body.size(); }
};

class DescriptorLoop {
  public:
    class Iterator {
      public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = Descriptor;
        using difference_type = std::ptrdiff_t;
        using pointer = const Descriptor*;
        using reference = const Descriptor&;

        Iterator() = default;
        const Descriptor& operator*() const { return current_; }
        const Descriptor* operator->() const { return &current_; }
        Iterator& operator++();
        Iterator operator++(int) {
            Iterator before = *this;
            ++*this;
            return before;
        }
        bool operator==(const Iterator& other) const { return at_ == other.at_; }

      private:
        friend class DescriptorLoop;
        Iterator(std::span<const std::uint8_t> valid, std::size_t at);
        void Load();

        std::span<const std::uint8_t> valid_;
        std::size_t at_ = 0;
        Descriptor current_;
    };

    explicit DescriptorLoop(std::span<const std::uint8_t> loop);

    Iterator begin() const { return Iterator(loop_.first(valid_), 0); }
    Iterator end() const { return Iterator(loop_.first(valid_), valid_); }

    // The first descriptor with this tag.
    std::optional<Descriptor> Find(std::uint8_t tag) const;
    // A descriptor ran past the end of the loop.
    bool Overrun() const { return valid_ != loop_.size(); }
    // The bytes of the whole descriptors at the start of the loop.
    std::size_t ValidBytes() const { return valid_; }

  private:
    std::span<const std::uint8_t> loop_;
    std::size_t valid_ = 0;
};

}  // namespace mpegts
