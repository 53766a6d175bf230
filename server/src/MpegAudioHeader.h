// The four-byte header of an MPEG audio frame (ISO/IEC 11172-3 and 13818-3,
// layers I-III, MPEG-1, MPEG-2 and the 2.5 extension): what a frame splitter
// needs to find the next frame and to count the time.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace nvdvbsrv {

struct MpegAudioHeader {
    static constexpr std::size_t kSize = 4;
    uint32_t frameBytes = 0;  // the whole frame, header included
    uint32_t sampleRate = 0;  // Hz
    uint32_t samples = 0;     // per frame

    // Nothing for fewer than four bytes, without the sync word, and for the
    // reserved or free-format values (a frame of unknown length).
    static std::optional<MpegAudioHeader> Parse(std::span<const uint8_t> bytes);
};

}  // namespace nvdvbsrv
