#pragma once
// One request to the server: the command code and the fields it writes into
// the parameter block. Fields are staged here, bounds-checked against the
// 408-byte block; a request with a field outside the block is not sent.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "kestrel/protocol/Commands.h"
#include "kestrel/protocol/ParamBlock.h"

namespace kestrel {

class Request {
  public:
    explicit Request(protocol::Command command) : code_(protocol::Code(command)) {}

    /// A 32-bit slot (byte and 16-bit arguments are zero-extended into it).
    Request& Slot(std::size_t offset, std::uint32_t value);
    /// The same under the name the block codecs write through.
    Request& U32(std::size_t offset, std::uint32_t value) { return Slot(offset, value); }
    Request& Byte(std::size_t offset, std::uint8_t value);
    Request& Bytes(std::size_t offset, const void* data, std::size_t n);

    /// False when a field did not fit the block.
    bool ok() const { return ok_; }
    std::uint16_t code() const { return code_; }

    /// Writes the code and the fields; nothing else of the block changes.
    void WriteTo(std::span<std::uint8_t> block) const;

  private:
    struct Range {
        std::uint16_t offset, length;
    };
    static constexpr std::size_t kMaxRanges = 24;
    bool Stage(std::size_t offset, const void* data, std::size_t n);

    std::uint16_t code_;
    bool ok_ = true;
    std::size_t rangeCount_ = 0;
    std::array<Range, kMaxRanges> ranges_{};
    std::array<std::uint8_t, protocol::kParamBlockSize> staging_{};
};

}  // namespace kestrel
