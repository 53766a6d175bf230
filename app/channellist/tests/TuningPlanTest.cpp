// The tuning plan from a program and its LNB: the oscillator and tone by the
// switch frequency, the supply by polarisation, and the switch commands.
#include <gtest/gtest.h>

#include "channellist/CLnb.h"
#include "channellist/CProgramInfo.h"
#include "channellist/CTuningPlan.h"

namespace {

CLnb Universal() {
    CLnb lnb;
    lnb.LnbType = 3;
    lnb.SwitchFrequency = 11700000;
    lnb.LowBandLof = 9750000;
    lnb.HighBandLof = 10600000;
    lnb.PowerOn = 1;
    return lnb;
}

CProgramInfo Program(std::int32_t frequency, std::int32_t polarisation) {
    CProgramInfo p;
    p.Frequency = frequency;
    p.PolarisationOrQam = polarisation;
    p.SymbolRate = 27500000;
    return p;
}

}  // namespace

TEST(TuningPlan, UniversalLnbSwitchesBandAboveTheSwitchFrequency) {
    const CLnb lnb = Universal();
    const CTuningPlan low = CTuningPlan::For(Program(11700000, 0), lnb);
    EXPECT_EQ(low.Lof, 9750000u);
    EXPECT_EQ(low.Tone22kHz, 0u);
    const CTuningPlan high = CTuningPlan::For(Program(11700001, 0), lnb);
    EXPECT_EQ(high.Lof, 10600000u);
    EXPECT_EQ(high.Tone22kHz, 1u);
    EXPECT_EQ(high.Frequency, 11700001u);
    EXPECT_EQ(high.SymbolRate, 27500000u);
}

TEST(TuningPlan, OtherLnbsKeepTheirToneWhateverTheBand) {
    CLnb lnb = Universal();
    lnb.LnbType = 1;
    lnb.Tone22kHz = 1;
    const CTuningPlan plan = CTuningPlan::For(Program(10900000, 0), lnb);
    EXPECT_EQ(plan.Tone22kHz, 1u);
    EXPECT_EQ(plan.Lof, 9750000u);  // the oscillator still follows the switch frequency
}

TEST(TuningPlan, SupplyFollowsPolarisationOnlyWhenPowered) {
    CLnb lnb = Universal();
    EXPECT_EQ(CTuningPlan::For(Program(12000000, 0), lnb).LnbVoltage, 18u);
    EXPECT_EQ(CTuningPlan::For(Program(12000000, 1), lnb).LnbVoltage, 13u);
    lnb.PowerOn = 0;
    lnb.DiseqcType = 2;
    const CTuningPlan off = CTuningPlan::For(Program(12000000, 0), lnb);
    EXPECT_EQ(off.LnbVoltage, 0u);
    ASSERT_EQ(off.SwitchBytes.size(), 4u);
    EXPECT_EQ(off.SwitchBytes[3] & 0x02, 0x02);  // the switch still hears "horizontal"
}

TEST(TuningPlan, SwitchCommandsByDiseqcType) {
    CLnb lnb = Universal();
    struct Case {
        std::int32_t type, parameter, polarisation, frequency;
        std::vector<std::uint8_t> bytes;
        std::uint8_t burst;
        int repeats, pauseMs;
    };
    const Case cases[] = {
        {0, 0, 0, 11000000, {0xE0, 0x00, 0x00}, 255, 1, 0},
        {1, 0, 0, 11000000, {}, 0, 1, 10},
        {1, 2, 0, 11000000, {}, 1, 1, 10},
        {2, 0, 1, 11000000, {0xE0, 0x10, 0x38, 0xF0}, 255, 3, 120},  // A, vertical, low
        {2, 3, 0, 12000000, {0xE0, 0x10, 0x38, 0xFF}, 255, 3, 120},  // D, horizontal, high
        {2, 1, 1, 12000000, {0xE0, 0x10, 0x38, 0xF5}, 255, 3, 120},  // B, vertical, high
        {7, 0, 0, 11000000, {}, 255, 0, 0},
    };
    for (const Case& c : cases) {
        lnb.DiseqcType = c.type;
        lnb.DiseqcParameter = c.parameter;
        const CTuningPlan plan = CTuningPlan::For(Program(c.frequency, c.polarisation), lnb);
        SCOPED_TRACE("type " + std::to_string(c.type) + " parameter " +
                     std::to_string(c.parameter));
        EXPECT_EQ(plan.SwitchBytes, c.bytes);
        EXPECT_EQ(plan.SwitchBurst, c.burst);
        EXPECT_EQ(plan.SwitchRepeats, c.repeats);
        EXPECT_EQ(plan.SwitchPauseMs, c.pauseMs);
    }
}

TEST(TuningPlan, CommittedSwitchOnItsOwnCarriesPositionPolarisationAndBand) {
    // Position D (both option bits), vertical, high band; then A, horizontal, low band.
    EXPECT_EQ(CTuningPlan::CommittedSwitch(3, false, true).SwitchBytes,
              (std::vector<std::uint8_t>{0xE0, 0x10, 0x38, 0xFD}));
    const CTuningPlan a = CTuningPlan::CommittedSwitch(0, true, false);
    EXPECT_EQ(a.SwitchBytes, (std::vector<std::uint8_t>{0xE0, 0x10, 0x38, 0xF2}));
    EXPECT_EQ(a.SwitchRepeats, 3);
    EXPECT_EQ(a.SwitchPauseMs, 120);
    EXPECT_EQ(a.Frequency, 0u);  // no tuning record
}
