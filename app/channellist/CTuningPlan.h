#pragma once
// What tuning to one program of a channel list sends to the card: the tuning
// record worked out from the program and its LNB, and the switch command that
// selects the dish before it.
#include <cstdint>
#include <vector>

class CLnb;
class CProgramInfo;

struct CTuningPlan {
    /// The plan for `program` on `lnb` (the LNB the program names).
    static CTuningPlan For(const CProgramInfo& program, const CLnb& lnb);
    /// Only the switch command of a DiSEqC 1.0 committed switch: `position`
    /// 0-3 (A-D), the polarisation and the band the LNB is to take.
    static CTuningPlan CommittedSwitch(int position, bool horizontal, bool highBand);

    // Tuning record.
    std::uint32_t Frequency = 0;   ///< kHz
    std::uint32_t Lof = 0;         ///< oscillator of the band in use, kHz
    std::uint32_t SymbolRate = 0;  ///< symbols per second
    std::uint32_t LnbVoltage = 0;  ///< 13 vertical, 18 horizontal, 0 supply off
    std::uint32_t Tone22kHz = 0;   ///< 1 on

    // Switch command, sent SwitchRepeats times with SwitchPauseMs after each
    // sending: SwitchBytes (none for a tone burst) with SwitchBurst (255: no
    // burst). From the second sending on the first byte is E1 (repeat).
    std::vector<std::uint8_t> SwitchBytes;
    std::uint8_t SwitchBurst = 255;
    int SwitchRepeats = 0;
    int SwitchPauseMs = 0;

    bool operator==(const CTuningPlan&) const = default;
};
