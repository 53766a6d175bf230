// Where the card's sound goes: 48 kHz stereo, signed 16-bit samples, left
// and right interleaved. Called on the audio decoder's thread.
#pragma once

#include <cstdint>
#include <span>

namespace nvdvbsrv {

class ISoundSink {
  public:
    static constexpr int kRate = 48000;
    static constexpr int kChannels = 2;
    virtual ~ISoundSink() = default;
    virtual void Write(std::span<const int16_t> samples) = 0;
};

}  // namespace nvdvbsrv
