#include <gtest/gtest.h>

#include <vector>

#include "CDishTuner.h"

using namespace nvdvbsrv;

namespace {

CInstallation TwoPositions() {
    std::string err;
    auto inst = CInstallation::Parse(R"(
[position A]
transponder = 11494000 H 27500000 a-low-h.ts
transponder = 11523000 V 27500000 a-low-v.ts
transponder = 12188000 H 27500000 a-high-h.ts
[position B]
transponder = 11494000 H 27500000 b-low-h.ts
[position D]
transponder = 12603000 V 22000000 d-high-v.ts
)",
                                     "", err);
    EXPECT_TRUE(inst) << err;
    return *inst;
}

ChannelParams Sat(uint32_t freq, uint32_t lof, uint32_t sr, uint32_t volts, uint32_t tone) {
    ChannelParams c;
    c.frequencyKHz = freq;
    c.lofKHz = lof;
    c.symbolRate = sr;
    c.inversion = 2;
    c.voltage = volts;
    c.tone = tone;
    return c;
}

std::vector<uint8_t> Committed(int position, bool repeat) {
    return {uint8_t(repeat ? 0xE1 : 0xE0), 0x10, 0x38, uint8_t(0xF0 | position << 2)};
}

const char* FileOf(const Transponder* tp) { return tp ? tp->file.c_str() : "none"; }

}  // namespace

TEST(DishTunerTest, LockDependsOnOscillatorVoltageToneAndPosition) {
    const CInstallation inst = TwoPositions();
    struct Case {
        const char* name;
        int position;  // -1: tone burst A
        ChannelParams params;
        const char* expected;
    } cases[] = {
        {"low band horizontal", 0, Sat(11494000, 9750000, 27500000, 18, 0), "a-low-h.ts"},
        {"low band vertical", 0, Sat(11523000, 9750000, 27500000, 13, 0), "a-low-v.ts"},
        {"high band needs the tone", 0, Sat(12188000, 10600000, 27500000, 18, 1), "a-high-h.ts"},
        {"high band without tone", 0, Sat(12188000, 10600000, 27500000, 18, 0), "none"},
        {"wrong oscillator for the band", 0, Sat(11494000, 10600000, 27500000, 18, 0), "none"},
        {"wrong polarisation", 0, Sat(11494000, 9750000, 27500000, 13, 0), "none"},
        {"LNB supply off", 0, Sat(11494000, 9750000, 27500000, 0, 0), "none"},
        {"symbol rate off", 0, Sat(11494000, 9750000, 22000000, 18, 0), "none"},
        {"small tuning offset", 0, Sat(11495500, 9750000, 27500000, 18, 0), "a-low-h.ts"},
        {"too far off", 0, Sat(11500000, 9750000, 27500000, 18, 0), "none"},
        {"position B", 1, Sat(11494000, 9750000, 27500000, 18, 0), "b-low-h.ts"},
        {"position C is empty", 2, Sat(11494000, 9750000, 27500000, 18, 0), "none"},
        {"position D high band", 3, Sat(12603000, 10600000, 22000000, 13, 1), "d-high-v.ts"},
        {"D's transponder is not at A", 0, Sat(12603000, 10600000, 22000000, 13, 1), "none"},
    };
    for (const auto& c : cases) {
        CDishTuner tuner(inst);
        auto msg = Committed(c.position, false);
        ASSERT_TRUE(tuner.SendDiseqc(msg, 255));
        auto again = Committed(c.position, true);
        ASSERT_TRUE(tuner.SendDiseqc(again, 255));
        EXPECT_STREQ(FileOf(tuner.Tune(c.params)), c.expected) << c.name;
    }
}

TEST(DishTunerTest, ToneBurstSelectsAOrB) {
    const CInstallation inst = TwoPositions();
    CDishTuner tuner(inst);
    const auto params = Sat(11494000, 9750000, 27500000, 18, 0);
    ASSERT_TRUE(tuner.SendDiseqc({}, 1));
    EXPECT_STREQ(FileOf(tuner.Tune(params)), "b-low-h.ts");
    ASSERT_TRUE(tuner.SendDiseqc({}, 0));
    EXPECT_STREQ(FileOf(tuner.Tune(params)), "a-low-h.ts");
    // "DiSEqC off" (reset command) leaves the switch where it is.
    const std::vector<uint8_t> reset = {0xE0, 0x00, 0x00};
    ASSERT_TRUE(tuner.SendDiseqc({}, 1));
    ASSERT_TRUE(tuner.SendDiseqc(reset, 255));
    EXPECT_STREQ(FileOf(tuner.Tune(params)), "b-low-h.ts");
}

TEST(DishTunerTest, WithoutSwitchEveryCommandReachesPositionA) {
    std::string err;
    auto inst =
        CInstallation::Parse("[position A]\ntransponder = 11494000 H 27500000 only.ts\n", "", err);
    ASSERT_TRUE(inst);
    CDishTuner tuner(*inst);
    auto d = Committed(3, false);
    ASSERT_TRUE(tuner.SendDiseqc(d, 255));
    EXPECT_STREQ(FileOf(tuner.Tune(Sat(11494000, 9750000, 27500000, 18, 0))), "only.ts");
}

TEST(DishTunerTest, ReportsThePolarisationAndOffsetOfTheLock) {
    const CInstallation inst = TwoPositions();
    CDishTuner tuner(inst);
    ASSERT_TRUE(tuner.Tune(Sat(11524000, 9750000, 27500000, 13, 0)));
    EXPECT_EQ(tuner.Channel().polarisation, 1u);
    EXPECT_EQ(tuner.OffsetKHz(), 1000);
    EXPECT_EQ(tuner.Channel().frequencyKHz, 11524000u);
}

TEST(DishTunerTest, RejectsOverlongDiseqcMessages) {
    const CInstallation inst = TwoPositions();
    CDishTuner tuner(inst);
    const std::vector<uint8_t> longMsg(7, 0xE0);
    EXPECT_FALSE(tuner.SendDiseqc(longMsg, 255));
}

TEST(DishTunerTest, CableLocksOnFrequencyAndSymbolRate) {
    std::string err;
    auto inst = CInstallation::Parse(
        "[cable]\ntransponder = 346000 QAM64 6900000 k346.ts\n"
        "transponder = 354000 QAM256 6900000 k354.ts\n",
        "", err);
    ASSERT_TRUE(inst);
    CDishTuner tuner(*inst);
    ChannelParams c;
    c.frequencyKHz = 354000;
    c.symbolRate = 6900000;
    EXPECT_STREQ(FileOf(tuner.Tune(c)), "k354.ts");
    c.frequencyKHz = 350000;
    EXPECT_STREQ(FileOf(tuner.Tune(c)), "none");
    c.frequencyKHz = 346000;
    c.symbolRate = 6111000;
    EXPECT_STREQ(FileOf(tuner.Tune(c)), "none");
}
