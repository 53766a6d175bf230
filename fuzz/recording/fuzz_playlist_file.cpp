// Loads arbitrary bytes as a playlist file, and measures them as a PVA
// recording and as a file the network engine plays. A loaded list must store
// to bytes that load again and store the same; a refused file leaves the
// list empty. The play length, the scan, the re-synchronisation and the
// chunks must stay inside the bytes.
#include <cstdlib>

#include "recording/CPlayListFile.h"
#include "recording/PvaPlayLength.h"
#include "recording/StreamChunks.h"
#include "recording/StreamFileScan.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    CPlayListFile list;
    if (!list.Load(input)) {
        if (!list.entries.empty()) std::abort();
    } else {
        // Names from the file are Windows-1252, so they go back unchanged;
        // bytes are compared, as a stored date may be any double, NaN too.
        const auto stored = list.Store();
        CPlayListFile again;
        if (!again.Load(stored) || again.Store() != stored) std::abort();
    }
    (void)PvaPlayLengthMs(input);
    MemorySource source(input);
    for (const StreamKind kind : {StreamKind::PvaPackets, StreamKind::MpegAudio, StreamKind::Pcm}) {
        const auto info = ScanStreamFile(kind, source);
        if (info && info->fileLength != size) std::abort();
        const auto at = Resynchronise(kind, source, size / 2);
        if (at && *at > size) std::abort();
        for (const PlaySpeed speed : {PlaySpeed::Normal, PlaySpeed::Half, PlaySpeed::Double}) {
            const StreamChunk chunk = ReadStreamChunk(kind, source, at.value_or(0), speed);
            if (chunk.next > size) std::abort();
        }
    }
    return 0;
}
