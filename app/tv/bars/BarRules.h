#pragma once
// The rules of the TV bars that need no window: how the remote keys change the
// volume, what the on-screen volume display writes, and how the card's
// readings turn into the status texts and bar positions.
#include <QString>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "receiver/ReceiverTypes.h"

namespace BarRules {

// Sound.
constexpr int MaxVolume = 69;
constexpr int VolumeStep = 5;
/// Remote-control keys the picture and sound bar takes (message 1232).
constexpr int KeyMute = 13;
constexpr int KeyVolumeUp = 16;
constexpr int KeyVolumeDown = 17;

struct SoundState {
    int volume = MaxVolume;
    bool mute = false;
    bool operator==(const SoundState&) const = default;
};

/// The sound after a remote key: 13 toggles mute; 16 raises the volume by 5
/// (at most 69) and a volume above 0 clears mute; 17 lowers it by 5, a result
/// below 1 becomes 0 and mutes, any other clears mute. Other keys: nothing.
std::optional<SoundState> ApplyRemoteKey(SoundState sound, int key);

/// A drop list's selection as the card gets it: `fallback` when nothing is selected.
inline int SelectionOr(int index, int fallback) { return index >= 0 ? index : fallback; }

/// Width of the card's text field of the on-screen volume display.
constexpr int OsdFieldChars = 40;
/// "Volume: % 2d" and "   Mute ", each padded with blanks to the whole field.
std::string OsdVolumeText(int volume);
std::string OsdMuteText();

// Program status.
/// "%04X" in the hexadecimal display, else "%d".
QString PidText(std::uint16_t pid, bool hex);
/// "%.3f Mhz" of the frequency in kHz times 0.001.
QString FrequencyText(std::uint32_t kHz);
/// "%.3f" of the symbol rate times 0.001.
QString SymbolRateText(std::uint32_t symbolRate);
QString PolarisationText(std::uint32_t polarisation);
/// Mantissa times two to the exponent, as a percentage.
double ErrorRatePercent(std::uint16_t mantissa, std::int16_t exponent);
inline double StrengthDb(std::uint16_t tenths) { return tenths * 0.1; }

/// The AFC bar: the deviation's size, running from red to green for a
/// deviation below 1 and from green to red otherwise.
struct AfcBar {
    std::int64_t value = 0;
    bool redToGreen = true;
    bool operator==(const AfcBar&) const = default;
};
AfcBar Afc(std::int32_t deviation);

// Decoder status.
/// The six rows of the decoder status list: label and value.
std::vector<std::pair<QString, QString>> DecoderRows(const DecoderState& state);

}  // namespace BarRules
