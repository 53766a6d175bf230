// Scans arbitrary bytes as a PVA recording and as a transport stream the
// network engine plays: the length from the time stamps, the
// re-synchronisation after a seek and every chunk of the walk through the
// file at each speed, paced by its stamps. Nothing may read outside the
// bytes; every chunk must be the bytes at its place in the file.
#include <cstdlib>

#include "StreamWalk.h"
#include "recording/PvaPlayLength.h"
#include "recording/StreamFileScan.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    MemorySource source(input);
    (void)PvaPlayLengthMs(input);
    for (const StreamKind kind : {StreamKind::PvaPackets, StreamKind::TransportStream}) {
        const auto info = ScanStreamFile(kind, source);
        if (info && info->fileLength != size) std::abort();
        for (const std::uint64_t from : {std::uint64_t(0), std::uint64_t(size / 3)}) {
            const auto at = Resynchronise(kind, source, from);
            if (at && (*at < from || *at > size)) std::abort();
            for (const PlaySpeed speed : {PlaySpeed::Normal, PlaySpeed::Double})
                WalkChunks(kind, input, at.value_or(from), speed);
        }
    }
    return 0;
}
