// The forms in which the card records and plays back (TYPE_REC_PLAY_FORMAT)
// and the recorder's modes (REC_PLAY_MODE), as they travel in the requests.
#pragma once

#include <cstdint>

namespace nvdvbsrv {

enum class RecordFormat : uint32_t {
    None = 0,
    AudioPes = 1,   // the audio PID's PES packets as they are
    Mp2 = 2,        // MPEG audio frames, the elementary stream alone
    Pcm = 3,        // not recorded or played by this card
    VideoPes = 4,   // the video PID's PES packets as they are
    Pva = 5,        // audio and video in PVA packets
    Transport = 6,  // a transport stream of the program: PAT, PMT and its packets
};

enum class RecordMode : uint32_t {
    Stopped = 0,
    Recording = 1,
    Playing = 2,
    Paused = 3,
    Forward = 4,
    Backward = 5,
    Slow = 6,
    Fast = 7,
};

// The forms this card records and plays back (all but none and PCM).
constexpr bool CardFormat(uint32_t format) {
    return format == 1 || format == 2 || (format >= 4 && format <= 6);
}
constexpr bool HasVideo(RecordFormat f) {
    return f == RecordFormat::VideoPes || f == RecordFormat::Pva || f == RecordFormat::Transport;
}
constexpr bool HasAudio(RecordFormat f) { return f != RecordFormat::VideoPes; }

}  // namespace nvdvbsrv
