// The video window's side of the program on a fake library and fake windows:
// the placement rules, the order of the library calls and pauses when the TV
// window comes and goes, the bar is shown, full screen is entered and left,
// and the commands and messages of the video window.
#include <gtest/gtest.h>

#include <QTest>

#include "common/CProgramState.h"
#include "common/CommandIds.h"
#include "common/PrivateMessages.h"
#include "receiver/CFakeDeviceSet.h"
#include "tv/CFakeVideoDisplay.h"
#include "tv/CTvVideo.h"
#include "tv/ITvWindowHost.h"
#include "tv/VideoMenuItems.h"
#include "tv/VideoPlacement.h"

namespace {

using Log = std::vector<std::string>;

TEST(VideoPlacement, KeepsFourToThreeInTheTopLeftCorner) {
    EXPECT_EQ(VideoPlacement::InWindow({10, 20, 400, 300}), QRect(10, 20, 400, 300));
    EXPECT_EQ(VideoPlacement::InWindow({10, 20, 500, 300}), QRect(10, 20, 400, 300));
    EXPECT_EQ(VideoPlacement::InWindow({10, 20, 400, 400}), QRect(10, 20, 400, 300));
    // The bar: 206 > 168 * 4/3 is false, so 206 - 6 wide and 206 * 0.75 - 18 high.
    EXPECT_EQ(VideoPlacement::InBar({100, 50, 206, 168}), QRect(106, 68, 200, 136));
    EXPECT_EQ(VideoPlacement::InBar({0, 0, 400, 168}), QRect(6, 18, 218, 150));
    EXPECT_EQ(VideoPlacement::Provisional({10, 20, 400, 300}), QRect(18, 28, 384, 100));
}

// Records every private message it gets as "number w l".
class Receiver : public QObject {
  public:
    Log got;
    bool event(QEvent* e) override {
        if (!PrivateMessageEvent::IsPrivate(e)) return QObject::event(e);
        const auto* m = static_cast<PrivateMessageEvent*>(e);
        got.push_back(std::to_string(m->number()) + ' ' + std::to_string(m->wParam()) + ' ' +
                      std::to_string(m->lParam()));
        return true;
    }
};

// The windows around the video, written into the library's log.
class FakeHost : public ITvWindowHost {
  public:
    explicit FakeHost(CFakeVideoDisplay& log) : log_(log) {}
    DisplayModeResult mode = DisplayModeResult::NotSupported;
    bool backgroundMade = true;
    bool barHidden = true;
    QRect bar{100, 50, 206, 168};

    DisplayModeResult SetFullScreenMode() override { return Note("SetMode"), mode; }
    void RestoreDisplayMode() override { Note("RestoreMode"); }
    void ShowInformation(const QString& caption, const QString& text) override {
        Note("Info " + caption.toStdString() + ": " + text.toStdString());
    }
    bool CreateBackground() override { return Note("CreateBackground"), backgroundMade; }
    void DestroyBackground() override { Note("DestroyBackground"); }
    void ShowBackgroundFailure(const QString& caption, const QString& text) override {
        Note("Stop " + caption.toStdString() + ": " + text.toStdString());
    }
    QRect BarRect() const override { return bar; }
    bool BarHidden() const override { return barHidden; }
    void ShowBar() override { Note("ShowBar"), barHidden = false; }
    void HideBar() override { Note("HideBar"), barHidden = true; }
    void OpenTvMenu(QPoint at) override { Note(Point("TvMenu", at)); }
    void OpenVcrMenu(QPoint at) override { Note(Point("VcrMenu", at)); }

  private:
    static std::string Point(const char* what, QPoint p) {
        return std::string(what) + ' ' + std::to_string(p.x()) + ' ' + std::to_string(p.y());
    }
    void Note(const std::string& line) { log_.Note(line); }
    CFakeVideoDisplay& log_;
};

class TvVideoTest : public ::testing::Test {
  protected:
    void SetUp() override {
        video_.Steps().SetPauseObserver(
            [this](int ms) { display_.Note("pause " + std::to_string(ms)); });
        video_.StartUp();
        display_.ClearLog();
        PrivateMessages::RegisterWindow(MessageWindow::View, &view_);
        PrivateMessages::RegisterWindow(MessageWindow::VcrBar, &vcr_);
        PrivateMessages::RegisterWindow(MessageWindow::PictureBar, &picture_);
    }
    void TearDown() override {
        for (auto role : {MessageWindow::View, MessageWindow::VcrBar, MessageWindow::PictureBar})
            PrivateMessages::RegisterWindow(role, nullptr);
    }
    void WaitForSteps() {
        ASSERT_TRUE(QTest::qWaitFor([this] { return !video_.Steps().Busy(); }, 5000));
        QCoreApplication::processEvents();  // the posted messages
    }
    void EnterAndWait() {
        video_.EnterFullScreen();
        WaitForSteps();
        display_.ClearLog();
        card_.ClearLog();
        picture_.got.clear();
    }

