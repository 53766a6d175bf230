#include "recording/PvaPlayLength.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "recording/ByteSource.h"
#include "recording/PvaHeader.h"

namespace {

constexpr std::size_t kHeader = pva::kHeader;
constexpr std::size_t kWithPts = pva::kHeaderWithPts;

// The play length counts only headers with the marker byte 0x55 in place.
bool IsVideoWithPts(const std::uint8_t* h) { return pva::IsVideoWithPts(h) && h[4] == 0x55; }

// The first video PTS and the offset of its packet.
std::optional<std::pair<std::uint32_t, std::uint64_t>> FirstPts(ByteSource& file) {
    std::uint8_t h[kWithPts];
    for (std::uint64_t at = 0; file.ReadAt(at, h, kHeader);) {
        if (IsVideoWithPts(h)) {
            if (!file.ReadAt(at, h, kWithPts)) return std::nullopt;
            return std::pair{pva::Pts(h), at};
        }
        at += kHeader + pva::PayloadLength(h);
    }
    return std::nullopt;
}

// The PTS of the last video packet header at or after `from`.
std::uint32_t LastPts(ByteSource& file, std::uint64_t from) {
    constexpr std::size_t kChunk = 64 * 1024;
    std::vector<std::uint8_t> buffer(kChunk + kWithPts);
    std::uint64_t end = file.Size();  // the chunk covers [start, end + overlap)
    while (end > from) {
        const std::uint64_t start = std::max(from, end > kChunk ? end - kChunk : 0);
        const std::size_t n =
            std::size_t(std::min<std::uint64_t>(file.Size() - start, buffer.size()));
        if (!file.ReadAt(start, buffer.data(), n)) return 0;
        for (std::size_t i = std::size_t(end - start); i-- > 0;) {
            if (i + kWithPts <= n && IsVideoWithPts(&buffer[i])) return pva::Pts(&buffer[i]);
        }
        end = start;
    }
    return 0;
}

std::uint32_t PlayLength(ByteSource& file) {
    const auto first = FirstPts(file);
    if (!first) return 0;
    const std::uint32_t last = LastPts(file, first->second);
    // Modulo 2^32, so that a time stamp that wrapped still gives the distance.
    return (last - first->first) / 90;
}

}  // namespace

std::uint32_t PvaPlayLengthMs(const std::string& path) {
    FileSource file(path);
    return PlayLength(file);
}

std::uint32_t PvaPlayLengthMs(std::span<const std::uint8_t> bytes) {
    MemorySource memory(bytes);
    return PlayLength(memory);
}
