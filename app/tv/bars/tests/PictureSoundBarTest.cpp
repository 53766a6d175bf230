// The picture and sound bar on a fake card: start values, what reaches the
// card, the remote keys and the on-screen volume display.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QSettings>
#include <QSlider>
#include <QTest>

#include "common/PrivateMessages.h"
#include "receiver/CFakeDeviceSet.h"
#include "tv/bars/CPictureSoundBar.h"
#include "tv/bars/CVolumeOsd.h"

namespace {
using Lines = std::vector<std::string>;

class PictureSoundBar : public ::testing::Test {
  protected:
    void SetUp() override { QSettings().clear(); }
    void TearDown() override {
        bar.reset();
        QSettings().clear();
    }
    void Make() { bar = std::make_unique<CPictureSoundBar>(&card); }
    void Store(const char* key, int value) {
        QSettings().setValue(QStringLiteral("Einstellungen/") + QString::fromUtf8(key), value);
    }
    int Stored(const char* key) {
        return QSettings().value(QStringLiteral("Einstellungen/") + QString::fromUtf8(key)).toInt();
    }
    void Key(int code) {
        PrivateMessages::SendTo(MessageWindow::PictureBar, Msg::RemoteKey, code, 0);
    }
    template <class W>
    W* Control(int id) {
        return qobject_cast<W*>(bar->Control(id));
    }

    CFakeDeviceSet card;
    std::unique_ptr<CPictureSoundBar> bar;
};

const Lines VolumeOsd69 = {
    "CreateOSDWindow 7 0 320 35",
    "MoveWindowAbs 7 30 30",
    "WriteText 7 0 0 40 \"Volume:  69" + std::string(29, ' ') + "\"",
    "DrawBlock 7 170 5 138 20 1",
    "SetColor 7 2 0 255 0",
    "SetColor 7 2 1 64 60288",
    "SetBlend 7 2 0 8",
    "SetBlend 7 2 1 15",
    "SetColorBlend 7",
    "BringToTop 7",
};
const Lines MuteOsd = {
    "CreateOSDWindow 7 0 100 35",
    "MoveWindowAbs 7 30 30",
    "WriteText 7 0 0 40 \"   Mute " + std::string(32, ' ') + "\"",
    "SetColor 7 2 0 255 0",
    "SetColor 7 2 1 64 60288",
    "SetBlend 7 2 0 8",
    "SetBlend 7 2 1 15",
    "SetColorBlend 7",
    "BringToTop 7",
};
}  // namespace

TEST_F(PictureSoundBar, StartsWithTheDefaultsAndGivesThemToTheCardOnce) {
    Make();
    EXPECT_EQ(bar->Settings(), CPictureSoundSettings{});
    EXPECT_EQ(Control<QSlider>(CPictureSoundBar::BrightnessSlider)->value(), 170);
    EXPECT_EQ(Control<QSlider>(CPictureSoundBar::ContrastSlider)->value(), 160);
    EXPECT_EQ(Control<QSlider>(CPictureSoundBar::SaturationSlider)->value(), 200);
    EXPECT_EQ(Control<QSlider>(CPictureSoundBar::VolumeSlider)->maximum(), 69);
    EXPECT_EQ(Control<QSlider>(CPictureSoundBar::VolumeSlider)->value(), 69);
    EXPECT_FALSE(Control<QCheckBox>(CPictureSoundBar::MuteCheck)->isChecked());
    EXPECT_EQ(Control<QComboBox>(CPictureSoundBar::ChannelList)->currentText(), "A+B");
    EXPECT_EQ(Control<QComboBox>(CPictureSoundBar::VideoOutList)->currentText(), "CVBS & RGB");
    EXPECT_EQ(Control<QComboBox>(CPictureSoundBar::StandardList)->currentText(), "PAL");
    EXPECT_EQ(Control<QComboBox>(CPictureSoundBar::AspectList)->currentText(), "4:3");
    EXPECT_EQ(Control<QComboBox>(CPictureSoundBar::TestModeList)->currentText(), "keine Balken");
    EXPECT_EQ(card.Calls(), (Lines{"SetPictureParameters 170 160 200", "SetAudioChannel 0",
                                   "SetVideoOutputMode 1", "SetVideoStandard 0", "SetAspectRatio 0",
                                   "SetVideoTestMode 0", "SetAudioMute 0"}));
    EXPECT_EQ(PrivateMessages::Window(MessageWindow::PictureBar), bar.get());
}

TEST_F(PictureSoundBar, StoredValuesComeBackAndAnUnknownEntryIsNoSelection) {
    Store("Helligkeit", 300);  // cut to the slider's range
    Store("Volume", 20);
    Store("Mute", 1);
    Store("VideoOut", 7);
    Store("VideoMode", 1);
    Make();
    EXPECT_EQ(Control<QComboBox>(CPictureSoundBar::VideoOutList)->currentIndex(), -1);
    EXPECT_EQ(Control<QSlider>(CPictureSoundBar::VolumeSlider)->value(), 20);
    EXPECT_TRUE(Control<QCheckBox>(CPictureSoundBar::MuteCheck)->isChecked());
    EXPECT_EQ(card.Calls(), (Lines{"SetPictureParameters 255 160 200", "SetAudioChannel 0",
                                   "SetVideoOutputMode 1", "SetVideoStandard 0", "SetAspectRatio 1",
                                   "SetVideoTestMode 0", "SetAudioMute 1"}));
}