    CFakeVideoDisplay display_;
    FakeHost host_{display_};
    CProgramState state_;
    CFakeDeviceSet card_;
    CTvVideo video_{display_, host_, state_, &card_};
    Receiver view_, vcr_, picture_;
};

TEST_F(TvVideoTest, StartUpTakesTheSixNumbersAndAnnouncesItself) {
    CFakeVideoDisplay display;
    state_.SetFullScreen(true);
    CTvVideo video(display, host_, state_, nullptr);
    display.messageValues[5] = 77;
    video.StartUp();
    EXPECT_EQ(video.VideoMessages()[5], 77u);
    EXPECT_FALSE(state_.FullScreen());
    EXPECT_EQ(display.Log(), (Log{"Register UM_DVBAPP_HWND", "Register UM_DVBAPP_TOP",
                                  "Register UM_DVBAPP_CTRLVIDEO", "Register UM_DVBAPP_TOP",
                                  "Broadcast UM_DVBAPP_HWND 0 0", "Broadcast UM_DVBAPP_TOP 0 0"}));
}

TEST_F(TvVideoTest, TvWindowComesUpOverItsProvisionalPlaceAndTellsTheViewer) {
    video_.TvWindowCreated(4711, [] { return QRect(10, 20, 400, 300); });
    WaitForSteps();
    EXPECT_EQ(display_.Log(),
              (Log{"Open -fbrd", "pause 50", "EnableVideo 1", "UnHide", "MoveTo 18 28 384 100 0",
                   "Register UM_DVBAPP_HWND", "Register UM_DVBAPP_TOP",
                   "Register UM_DVBAPP_CTRLVIDEO", "Broadcast UM_DVBAPP_TOP 0 0",
                   "Send UM_DVBAPP_HWND 0 4711", "Send UM_DVBAPP_TOP 0 0"}));

    display_.ClearLog();
    display_.viewerExists = false;
    video_.TvWindowCreated(4711, [] { return QRect(0, 0, 400, 300); });
    WaitForSteps();
    EXPECT_EQ(display_.Log(),
              (Log{"Open -fbrd", "pause 50", "EnableVideo 1", "UnHide", "MoveTo 8 8 384 100 0"}));
}

TEST_F(TvVideoTest, TimerMovesTheVideoOnlyWhenTheWindowMoved) {
    video_.TvWindowTimer({10, 20, 500, 300});
    video_.TvWindowTimer({10, 20, 500, 300});
    video_.TvWindowTimer({10, 20, 400, 400});
    EXPECT_EQ(display_.Log(), (Log{"MoveTo 10 20 400 300 1", "MoveTo 10 20 400 300 1"}));

    display_.ClearLog();
    video_.TvWindowDestroyed();
    WaitForSteps();
    EXPECT_EQ(display_.Log(), (Log{"Close", "pause 50", "EnableVideo 0"}));
}

TEST_F(TvVideoTest, ShowingTheBarPlacesTheVideoFirstAndHidingClosesItOnMenuUpdate) {
    video_.Command(Cmd::ViewTvBar);
    WaitForSteps();
    EXPECT_EQ(display_.Log(), (Log{"Open -fbrd", "EnableVideo 1", "UnHide",
                                   "MoveTo 106 68 200 136 1", "pause 550", "ShowBar"}));
    EXPECT_EQ(picture_.got, Log{"1229 0 0"});

    display_.ClearLog();
    video_.MenuStateUpdate();  // shown: the video stays
    video_.Command(Cmd::ViewTvBar);
    video_.MenuStateUpdate();
    EXPECT_EQ(display_.Log(), (Log{"HideBar", "Close", "EnableVideo 0"}));
}

TEST_F(TvVideoTest, EnteringFullScreenWithAnUnchangedDesktop) {
    video_.Command(Cmd::FullScreenOn);
    video_.Command(Cmd::FullScreenOn);  // while the first runs
    WaitForSteps();
    EXPECT_EQ(display_.Log(),
              (Log{"Close", "EnableVideo 0", "SetMode",
                   "Info Desktopauflösung ändern: The graphics mode is not supported.", "pause 50",
                   "CreateBackground", "Open -nore", "pause 1000", "MoveTo 16 12 784 574 1",
                   "EnableVideo 1", "pause 500", "SetBCS 170 160 200"}));
    EXPECT_EQ(card_.CallsStartingWith("SetPictureParameters").size(), 1u);
    EXPECT_EQ(picture_.got, Log{"1229 0 0"});
    EXPECT_TRUE(state_.FullScreen());

    display_.ClearLog();
    video_.ToggleFullScreen();  // toggles leave, enter does nothing now
    video_.Command(Cmd::FullScreenOn);
    WaitForSteps();
    EXPECT_EQ(display_.Log(),
              (Log{"DestroyBackground", "Close", "RestoreMode", "Open -fbrd", "EnableVideo 1",
                   "UnHide", "MoveTo 106 68 200 136 1", "pause 550", "SetBCS 170 160 200"}));
    EXPECT_FALSE(state_.FullScreen());
    video_.Command(Cmd::FullScreenOff);
    EXPECT_FALSE(video_.Steps().Busy());
}

TEST_F(TvVideoTest, FullScreenGoesOnWithoutMessageWhenTheModeChangesOrWithoutBackground) {
    host_.mode = DisplayModeResult::Changed;
    host_.backgroundMade = false;
    video_.EnterFullScreen();
    WaitForSteps();
    const Log& log = display_.Log();
    EXPECT_EQ(
        std::count_if(log.begin(), log.end(), [](auto& l) { return l.rfind("Info", 0) == 0; }), 0);
    EXPECT_NE(std::find(log.begin(), log.end(),
                        "Stop Vollbildmodus: Hintergrund für den Vollbildmodus konnte nicht "
                        "erstellt werden!"),
              log.end());
    EXPECT_TRUE(state_.FullScreen());
}

TEST_F(TvVideoTest, MirrorThenNormalBroadcastsFourThenEight) {
    video_.Command(Cmd::VideoMirror);
    video_.Command(Cmd::VideoNormal);
    EXPECT_EQ(display_.Log(),
              (Log{"Broadcast UM_DVBAPP_CTRLVIDEO 0 4", "Broadcast UM_DVBAPP_CTRLVIDEO 0 8"}));
}

TEST_F(TvVideoTest, MenuCommandsPostToTheViewAndTheVcrBar) {
    for (int id : {Cmd::ProgramUp, Cmd::ProgramDown, Cmd::GuideShortInfo, Cmd::GuideCurrent,
                   Cmd::GuideNext, Cmd::GuideClose, Cmd::MenuExit})
        EXPECT_TRUE(video_.Command(id));
    for (int id : {Cmd::PopupPlaybackOpen, Cmd::PopupPlaybackClose, Cmd::PopupPlay,
                   Cmd::PopupPlayDouble, Cmd::PopupPlayHalf, Cmd::PopupStop, Cmd::PopupPause,
                   Cmd::VcrPreviousTitle, Cmd::VcrNextTitle})
        EXPECT_TRUE(video_.Command(id));
    EXPECT_FALSE(video_.Command(Cmd::FileOpen));
    QCoreApplication::processEvents();
    EXPECT_EQ(view_.got,
              (Log{"1228 2 0", "1228 1 0", "1227 1 0", "1227 2 0", "1227 3 0", "1227 4 0"}));
    EXPECT_EQ(vcr_.got, (Log{"1230 1 268435455", "1230 2 268435455", "1230 3 268435455",
                             "1230 4 268435455", "1230 5 268435455", "1230 7 0", "1230 6 268435455",
                             "1230 10 268435455", "1230 8 268435455"}));
}

TEST_F(TvVideoTest, VideoMessagesOfTheWindow) {
    const auto& vm = video_.VideoMessages();
    EXPECT_FALSE(video_.VideoMessage(vm[0], 1, 0));
    EXPECT_FALSE(video_.VideoMessage(vm[1], 1, 0));
    EXPECT_FALSE(video_.VideoMessage(1234, 1, 0));
    for (int key = 1; key <= 8; ++key) EXPECT_TRUE(video_.VideoMessage(vm[5], key, 0));
    // Menus at the point plus the bar's corner.
    EXPECT_TRUE(video_.VideoMessage(vm[3], 0, 30 | (40 << 16)));
    EXPECT_TRUE(video_.VideoMessage(vm[4], 0, 5 | (6 << 16)));
    QCoreApplication::processEvents();
    EXPECT_EQ(view_.got,
              (Log{"1231 1 0", "1231 2 0", "1228 2 0", "1228 1 0", "1231 7 0", "1231 8 0"}));
    EXPECT_EQ(display_.Log(), (Log{"TvMenu 130 90", "VcrMenu 105 56"}));

    // Full screen: the point as it is.
    EnterAndWait();
    EXPECT_TRUE(video_.VideoMessage(vm[3], 0, 30 | (40 << 16)));
    EXPECT_EQ(display_.Log(), (Log{"TvMenu 30 40"}));
    EXPECT_TRUE(video_.VideoMessage(vm[2], 0, 0));  // toggles back
    WaitForSteps();
    EXPECT_FALSE(state_.FullScreen());
}

TEST_F(TvVideoTest, EntryZeroIsNeverTakenAsEntryFive) {
    CFakeVideoDisplay display;
    display.messageValues[5] = display.messageValues[0];
    CTvVideo video(display, host_, state_, nullptr);
    video.StartUp();
    EXPECT_FALSE(video.VideoMessage(display.messageValues[0], 3, 0));
    QCoreApplication::processEvents();
    EXPECT_TRUE(view_.got.empty());
}

TEST(VideoMenuItems, ItemsAndTheirEnabling) {
    using VideoMenuItems::Item;
    const auto texts = [](const QList<Item>& items) {
        QStringList out;
        for (const Item& i : items)
            out << (i.command == 0 ? QStringLiteral("-")
                                   : i.text + (i.enabled ? QString() : QStringLiteral(" (grau)")));
        return out.join(QLatin1Char('|'));
    };
    EXPECT_EQ(texts(VideoMenuItems::TvMenu(false, false)),
              QStringLiteral("Vollbildmodus verlassen (grau)|Vollbildmodus aktivieren|-|"
                             "Video normal|Video spiegeln|-|Programm + (grau)|Programm - (grau)|-|"
                             "EPG Kurzinfo (grau)|EPG aktuelles Event (grau)|"
                             "EPG nächstes Event (grau)|EPG schließen|-|Menu verlassen"));
    EXPECT_EQ(texts(VideoMenuItems::TvMenu(true, true)),
              QStringLiteral("Vollbildmodus verlassen|Vollbildmodus aktivieren (grau)|-|"
                             "Video normal|Video spiegeln|-|Programm +|Programm -|-|"
                             "EPG Kurzinfo|EPG aktuelles Event|EPG nächstes Event|EPG schließen|-|"
                             "Menu verlassen"));
    EXPECT_EQ(texts(VideoMenuItems::VcrMenu(false, false)),
              QStringLiteral("Wiedergabedatei öffen|Wiedergabedatei schließen (grau)|-|"
                             "Wiedergabe (grau)|Wiedergabe 2x (grau)|Wiedergabe :2 (grau)|-|"
                             "Stop (grau)|Pause (grau)|-|"
                             "Vorherige Datei von Wiedergabeliste (grau)|"
                             "Nächste Datei von Wiedergabeliste (grau)|-|Menu verlassen"));
    const QList<Item> playing = VideoMenuItems::VcrMenu(true, true);
    EXPECT_TRUE(
        std::all_of(playing.begin(), playing.end(), [](const Item& i) { return i.enabled; }));
    const QList<Item> tv = VideoMenuItems::TvMenu(false, true);
    EXPECT_EQ(tv.front().command, Cmd::FullScreenOff);
    EXPECT_EQ(VideoMenuItems::VcrMenu(false, false).at(10).command, Cmd::VcrPreviousTitle);
}

}  // namespace
