#include "CDishTuner.h"

#include <algorithm>
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

// The signal rule (server/README.md, "Signal figures"). At the edge of the
// capture range the strength has lost half, the quality three fifths, and the
// bit error rate is sixteen times that of an exact tune.
constexpr int64_t kStrengthJitterTenths = 5;
constexpr int64_t kQualityJitter = 1;
constexpr int64_t kBerJitterDivisor = 8;  // the rate moves by up to an eighth
constexpr int16_t kBerExponent = -32;
// Bit errors per 2^32 of a clean (level 50 and more) and of a weak signal.
constexpr int64_t kBerClean = 96;
constexpr int64_t kBerWeak = 2880;

// A 64-bit mix of the second and the transponder, so that every client sees the
// same figures within a second and other ones in the next.
uint64_t Mix(uint64_t x) {
    x ^= x >> 30;
    x *= 0xBF58476D1CE4E5B9ull;
    x ^= x >> 27;
    x *= 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

// A value from -range to +range taken from some bits of the hash.
int64_t Jitter(uint64_t bits, int64_t range) {
    return int64_t(bits % uint64_t(2 * range + 1)) - range;
}

}  // namespace

int32_t CDishTuner::CaptureRangeKHz() const {
    return int32_t(installation_.frontend == FrontendKind::Cable ? kCableToleranceKHz
                                                                 : kSatelliteToleranceKHz);
}

SignalFigures CDishTuner::Signal(int64_t second) const {
    SignalFigures s;
    if (!locked_) return s;
    const int64_t level = std::clamp<int64_t>(locked_->level, 0, 100);
    const int64_t range = CaptureRangeKHz();
    const int64_t off = std::min<int64_t>(std::llabs(int64_t(offsetKHz_)), range);
    const uint64_t transponder = (uint64_t(locked_->frequencyKHz) << 1) |
                                 (locked_->polarisation == Polarisation::Vertical ? 1 : 0);
    const uint64_t hash = Mix((uint64_t(second) * 0x9E3779B97F4A7C15ull) ^ transponder);

    const int64_t strength0 = level * 10;
    const int64_t strength =
        strength0 - strength0 * off / (2 * range) + Jitter(hash & 0xFFFF, kStrengthJitterTenths);
    const int64_t quality0 = std::min<int64_t>(level + 20, 100);
    const int64_t quality =
        quality0 - quality0 * 3 * off / (5 * range) + Jitter((hash >> 16) & 0xFFFF, kQualityJitter);
    const int64_t ber0 = level >= 50 ? kBerClean : kBerWeak;
    const int64_t ber = ber0 + ber0 * 15 * off / range;

    s.locked = true;
    s.afcKHz = offsetKHz_;
    s.strengthTenths = uint16_t(std::max<int64_t>(strength, 0));
    s.quality = uint32_t(std::clamp<int64_t>(quality, 0, 100));
    s.berMantissa = uint16_t(ber + Jitter(hash >> 32, ber / kBerJitterDivisor));
    s.berExponent = kBerExponent;
    // Signal to noise (a fifth of the strength, in dB) and gain follow the strength.
    s.snrTenths = uint16_t(s.strengthTenths / 5);
    s.agc = uint32_t(std::min<int64_t>(int64_t(s.strengthTenths) * 655 / 10, 65535));
    return s;
}

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