TEST_F(PictureSoundBar, ControlChangesGoToTheCardAndIntoTheSettings) {
    Make();
    std::vector<PictureSettings> window;
    bar->SetVideoWindowHook([&](const PictureSettings& p) { window.push_back(p); });
    card.ClearLog();
    Control<QSlider>(CPictureSoundBar::ContrastSlider)->setValue(100);
    Control<QSlider>(CPictureSoundBar::VolumeSlider)->setValue(30);
    Control<QComboBox>(CPictureSoundBar::TestModeList)->setCurrentIndex(2);
    Control<QComboBox>(CPictureSoundBar::ChannelList)->setCurrentIndex(-1);
    EXPECT_EQ(card.Calls(), (Lines{"SetPictureParameters 170 100 200", "SetVolume 30 30",
                                   "SetVideoTestMode 2", "SetAudioChannel 0"}));
    EXPECT_EQ(window, (std::vector<PictureSettings>{{170, 160, 200}, {170, 100, 200}}));
    EXPECT_EQ(Stored("Kontrast"), 100);
    EXPECT_EQ(Stored("Volume"), 30);
    EXPECT_EQ(Stored("VideoBars"), 2);
    EXPECT_EQ(Stored("Kanal"), -1);
    EXPECT_EQ(Stored("Sättigung"), 200);
}

TEST_F(PictureSoundBar, VolumeKeysStepAndShowTheVolumeForOneSecond) {
    Store("Volume", 67);
    Make();
    card.ClearLog();
    Key(16);
    Lines expected{"SetVolume 69 69"};
    expected.insert(expected.end(), VolumeOsd69.begin(), VolumeOsd69.end());
    EXPECT_EQ(card.Calls(), expected);
    EXPECT_EQ(Control<QSlider>(CPictureSoundBar::VolumeSlider)->value(), 69);
    EXPECT_EQ(Stored("Volume"), 69);
    EXPECT_EQ(bar->VolumeDisplay().RemoveTimer().interval(), 1000);
    ASSERT_TRUE(bar->VolumeDisplay().RemoveTimer().isActive());

    card.ClearLog();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !bar->VolumeDisplay().Shown(); }, 3000));
    EXPECT_EQ(card.Calls(), (Lines{"DestroyOSDWindow 7"}));
}

TEST_F(PictureSoundBar, SofterBelowOneMutesAndTheMuteDisplayStays) {
    Store("Volume", 3);
    Make();
    card.ClearLog();
    Key(17);
    Lines expected{"SetVolume 0 0", "SetAudioMute 1"};
    expected.insert(expected.end(), MuteOsd.begin(), MuteOsd.end());
    EXPECT_EQ(card.Calls(), expected);
    EXPECT_TRUE(Control<QCheckBox>(CPictureSoundBar::MuteCheck)->isChecked());
    EXPECT_EQ(Stored("Mute"), 1);
    EXPECT_FALSE(bar->VolumeDisplay().RemoveTimer().isActive());

    // Key 13 unmutes: the mute display goes, the volume display comes.
    card.ClearLog();
    Key(13);
    EXPECT_EQ(card.Calls().at(0), "SetAudioMute 0");
    EXPECT_EQ(card.Calls().at(1), "DestroyOSDWindow 7");
    EXPECT_EQ(card.Calls().at(2), "CreateOSDWindow 7 0 320 35");
    EXPECT_FALSE(Control<QCheckBox>(CPictureSoundBar::MuteCheck)->isChecked());
}

TEST_F(PictureSoundBar, MuteCheckBoxShowsMuteAndUnmutingRemovesItAtOnce) {
    Make();
    auto* mute = Control<QCheckBox>(CPictureSoundBar::MuteCheck);
    card.ClearLog();
    mute->click();
    Lines expected{"SetAudioMute 1"};
    expected.insert(expected.end(), MuteOsd.begin(), MuteOsd.end());
    EXPECT_EQ(card.Calls(), expected);
    card.ClearLog();
    mute->click();
    EXPECT_EQ(card.Calls(), (Lines{"SetAudioMute 0", "DestroyOSDWindow 7"}));
    EXPECT_FALSE(bar->VolumeDisplay().Shown());
}

TEST_F(PictureSoundBar, ReopenedVideoWindowGetsThePictureOnceASecond) {
    Make();
    int windowCalls = 0;
    bar->SetVideoWindowHook([&](const PictureSettings&) { ++windowCalls; });
    card.ClearLog();
    PrivateMessages::SendTo(MessageWindow::PictureBar, Msg::PictureReapply);
    PrivateMessages::SendTo(MessageWindow::PictureBar, Msg::PictureReapply);
    EXPECT_EQ(card.Calls(), (Lines{"SetPictureParameters 170 160 200"}));
    EXPECT_EQ(windowCalls, 2);  // once when the hook came, once for the message
    QTest::qWait(CPictureSoundBar::ReapplyPauseMs + 50);
    PrivateMessages::SendTo(MessageWindow::PictureBar, Msg::PictureReapply);
    EXPECT_EQ(card.CallsStartingWith("SetPictureParameters").size(), 2u);
}

TEST(PictureSoundBarWithoutCard, ShowsTheControlsAndTakesTheKeys) {
    QSettings().clear();
    CPictureSoundBar bar(nullptr);
    PrivateMessages::SendTo(MessageWindow::PictureBar, Msg::RemoteKey, 17, 0);
    EXPECT_EQ(bar.Settings().volume, 64);
    EXPECT_FALSE(bar.VolumeDisplay().Shown());
    QSettings().clear();
}
