#pragma once
// The transport packets of a file in memory: the packet grid is found by a run
// of sync bytes 188 bytes apart (a leading partial packet is skipped) and found
// again after bytes that break it.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>

namespace svlepg {

/// Sync bytes in a row that mark the packet grid (fewer when the rest of the
/// file holds fewer packets, but never less than two).
constexpr std::size_t kSyncRun = 5;

/// The first offset at or after `from` where the packet grid starts.
std::optional<std::size_t> FindSync(std::span<const std::uint8_t> bytes, std::size_t from = 0);

/// Every whole packet in stream order; false when no grid is found at all
/// (the bytes are not a transport stream).
bool ForEachPacket(std::span<const std::uint8_t> bytes,
                   const std::function<void(std::span<const std::uint8_t>)>& packet);

}  // namespace svlepg
