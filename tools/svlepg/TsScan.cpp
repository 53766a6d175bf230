#include "TsScan.h"

#include <algorithm>

#include "mpegts/TsPacket.h"

namespace svlepg {
namespace {

constexpr std::size_t kPacket = mpegts::TsPacket::kSize;

bool GridAt(std::span<const std::uint8_t> bytes, std::size_t at) {
    const std::size_t run = std::min(kSyncRun, (bytes.size() - at) / kPacket);
    if (run < 2) return false;
    for (std::size_t k = 0; k < run; ++k)
        if (bytes[at + k * kPacket] != mpegts::TsPacket::kSyncByte) return false;
    return true;
}

}  // namespace

std::optional<std::size_t> FindSync(std::span<const std::uint8_t> bytes, std::size_t from) {
    for (std::size_t at = from; at + 2 * kPacket <= bytes.size(); ++at)
        if (GridAt(bytes, at)) return at;
    return std::nullopt;
}

bool ForEachPacket(std::span<const std::uint8_t> bytes,
                   const std::function<void(std::span<const std::uint8_t>)>& packet) {
    std::optional<std::size_t> at = FindSync(bytes);
    if (!at) return false;
    while (at && *at + kPacket <= bytes.size()) {
        if (bytes[*at] == mpegts::TsPacket::kSyncByte) {
            packet(bytes.subspan(*at, kPacket));
            *at += kPacket;
        } else {
            at = FindSync(bytes, *at + 1);
        }
    }
    return true;
}

}  // namespace svlepg
