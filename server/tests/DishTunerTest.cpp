#include <gtest/gtest.h>

#include <algorithm>
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

namespace {

// The figures of a tune over many seconds.
std::vector<SignalFigures> Seconds(const CInstallation& inst, const ChannelParams& params) {
    CDishTuner tuner(inst);
    tuner.Tune(params);
    std::vector<SignalFigures> out;
    for (int64_t s = 1700000000; s < 1700000000 + 600; ++s) out.push_back(tuner.Signal(s));
    return out;
}

template <typename F>
auto Lowest(const std::vector<SignalFigures>& v, F field) {
    auto m = field(v[0]);
    for (const auto& s : v) m = std::min(m, field(s));
    return m;
}
template <typename F>
auto Highest(const std::vector<SignalFigures>& v, F field) {
    auto m = field(v[0]);
    for (const auto& s : v) m = std::max(m, field(s));
    return m;
}

const auto kQuality = [](const SignalFigures& s) { return s.quality; };
const auto kStrength = [](const SignalFigures& s) { return s.strengthTenths; };
const auto kBer = [](const SignalFigures& s) { return s.berMantissa; };

}  // namespace

TEST(DishTunerSignalTest, AnExactTuneIsBetterThanTwoMegahertzOff) {
    const CInstallation inst = TwoPositions();  // level 70 everywhere
    const auto exact = Seconds(inst, Sat(11494000, 9750000, 27500000, 18, 0));
    const auto above = Seconds(inst, Sat(11496000, 9750000, 27500000, 18, 0));
    const auto below = Seconds(inst, Sat(11492000, 9750000, 27500000, 18, 0));
    for (const auto* off : {&above, &below}) {
        // Whatever the jitter: the worst second of the exact tune beats the
        // best second 2 MHz off.
        EXPECT_GT(Lowest(exact, kQuality), Highest(*off, kQuality));
        EXPECT_GT(Lowest(exact, kStrength), Highest(*off, kStrength));
        EXPECT_LT(Highest(exact, kBer), Lowest(*off, kBer));
        EXPECT_EQ(off->front().berExponent, exact.front().berExponent);
        EXPECT_TRUE(off->front().locked);
    }
    // The AFC is the offset with its sign: tuned above is positive.
    EXPECT_EQ(exact.front().afcKHz, 0);
    EXPECT_EQ(above.front().afcKHz, 2000);
    EXPECT_EQ(below.front().afcKHz, -2000);
    // The figures do not depend on the side.
    EXPECT_EQ(Lowest(above, kQuality), Lowest(below, kQuality));

    // The cable's capture range is 500 kHz: 400 kHz off is as bad as 2.4 MHz
    // on the dish.
    std::string err;
    auto cable = CInstallation::Parse("[cable]\ntransponder = 346000 QAM64 6900000 k.ts level=70\n",
                                      "", err);
    ASSERT_TRUE(cable);
    ChannelParams c;
    c.frequencyKHz = 346400;
    c.symbolRate = 6900000;
    const auto cableOff = Seconds(*cable, c);
    EXPECT_EQ(cableOff.front().afcKHz, 400);
    EXPECT_LT(Highest(cableOff, kQuality), Lowest(above, kQuality));
}

TEST(DishTunerSignalTest, JitterIsSmallAndTheSameWithinASecond) {
    const CInstallation inst = TwoPositions();
    const auto exact = Seconds(inst, Sat(11494000, 9750000, 27500000, 18, 0));
    // Level 70: strength 70.0 +- 0.5, quality 90 +- 1, bit errors 96 per 2^32
    // +- an eighth, AFC steady; signal to noise and gain follow the strength.
    EXPECT_GE(Lowest(exact, kStrength), 695);
    EXPECT_LE(Highest(exact, kStrength), 705);
    EXPECT_GE(Lowest(exact, kQuality), 89u);
    EXPECT_LE(Highest(exact, kQuality), 91u);
    EXPECT_GE(Lowest(exact, kBer), 84);
    EXPECT_LE(Highest(exact, kBer), 108);
    int changes = 0;
    for (size_t i = 1; i < exact.size(); ++i) {
        const SignalFigures& s = exact[i];
        EXPECT_EQ(s.afcKHz, 0);
        EXPECT_EQ(s.berExponent, -32);
        EXPECT_EQ(s.snrTenths, s.strengthTenths / 5);
        EXPECT_EQ(s.agc, uint32_t(s.strengthTenths) * 655 / 10);
        if (!(s == exact[i - 1])) ++changes;
    }
    // It moves from second to second, and every value of the range turns up.
    EXPECT_GT(changes, 500);
    EXPECT_EQ(Highest(exact, kStrength) - Lowest(exact, kStrength), 10);
    EXPECT_EQ(Highest(exact, kQuality) - Lowest(exact, kQuality), 2u);

    // One second reads the same, however often it is asked.
    CDishTuner tuner(inst);
    ASSERT_TRUE(tuner.Tune(Sat(11494000, 9750000, 27500000, 18, 0)));
    EXPECT_EQ(tuner.Signal(1700000123), tuner.Signal(1700000123));
    // Another transponder jitters differently.
    CDishTuner other(inst);
    ASSERT_TRUE(other.Tune(Sat(11523000, 9750000, 27500000, 13, 0)));
    int same = 0;
    for (int64_t s = 0; s < 100; ++s) same += tuner.Signal(s) == other.Signal(s) ? 1 : 0;
    EXPECT_LT(same, 50);
}

TEST(DishTunerSignalTest, EverythingIsZeroWithoutLock) {
    const CInstallation inst = TwoPositions();
    CDishTuner tuner(inst);
    EXPECT_EQ(tuner.Signal(1700000000), SignalFigures{});  // never tuned
    ASSERT_TRUE(tuner.Tune(Sat(11496000, 9750000, 27500000, 18, 0)));
    ASSERT_FALSE(tuner.Tune(Sat(11496000, 9750000, 27500000, 0, 0)));  // LNB supply off
    for (int64_t s = 1700000000; s < 1700000000 + 60; ++s)
        EXPECT_EQ(tuner.Signal(s), SignalFigures{});
    ASSERT_FALSE(tuner.Tune(Sat(11497001, 9750000, 27500000, 18, 0)));  // just beyond 3 MHz
    EXPECT_EQ(tuner.Signal(1700000000), SignalFigures{});
}
