// Scans arbitrary bytes as an MPEG audio file and as raw samples the
// network engine plays: the frame header, the length from the first frame,
// the re-synchronisation after a seek and every chunk of the walk through
// the file at each speed. Nothing may read outside the bytes; every chunk
// must be the file's bytes at its place (twice at half speed, the second
// unit at double speed).
#include <cstdlib>

#include "StreamWalk.h"
#include "recording/StreamFileScan.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    MemorySource source(input);
    if (size >= 4) {
        const auto frame = ParseMpegAudioFrame(data);
        const auto info = ScanStreamFile(StreamKind::MpegAudio, source);
        if (frame.has_value() != info.has_value()) std::abort();
        if (frame && (frame->length < 4 || info->sampleRate != frame->sampleRate)) std::abort();
    }
    for (const StreamKind kind : {StreamKind::MpegAudio, StreamKind::Pcm}) {
        for (const std::uint64_t from : {std::uint64_t(0), std::uint64_t(size / 2)}) {
            const auto at = Resynchronise(kind, source, from);
            if (at && (*at < from || *at > size)) std::abort();
            for (const PlaySpeed speed : {PlaySpeed::Normal, PlaySpeed::Half, PlaySpeed::Double})
                WalkChunks(kind, input, at.value_or(from), speed);
        }
    }
    return 0;
}
