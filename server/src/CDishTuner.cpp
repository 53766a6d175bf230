#include "CDishTuner.h"

#include <cstdlib>

namespace nvdvbsrv {
namespace {

// How far the tuned frequency may lie from the transponder (the demodulator's
// capture range) and how far the symbol rate may be off.
constexpr int64_t kSatelliteToleranceKHz = 3000;
constexpr int64_t kCableToleranceKHz = 500;
// The satellite tuner's input band (L band).
constexpr int64_t kTunerMinKHz = 950000;
constexpr int64_t kTunerMaxKHz = 2150000;

bool SymbolRateMatches(uint32_t asked, uint32_t actual) {
    int64_t diff = std::llabs(int64_t(asked) - int64_t(actual));
    return diff * 100 <= int64_t(actual);  // within 1 %
}

}  // namespace

bool CDishTuner::SendDiseqc(std::span<const uint8_t> message, uint8_t burst) {
    if (message.size() > 6) return false;
    if (message.size() >= 4 && (message[0] == 0xE0 || message[0] == 0xE1) && message[1] == 0x10 &&
        message[2] == 0x38) {
        position_ = (message[3] >> 2) & 3;
    }
    if (message.empty() && (burst == 0 || burst == 1)) position_ = burst;
    return true;
}

const Transponder* CDishTuner::Tune(const ChannelParams& params) {
    channel_ = params;
    offsetKHz_ = 0;
    locked_ =
        installation_.frontend == FrontendKind::Cable ? FindCable(params) : FindSatellite(params);
    if (locked_ && installation_.frontend == FrontendKind::Satellite) {
        channel_.polarisation = locked_->polarisation == Polarisation::Vertical ? 1 : 0;
    }
    return locked_;
}

const Transponder* CDishTuner::FindSatellite(const ChannelParams& params) {
    // Without a switch every command reaches the one LNB at position A.
    const DishPosition& dish = installation_.positions[installation_.diseqc ? position_ : 0];
    if (!dish.present) return nullptr;
    Polarisation pol;
    if (params.voltage == 18) {
        pol = Polarisation::Horizontal;
    } else if (params.voltage == 13) {
        pol = Polarisation::Vertical;
    } else {
        return nullptr;  // LNB not powered
    }
    // The intermediate frequency the client asks for, and what the LNB really
    // converts it from with the oscillator that the tone selects.
    int64_t intermediate = std::llabs(int64_t(params.frequencyKHz) - int64_t(params.lofKHz));
    if (intermediate < kTunerMinKHz || intermediate > kTunerMaxKHz) return nullptr;
    int64_t lof = params.tone ? dish.lnb.lofHighKHz : dish.lnb.lofLowKHz;
    int64_t received = intermediate + lof;
    for (const Transponder& tp : dish.transponders) {
        if (tp.polarisation != pol) continue;
        if (std::llabs(received - int64_t(tp.frequencyKHz)) > kSatelliteToleranceKHz) continue;
        // The band must also be reachable with that oscillator: the tone selects
        // the high band for transponders above the switch frequency.
        bool high = tp.frequencyKHz > dish.lnb.switchKHz;
        if (high != (params.tone != 0)) continue;
        if (!SymbolRateMatches(params.symbolRate, tp.symbolRate)) continue;
        offsetKHz_ = int32_t(received - int64_t(tp.frequencyKHz));
        return &tp;
    }
    return nullptr;
}

const Transponder* CDishTuner::FindCable(const ChannelParams& params) {
    for (const Transponder& tp : installation_.cable) {
        if (std::llabs(int64_t(params.frequencyKHz) - int64_t(tp.frequencyKHz)) >
            kCableToleranceKHz) {
            continue;
        }
        if (!SymbolRateMatches(params.symbolRate, tp.symbolRate)) continue;
        offsetKHz_ = int32_t(int64_t(params.frequencyKHz) - int64_t(tp.frequencyKHz));
        return &tp;
    }
    return nullptr;
}

}  // namespace nvdvbsrv
