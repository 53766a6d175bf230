// The card's sound: decoded audio resampled to 48 kHz stereo, 16 bit, with
// the level settings of the decoder and of the sound chip applied, and handed
// to a sound sink (the desktop's sound server or a WAV file).
//
// Levels, multiplied per side:
// - decoder volume (left, right; the program sends 0-69): 69 and above is
//   full level, every step below it 1 dB less, 0 is silence;
// - sound chip volume (left, right, 0-100): per cent of the amplitude, so
//   that the difference of the two sides sets the balance;
// - either mute silences the sound (samples of 0 go on to the sink);
// - decoder channel: 0 both channels as sent, 1 channel A (left) on both
//   sides, 2 channel B (right) on both sides.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "IFrameSink.h"
#include "ISoundSink.h"

extern "C" {
struct SwrContext;
}

namespace nvdvbsrv {

struct SoundSettings {
    uint32_t decoderLeft = 69, decoderRight = 69;
    bool decoderMute = false;
    int32_t chipLeft = 100, chipRight = 100;
    bool chipMute = false;
    uint32_t channel = 0;
};

class CSoundOutput : public IFrameSink {
  public:
    explicit CSoundOutput(std::unique_ptr<ISoundSink> sink);
    ~CSoundOutput() override;
    CSoundOutput(const CSoundOutput&) = delete;
    CSoundOutput& operator=(const CSoundOutput&) = delete;

    // Request thread.
    SoundSettings Settings() const;
    void SetSettings(const SoundSettings& settings);

    // Decoded sound, on the audio decoder's thread.
    void Frame(const AVFrame& frame, const FrameTiming& timing) override;

    // The amplitude factors of the two sides (tests).
    static void Gains(const SoundSettings& s, double& left, double& right);

  private:
    bool Resampler(const AVFrame& frame);

    std::unique_ptr<ISoundSink> sink_;
    mutable std::mutex mutex_;
    SoundSettings settings_;
    SwrContext* swr_ = nullptr;
    int inFormat_ = -1, inRate_ = 0;
    uint64_t inLayoutKey_ = 0;
    std::vector<int16_t> samples_;
};

}  // namespace nvdvbsrv
