// The decoder status bar and the program status bar on a fake card.
#include <gtest/gtest.h>

#include <QTableWidget>

#include "receiver/CFakeDeviceSet.h"
#include "tv/bars/CDecoderStatusBar.h"
#include "tv/bars/CLevelBar.h"
#include "tv/bars/CProgramStatusBar.h"

namespace {
QStringList Column(const QTableWidget& list, int column) {
    QStringList texts;
    for (int row = 0; row < list.rowCount(); ++row) texts << list.item(row, column)->text();
    return texts;
}
}  // namespace

TEST(DecoderStatusBar, RefillsOnEachGoodReadAndKeepsTheRowsOtherwise) {
    CFakeDeviceSet card;
    CDecoderStatusBar bar(&card);
    EXPECT_TRUE(bar.RefreshTimer().isActive());
    EXPECT_EQ(bar.RefreshTimer().interval(), 1000);
    EXPECT_EQ(bar.List().horizontalHeaderItem(0)->text(), "Typ:");
    EXPECT_EQ(bar.List().horizontalHeaderItem(1)->text(), "Wert:");

    card.decoder.width = 544;
    card.decoder.height = 576;
    card.decoder.bitRate = 4012;
    bar.Refresh();
    EXPECT_EQ(Column(bar.List(), 0), (QStringList{"Auflösung", "Bitrate", "Format", "Framerate",
                                                  "Skipped Pictures", "Repeated Pictures"}));
    EXPECT_EQ(bar.List().item(0, 1)->text(), "544 x 576");
    EXPECT_EQ(bar.List().item(1, 1)->text(), "4.012 MBit/s");

    card.decoder.width = 720;
    card.ScriptResult("GetDecoderStatus", 0);
    bar.Refresh();
    EXPECT_EQ(bar.List().item(0, 1)->text(), "544 x 576");
}

TEST(ProgramStatusBar, ShowsTheReadingsOfOneTick) {
    CFakeDeviceSet card;
    CProgramStatusBar bar(&card);
    EXPECT_EQ(bar.RefreshTimer().interval(), 1000);
    card.signal.afc = -250;
    card.signal.quality = 87;
    card.signal.strengthTenths = 123;
    card.signal.berMantissa = 5;
    card.signal.berExponent = -10;
    card.channel.frequency = 11837000;
    card.channel.symbolRate = 27500000;
    card.channel.polarisation = 1;
    card.decoder.videoPid = 255;
    card.decoder.audioPid = 256;
    card.audioBufferFill = 42;
    bar.SetPidHexDisplay(true);
    bar.Refresh();

    EXPECT_EQ(card.Calls(),
              (std::vector<std::string>{"zGetSignal 500", "zGetChannel", "GetVideoPID",
                                        "GetAudioPid", "GetAudioBufferStatus"}));
    EXPECT_EQ(bar.Bar(CProgramStatusBar::QualityBar).Value(), 87);
    EXPECT_NEAR(bar.Bar(CProgramStatusBar::StrengthBar).Value(), 12.3, 1e-9);
    EXPECT_NEAR(bar.Bar(CProgramStatusBar::ErrorRateBar).Value(), 0.49, 0.005);
    EXPECT_EQ(bar.Bar(CProgramStatusBar::ErrorRateBar).Text(), "0.49 %");
    EXPECT_EQ(bar.Bar(CProgramStatusBar::AudioBufferBar).Value(), 42);
    EXPECT_EQ(bar.Text(CProgramStatusBar::FrequencyText), "11837.000 Mhz");
    EXPECT_EQ(bar.Text(CProgramStatusBar::SymbolRateText), "27500.000");
    EXPECT_EQ(bar.Text(CProgramStatusBar::PolarisationText), "Vertikal");
    EXPECT_EQ(bar.Text(CProgramStatusBar::VideoPidText), "00FF");
    EXPECT_EQ(bar.Text(CProgramStatusBar::AudioPidText), "0100");
    bar.SetPidHexDisplay(false);
    EXPECT_EQ(bar.Text(CProgramStatusBar::VideoPidText), "255");

    // The AFC bar shows the size of the deviation; its colours tell the direction.
    const CLevelBar& afc = bar.Bar(CProgramStatusBar::AfcBar);
    EXPECT_EQ(afc.Value(), 250);
    EXPECT_EQ(afc.LowColour(), CLevelBar::Red);
    EXPECT_EQ(afc.HighColour(), CLevelBar::Green);
    card.signal.afc = 250;
    bar.Refresh();
    EXPECT_EQ(afc.Value(), 250);
    EXPECT_EQ(afc.LowColour(), CLevelBar::Green);
    EXPECT_EQ(afc.HighColour(), CLevelBar::Red);
}

TEST(ProgramStatusBar, FailedReadsKeepWhatTheyWouldSet) {
    CFakeDeviceSet card;
    CProgramStatusBar bar(&card);
    card.signal.quality = 80;
    card.signal.berMantissa = 1;
    card.channel.frequency = 12000000;
    card.decoder.videoPid = 100;
    card.audioBufferFill = 50;
    bar.Refresh();

    card.signal.quality = 10;
    card.signal.berMantissa = 2;
    card.channel.frequency = 11000000;
    card.decoder.videoPid = 200;
    card.audioBufferFill = 60;
    card.signalStatus = 1;  // answered, but the front end's status is bad
    card.ScriptResult("zGetChannel", 0);
    card.ScriptResult("GetVideoPID", 0);
    card.ScriptResult("GetAudioBufferStatus", -1);
    bar.Refresh();
    EXPECT_EQ(bar.Bar(CProgramStatusBar::QualityBar).Value(), 80);
    EXPECT_EQ(bar.Bar(CProgramStatusBar::ErrorRateBar).Value(), 100);
    EXPECT_EQ(bar.Text(CProgramStatusBar::FrequencyText), "12000.000 Mhz");
    EXPECT_EQ(bar.Text(CProgramStatusBar::VideoPidText), "100");
    EXPECT_EQ(bar.Bar(CProgramStatusBar::AudioBufferBar).Value(), 50);

    // The channel read is good again: the error rate comes from the signal record
    // of the last signal read the card answered (its bad status kept only the bars).
    card.ScriptResult("zGetChannel", 1);
    bar.Refresh();
    EXPECT_EQ(bar.Text(CProgramStatusBar::FrequencyText), "11000.000 Mhz");
    EXPECT_EQ(bar.Bar(CProgramStatusBar::ErrorRateBar).Value(), 200);
}

TEST(StatusBarsWithoutCard, ReadNothing) {
    CDecoderStatusBar decoder(nullptr);
    CProgramStatusBar program(nullptr);
    EXPECT_FALSE(decoder.RefreshTimer().isActive());
    EXPECT_FALSE(program.RefreshTimer().isActive());
    program.Refresh();
    EXPECT_EQ(program.Text(CProgramStatusBar::FrequencyText), "");
    EXPECT_EQ(program.Bar(CProgramStatusBar::QualityBar).Value(), 0);
}
