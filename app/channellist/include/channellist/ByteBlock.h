#pragma once
#include <cstdint>
#include <vector>

/// Raw bytes carried verbatim (descriptor loops, program data blocks).
using ByteBlock = std::vector<std::uint8_t>;
