#include "tv/bars/BarRules.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "tv/bars/BarsTexts.h"

namespace BarRules {

std::optional<SoundState> ApplyRemoteKey(SoundState sound, int key) {
    switch (key) {
        case KeyMute:
            sound.mute = !sound.mute;
            return sound;
        case KeyVolumeUp:
            sound.volume = std::min(sound.volume + VolumeStep, MaxVolume);
            if (sound.volume > 0) sound.mute = false;
            return sound;
        case KeyVolumeDown:
            sound.volume -= VolumeStep;
            if (sound.volume < 1) {
                sound.volume = 0;
                sound.mute = true;
            } else {
                sound.mute = false;
            }
            return sound;
        default:
            return std::nullopt;
    }
}

namespace {
std::string PaddedField(std::string text) {
    text.resize(std::max<std::size_t>(text.size(), OsdFieldChars), ' ');
    return text;
}
}  // namespace

std::string OsdVolumeText(int volume) {
    char text[OsdFieldChars + 1];
    std::snprintf(text, sizeof text, BarsTexts::OsdVolume, volume);
    return PaddedField(text);
}

std::string OsdMuteText() { return PaddedField(BarsTexts::OsdMute); }

QString PidText(std::uint16_t pid, bool hex) {
    return hex ? QString::asprintf("%04X", unsigned(pid)) : QString::number(pid);
}

QString FrequencyText(std::uint32_t kHz) { return QString::asprintf("%.3f Mhz", kHz * 0.001); }

QString SymbolRateText(std::uint32_t symbolRate) {
    return QString::asprintf("%.3f", symbolRate * 0.001);
}

QString PolarisationText(std::uint32_t polarisation) {
    return polarisation != 0 ? BarsTexts::Vertical : BarsTexts::Horizontal;
}

double ErrorRatePercent(std::uint16_t mantissa, std::int16_t exponent) {
    return std::ldexp(double(mantissa), exponent) * 100.0;
}

AfcBar Afc(std::int32_t deviation) {
    const std::int64_t value = deviation;
    return {value < 0 ? -value : value, deviation < 1};
}

std::vector<std::pair<QString, QString>> DecoderRows(const DecoderState& s) {
    return {
        {BarsTexts::Resolution, QString::asprintf("%d x %d", int(s.width), int(s.height))},
        {BarsTexts::BitRate, QString::asprintf("%.3f MBit/s", s.bitRate / 1000.0)},
        {BarsTexts::Format, QString::number(s.format)},
        {BarsTexts::FrameRate, QString::number(s.frameRate)},
        {BarsTexts::Skipped, QString::number(s.skippedPictures)},
        {BarsTexts::Repeated, QString::number(s.repeatedPictures)},
    };
}

}  // namespace BarRules
