#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "channellist/CProgramInfo.h"

/// The block of copied programs that travels through the clipboard:
///
///   offset 0: number N of programs, 32-bit little-endian
///   offset 4: N program records in the channel-list file's encoding (no object tags)
///
/// Decoding trusts nothing: a block that ends early, or a record that does not parse,
/// stops the decoding; the programs read before it are kept.
class CClipboardBlock {
public:
    struct Decoded {
        std::vector<std::unique_ptr<CProgramInfo>> programs;  ///< in block order
        std::uint32_t declaredCount = 0;  ///< N as the block states it
        bool complete = false;            ///< all N records were read
    };

    static std::vector<std::uint8_t> Encode(std::span<const CProgramInfo* const> programs);
    static Decoded Decode(std::span<const std::uint8_t> block);
};
