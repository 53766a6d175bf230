#pragma once
// The tags of the archive's object references, shared by the reader and the
// writer: a 16-bit tag is the null reference, a reference to an object read
// before, a class index with the top bit set, the start of a new class, or
// the escape to a 32-bit index.
#include <cstdint>

namespace ArchiveTag {
constexpr std::uint16_t Null = 0x0000;
constexpr std::uint16_t Big = 0x7FFF;
constexpr std::uint16_t NewClass = 0xFFFF;
constexpr std::uint16_t ClassBit = 0x8000;
constexpr std::uint32_t BigClassBit = 0x80000000u;
}  // namespace ArchiveTag
