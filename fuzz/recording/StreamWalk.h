#pragma once
// Walks a file of any bytes chunk by chunk as the network engine plays it,
// and aborts when a chunk is not what the file holds at its place or the
// walk does not move on.
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <span>

#include "recording/CPlaybackPacer.h"
#include "recording/StreamChunks.h"

inline void WalkChunks(StreamKind kind, std::span<const std::uint8_t> input, std::uint64_t from,
                       PlaySpeed speed) {
    MemorySource file(input);
    CPlaybackPacer pacer(kind);
    pacer.SetSpeed(speed);
    const auto now = CPlaybackPacer::Clock::now();
    for (std::uint64_t at = from;;) {
        const StreamChunk chunk = ReadStreamChunk(kind, file, at, speed);
        if (chunk.bytes.empty()) return;
        if (chunk.at < at || chunk.next <= chunk.at || chunk.next > input.size()) std::abort();
        const auto range = input.subspan(chunk.at, chunk.next - chunk.at);
        const bool same =
            std::equal(chunk.bytes.begin(), chunk.bytes.end(), range.begin(), range.end());
        const bool twice = chunk.bytes.size() == 2 * range.size() &&
                           std::equal(range.begin(), range.end(), chunk.bytes.begin()) &&
                           std::equal(range.begin(), range.end(),
                                      chunk.bytes.begin() + std::ptrdiff_t(range.size()));
        const bool tail = chunk.bytes.size() < range.size() &&
                          std::equal(chunk.bytes.begin(), chunk.bytes.end(),
                                     range.end() - std::ptrdiff_t(chunk.bytes.size()));
        if (!same && !(speed == PlaySpeed::Half && twice) && !(speed == PlaySpeed::Double && tail))
            std::abort();
        (void)pacer.Due(chunk, now);
        at = chunk.next;
    }
}
