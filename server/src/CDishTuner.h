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
    // How far the tuned frequency lies from the locked transponder.
    int32_t OffsetKHz() const { return offsetKHz_; }

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
