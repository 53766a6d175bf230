#include "channellist/CTuningPlan.h"

#include "channellist/CLnb.h"
#include "channellist/CProgramInfo.h"

namespace {

constexpr std::uint32_t kVertical = 13;
constexpr std::uint32_t kHorizontal = 18;
constexpr std::int32_t kUniversalLnb = 3;

}  // namespace

// DiSEqC 1.0 committed switch (framing E0, address 10 "any LNB/switch",
// command 38 "write port group 0"): the data byte carries the option and
// position bits and the band and polarisation the LNB is to take.
CTuningPlan CTuningPlan::CommittedSwitch(int position, bool horizontal, bool highBand) {
    CTuningPlan plan;
    std::uint8_t data = 0xF0;
    if (highBand) data |= 0x01;
    if (horizontal) data |= 0x02;
    data |= static_cast<std::uint8_t>((position & 3) << 2);
    plan.SwitchBytes = {0xE0, 0x10, 0x38, data};
    plan.SwitchRepeats = 3;
    plan.SwitchPauseMs = 120;
    return plan;
}

CTuningPlan CTuningPlan::For(const CProgramInfo& program, const CLnb& lnb) {
    CTuningPlan plan;
    const auto frequency = static_cast<std::uint32_t>(program.Frequency);
    const bool lowBand = frequency <= static_cast<std::uint32_t>(lnb.SwitchFrequency);
    plan.Frequency = frequency;
    plan.Lof = static_cast<std::uint32_t>(lowBand ? lnb.LowBandLof : lnb.HighBandLof);
    plan.SymbolRate = static_cast<std::uint32_t>(program.SymbolRate);
    if (lnb.PowerOn != 0)
        plan.LnbVoltage = program.PolarisationOrQam != 0 ? kVertical : kHorizontal;
    if (lnb.LnbType == kUniversalLnb)
        plan.Tone22kHz = lowBand ? 0 : 1;
    else
        plan.Tone22kHz = static_cast<std::uint32_t>(lnb.Tone22kHz);

    switch (lnb.DiseqcType) {
        case 0:  // no switch: an empty message keeps the card's switch state defined
            plan.SwitchBytes = {0xE0, 0x00, 0x00};
            plan.SwitchRepeats = 1;
            break;
        case 1:  // tone burst: A for position 0, B for any other
            plan.SwitchBurst = lnb.DiseqcParameter == 0 ? 0 : 1;
            plan.SwitchRepeats = 1;
            plan.SwitchPauseMs = 10;
            break;
        case 2: {
            const CTuningPlan command = CommittedSwitch(
                lnb.DiseqcParameter, program.PolarisationOrQam == 0, plan.Tone22kHz != 0);
            plan.SwitchBytes = command.SwitchBytes;
            plan.SwitchRepeats = command.SwitchRepeats;
            plan.SwitchPauseMs = command.SwitchPauseMs;
            break;
        }
        default:  // unknown switch type: no command
            break;
    }
    return plan;
}
