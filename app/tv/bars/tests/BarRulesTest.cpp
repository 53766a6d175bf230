// The rules of the TV bars without windows: volume keys, on-screen texts,
// status texts, the decoder rows and the system information rows.
#include <gtest/gtest.h>

#include "tv/bars/BarRules.h"
#include "tv/bars/SystemInfoRows.h"

using namespace BarRules;

TEST(BarRules, RemoteKeysStepTheVolumeAndFollowTheMuteRules) {
    EXPECT_EQ(ApplyRemoteKey({67, false}, KeyVolumeUp), (SoundState{69, false}));
    EXPECT_EQ(ApplyRemoteKey({69, false}, KeyVolumeUp), (SoundState{69, false}));
    EXPECT_EQ(ApplyRemoteKey({0, true}, KeyVolumeUp), (SoundState{5, false}));
    EXPECT_EQ(ApplyRemoteKey({3, false}, KeyVolumeDown), (SoundState{0, true}));
    EXPECT_EQ(ApplyRemoteKey({6, false}, KeyVolumeDown), (SoundState{1, false}));
    EXPECT_EQ(ApplyRemoteKey({40, true}, KeyVolumeDown), (SoundState{35, false}));
    EXPECT_EQ(ApplyRemoteKey({40, false}, KeyMute), (SoundState{40, true}));
    EXPECT_EQ(ApplyRemoteKey({40, true}, KeyMute), (SoundState{40, false}));
    EXPECT_EQ(ApplyRemoteKey({40, false}, 46), std::nullopt);
}

TEST(BarRules, OnScreenTextsFillTheWholeField) {
    EXPECT_EQ(OsdVolumeText(69), "Volume:  69" + std::string(29, ' '));
    EXPECT_EQ(OsdVolumeText(5), "Volume:  5" + std::string(30, ' '));
    EXPECT_EQ(OsdMuteText(), "   Mute " + std::string(32, ' '));
}

TEST(BarRules, StatusTexts) {
    EXPECT_EQ(PidText(255, true), "00FF");
    EXPECT_EQ(PidText(255, false), "255");
    EXPECT_EQ(FrequencyText(11837000), "11837.000 Mhz");
    EXPECT_EQ(SymbolRateText(27500000), "27500.000");
    EXPECT_EQ(PolarisationText(1), "Vertikal");
    EXPECT_EQ(PolarisationText(0), "Horizontal");
    EXPECT_NEAR(ErrorRatePercent(5, -10), 0.49, 0.005);
    EXPECT_DOUBLE_EQ(ErrorRatePercent(3, 1), 600.0);
}

TEST(BarRules, AfcRunsRedToGreenOnlyBelowOne) {
    EXPECT_EQ(Afc(-250), (AfcBar{250, true}));
    EXPECT_EQ(Afc(250), (AfcBar{250, false}));
    EXPECT_EQ(Afc(0), (AfcBar{0, true}));
    EXPECT_EQ(Afc(1), (AfcBar{1, false}));
    EXPECT_EQ(Afc(INT32_MIN).value, 2147483648LL);
}

TEST(BarRules, DecoderRows) {
    DecoderState s;
    s.width = 720;
    s.height = 576;
    s.bitRate = 6500;
    s.format = 2;
    s.frameRate = 3;
    s.skippedPictures = 7;
    s.repeatedPictures = 11;
    const std::vector<std::pair<QString, QString>> expected{
        {"Auflösung", "720 x 576"}, {"Bitrate", "6.500 MBit/s"}, {"Format", "2"},
        {"Framerate", "3"},         {"Skipped Pictures", "7"},   {"Repeated Pictures", "11"}};
    EXPECT_EQ(DecoderRows(s), expected);
}

TEST(SystemInfoRows, ClockInHundredthsOfMegahertz) {
    EXPECT_EQ(SystemInfoRows::ClockText(866050000), "866.05 MHz ungefähr");
    EXPECT_EQ(SystemInfoRows::ClockText(2400009999ULL), "2400.00 MHz ungefähr");
    EXPECT_EQ(SystemInfoRows::ClockText(3000700000ULL), "3000.70 MHz ungefähr");
}

TEST(SystemInfoRows, MemoryFromMeminfo) {
    const QByteArray text =
        "MemTotal:       16318480 kB\nMemFree:          512000 kB\n"
        "MemAvailable:    8000000 kB\nSwapTotal:       2097148 kB\nSwapFree:        1000000 kB\n";
    const auto memory = SystemInfoRows::ParseMemInfo(text);
    ASSERT_TRUE(memory);
    const auto rows = SystemInfoRows::MemoryRows(*memory);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], (SystemInfoRows::Row{"Speicher", "16318480 KB RAM gefunden"}));
    EXPECT_EQ(rows[1], (SystemInfoRows::Row{"", "8000000 KB RAM frei"}));
    EXPECT_EQ(rows[2], (SystemInfoRows::Row{"", "9000000 KB Virtuelles RAM frei"}));
    // "%7.0f" keeps small figures right-aligned.
    EXPECT_EQ(SystemInfoRows::MemoryRows({1024, 0, 0})[0].second, "   1024 KB RAM gefunden");
    // Without MemAvailable the free memory is MemFree; without MemTotal nothing.
    EXPECT_EQ(SystemInfoRows::ParseMemInfo("MemTotal: 100 kB\nMemFree: 40 kB\n")->free, 40);
    EXPECT_FALSE(SystemInfoRows::ParseMemInfo("MemFree: 40 kB\n"));
}

TEST(SystemInfoRows, FirmwareAndCheckTexts) {
    EXPECT_EQ(SystemInfoRows::FirmwareText(0x1234ABCD), "3.4.ABCD Final ");
    EXPECT_EQ(SystemInfoRows::FirmwareText(0x00210005), "2.1.0005 Beta ");
    EXPECT_EQ(SystemInfoRows::IpCheckText(0), "IP is valid");
    EXPECT_EQ(SystemInfoRows::IpCheckText(6), "IP was changed");
    EXPECT_EQ(SystemInfoRows::MacCheckText(5), "MAC was changed (Windows restart necessary)");
    EXPECT_EQ(SystemInfoRows::MacCheckText(-1), "-1");
}
