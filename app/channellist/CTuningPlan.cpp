#include "channellist/CTuningPlan.h"

#include "channellist/CLnb.h"
#include "channellist/CProgramInfo.h"

namespace {

constexpr std::uint32_t kVertical = 13;
constexpr std::uint32_t kHorizontal = 18;
constexpr std::int32_t kUniversalLnb = 3;

// DiSEqC 1.0 committed switch (framing E0, address 10 "any LNB/switch",
// command 38 "write port group 0"): the data byte carries the option and
// position bits and the band and polarisation the LNB is to take.
void CommittedSwitch(const CProgramInfo& program, const CLnb& lnb, CTuningPlan& plan) {
    std::uint8_t data = 0xF0;
    if (plan.Tone22kHz) data |= 0x01;
    if (program.PolarisationOrQam == 0) data |= 0x02;
    if (lnb.DiseqcParameter & 1) data |= 0x04;
    if (lnb.DiseqcParameter & 2) data |= 0x08;
    plan.SwitchBytes = {0xE0, 0x10, 0x38, data};
    plan.SwitchRepeats = 3;
    plan.SwitchPauseMs = 120;
}

}  // namespace

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
        case 2:
            CommittedSwitch(program, lnb, plan);
            break;
        default:  // unknown switch type: no command
            break;
    }
    return plan;
}
