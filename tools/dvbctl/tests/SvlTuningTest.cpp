// Tuning data from a channel-list program.
#include <gtest/gtest.h>

#include "SvlTuning.h"
#include "channellist/CSVLFile.h"

namespace {

struct Case {
    const char* what;
    std::int32_t lnbType, powerOn, tone, diseqcType, diseqcParam;
    std::int32_t frequency, polarisation;
    std::uint32_t lof, volts, toneOut;
    std::vector<std::uint8_t> message;
    std::uint8_t burst;
    int repeats;
};

class SvlTuningTest : public ::testing::TestWithParam<Case> {};

TEST_P(SvlTuningTest, RecordAndSwitchCommand) {
    const Case& c = GetParam();
    CSVLFile list;
    auto lnb = std::make_shared<CLnb>();
    lnb->LnbType = c.lnbType;
    lnb->SwitchFrequency = 11700000;
    lnb->LowBandLof = 9750000;
    lnb->HighBandLof = 10600000;
    lnb->PowerOn = c.powerOn;
    lnb->Tone22kHz = c.tone;
    lnb->DiseqcType = c.diseqcType;
    lnb->DiseqcParameter = c.diseqcParam;
    list.Lnbs.Set("Astra", lnb);
    CProgramInfo p;
    p.Name = "Test";
    p.LnbName = "Astra";
    p.Frequency = c.frequency;
    p.PolarisationOrQam = c.polarisation;
    p.SymbolRate = 27500000;
    p.VideoPid = 0x100;
    p.AudioPid = 0x101;
    std::string error;
    const auto t = BuildTuning(list, p, error);
    ASSERT_TRUE(t) << error;
    EXPECT_EQ(t->channel.Frequency, static_cast<std::uint32_t>(c.frequency));
    EXPECT_EQ(t->channel.LOF, c.lof);
    EXPECT_EQ(t->channel.SymbolRate, 27500000u);
    EXPECT_EQ(t->channel.Polarisation, 0u);
    EXPECT_EQ(t->channel.Mode, 2u);
    EXPECT_EQ(t->channel.LNBVoltage, c.volts);
    EXPECT_EQ(t->channel.Tone22kHz, c.toneOut);
    EXPECT_EQ(t->plan.SwitchBytes, c.message);
    EXPECT_EQ(t->plan.SwitchBurst, c.burst);
    EXPECT_EQ(t->plan.SwitchRepeats, c.repeats);
    EXPECT_EQ(t->videoPid, 0x100);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SvlTuningTest,
    ::testing::Values(
        Case{"vertical A low band",
             3,
             1,
             0,
             2,
             0,
             11494000,
             1,
             9750000,
             13,
             0,
             {0xE0, 0x10, 0x38, 0xF0},
             255,
             3},
        Case{"horizontal D high band",
             3,
             1,
             0,
             2,
             3,
             12188000,
             0,
             10600000,
             18,
             1,
             {0xE0, 0x10, 0x38, 0xFF},
             255,
             3},
        Case{"switch frequency itself is low band",
             3,
             1,
             0,
             2,
             1,
             11700000,
             0,
             9750000,
             18,
             0,
             {0xE0, 0x10, 0x38, 0xF6},
             255,
             3},
        Case{"supply off keeps the polarisation bit",
             1,
             0,
             1,
             2,
             0,
             12188000,
             0,
             10600000,
             0,
             1,
             {0xE0, 0x10, 0x38, 0xF3},
             255,
             3},
        Case{"tone burst B", 1, 1, 0, 1, 1, 11494000, 1, 9750000, 13, 0, {}, 1, 1},
        Case{"DiSEqC off", 1, 1, 0, 0, 0, 11494000, 1, 9750000, 13, 0, {0xE0, 0x00, 0x00}, 255, 1},
        Case{"unknown switch kind sends nothing",
             1,
             1,
             0,
             7,
             0,
             11494000,
             1,
             9750000,
             13,
             0,
             {},
             255,
             0}),
    [](const auto& info) {
        std::string n = info.param.what;
        for (char& ch : n)
            if (!std::isalnum(static_cast<std::uint8_t>(ch))) ch = '_';
        return n;
    });

TEST(SvlTuningLookup, MissingLnbAndProgramSelection) {
    CSVLFile list;
    for (const char* name : {"Das Erste", "ZDF"}) {
        auto p = std::make_unique<CProgramInfo>();
        p->Name = name;
        p->LnbName = "Nirgends";
        list.InsertProgram(std::move(p));
    }
    EXPECT_EQ(FindProgram(list, "2")->Name, "ZDF");
    EXPECT_EQ(FindProgram(list, "Das Erste"), list.Programs[0].get());
    EXPECT_EQ(FindProgram(list, "0"), nullptr);
    EXPECT_EQ(FindProgram(list, "3"), nullptr);
    EXPECT_EQ(FindProgram(list, "ARD"), nullptr);
    std::string error;
    EXPECT_FALSE(BuildTuning(list, *list.Programs[0], error));
    EXPECT_EQ(error, "kein LNB namens \"Nirgends\" in der Liste");
}

}  // namespace
