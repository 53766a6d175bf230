// The tuner and the dish: which transponder, if any, the front end locks to for
// the oscillator, voltage, tone and switch position that the client chose.
#pragma once

#include <cstdint>
#include <span>

#include "CInstallation.h"

namespace nvdvbsrv {

// The 32-byte tuning record as the client sends it (eight 32-bit fields).
struct ChannelParams {
    uint32_t frequencyKHz = 0;
    uint32_t lofKHz = 0;
    uint32_t symbolRate = 0;
    uint32_t polarisation = 0;  // reported back: non-zero vertical
    uint32_t inversion = 0;     // the program sends 2
    uint32_t voltage = 0;       // 13, 18 or 0 (LNB supply off)
    uint32_t tone = 0;          // 22 kHz: 1 on
    uint32_t reserved = 0;
};

// Figures a front end reports; all zero without lock.
struct SignalFigures {
    bool locked = false;
    int32_t afcKHz = 0;        // frequency offset of the carrier found
    uint16_t berMantissa = 0;  // bit error rate = mantissa * 2^exponent
    int16_t berExponent = 0;
    uint16_t strengthTenths = 0;  // signal strength in tenths
    uint32_t quality = 0;         // signal quality, 0..100
    uint16_t snrTenths = 0;       // signal to noise in tenths of a dB
    uint32_t agc = 0;             // automatic gain control, 0..65535

    bool operator==(const SignalFigures&) const = default;
};

class CDishTuner {
  public:
    explicit CDishTuner(const CInstallation& installation) : installation_(installation) {}

    // A DiSEqC message or a tone burst (burst 0 = A, 1 = B, 255 = none).
    // Committed-switch commands (E0/E1 10 38 Fx) select position ((x >> 2) & 3).
    // Returns false for a malformed message.
    bool SendDiseqc(std::span<const uint8_t> message, uint8_t burst);

    // Tunes; returns the transponder locked to, or nullptr when nothing is received.
    const Transponder* Tune(const ChannelParams& params);

    int Position() const { return position_; }
    const Transponder* Locked() const { return locked_; }
    const ChannelParams& Channel() const { return channel_; }
    // How far the tuned frequency lies from the locked transponder (positive:
    // tuned above it).
    int32_t OffsetKHz() const { return offsetKHz_; }
    // How far off a tune may be and still lock.
    int32_t CaptureRangeKHz() const;

    // What the front end measures in one whole second (seconds since 1970):
    // the transponder's level at an exact tune, worse the further the tune is
    // off within the capture range, with a small jitter that changes from
    // second to second; all zero without lock.
    SignalFigures Signal(int64_t second) const;

  private:
    const Transponder* FindSatellite(const ChannelParams& params);
    const Transponder* FindCable(const ChannelParams& params);

    const CInstallation& installation_;
    int position_ = 0;
    const Transponder* locked_ = nullptr;
    ChannelParams channel_;
    int32_t offsetKHz_ = 0;
};

}  // namespace nvdvbsrv
