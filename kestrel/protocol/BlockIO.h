#pragma once
// Bounds-checked little-endian access to a byte block at fixed offsets.
// Every access outside the block fails: reads give zero (or nothing) and set
// the sticky error flag, writes change nothing and set it.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace kestrel::protocol {

class BlockReader {
  public:
    explicit BlockReader(std::span<const std::uint8_t> block) : block_(block) {}

    std::uint8_t U8(std::size_t offset);
    std::uint16_t U16(std::size_t offset);
    std::uint32_t U32(std::size_t offset);
    std::int32_t I32(std::size_t offset) { return static_cast<std::int32_t>(U32(offset)); }

    /// Copies n bytes from offset to dst. Fails (nothing copied) when the run
    /// does not lie inside the block.
    bool Bytes(std::size_t offset, void* dst, std::size_t n);

    /// Text from offset: at most maxChars characters, stopping at the first
    /// NUL and at the end of the block. Never fails; an offset past the end
    /// gives an empty string and sets the error flag.
    std::string Text(std::size_t offset, std::size_t maxChars);

    /// Same, into a fixed character buffer of dstSize bytes (always
    /// terminated when dstSize > 0). Returns the characters copied.
    std::size_t TextInto(std::size_t offset, std::size_t maxChars, char* dst, std::size_t dstSize);

    bool ok() const { return ok_; }
    std::size_t size() const { return block_.size(); }

  private:
    bool Fits(std::size_t offset, std::size_t n) const {
        return offset <= block_.size() && n <= block_.size() - offset;
    }
    std::span<const std::uint8_t> block_;
    bool ok_ = true;
};

class BlockWriter {
  public:
    explicit BlockWriter(std::span<std::uint8_t> block) : block_(block) {}

    bool U8(std::size_t offset, std::uint8_t v);
    bool U16(std::size_t offset, std::uint16_t v);
    bool U32(std::size_t offset, std::uint32_t v);
    bool Bytes(std::size_t offset, const void* src, std::size_t n);

    bool ok() const { return ok_; }

  private:
    bool Fits(std::size_t offset, std::size_t n) const {
        return offset <= block_.size() && n <= block_.size() - offset;
    }
    std::span<std::uint8_t> block_;
    bool ok_ = true;
};

}  // namespace kestrel::protocol
