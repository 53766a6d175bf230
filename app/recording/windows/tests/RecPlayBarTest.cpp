// The VCR bar on a scripted back end: message 1230 reaches the core with its
// index, an announcement from another thread becomes message 1239 and the
// bar shows the state with its colours, the buttons follow the rules, and the
// dialogs' filters and the countdown text are the program's.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QSettings>
#include <QSlider>
#include <QTest>
#include <QToolButton>
#include <thread>

#include "common/PrivateMessages.h"
#include "recording/windows/CRecPlayBar.h"
#include "recording/windows/CVcrPrompts.h"

namespace {

struct ScriptedBackEnd : IRecPlayBackEnd {
    std::vector<std::string> calls;
    RecPlayStatus status;
    std::function<void()> notify;
    int Log(const std::string& c) {
        calls.push_back(c);
        return 1;
    }
    int Open(const std::string& p, int f, int pb) override {
        return Log("Open " + p + " " + std::to_string(f) + " " + std::to_string(pb));
    }
    int Record() override { return Log("Record"); }
    int Playback(std::uint32_t ms) override { return Log("Playback " + std::to_string(ms)); }
    int Pause() override { return Log("Pause"); }
    int SlowPlayback(std::uint8_t) override { return Log("Slow"); }
    int FastPlayback(int) override { return Log("Fast"); }
    int Stop() override { return Log("Stop"); }
    int Close() override { return Log("Close"); }
    int GetStatus(RecPlayStatus& s) override {
        s = status;
        return 1;
    }
    int SetStatusChangedMessage(std::function<void()> n, unsigned int, int enable) override {
        notify = enable ? std::move(n) : nullptr;
        return 1;
    }
};

struct NoPrompts : IVcrPrompts {
    QString playback;
    QString AskPlaybackFile(const QString&) override { return playback; }
    QString AskRecordingFile(const QString&, QString&) override { return {}; }
    bool AskEndPlaylist(const QString&) override { return true; }
    void ShowEmptyPlaylist() override {}
    void ShowRecordingEnded(const QString&) override {}
};

class RecPlayBar : public ::testing::Test {
  protected:
    void SetUp() override {
        QSettings().clear();
        VcrHooks hooks;
        hooks.wait = [](int) {};
        core_ = std::make_unique<CVcrCore>(state_, high_, low_, list_, prompts_, hooks);
        bar_ = std::make_unique<CRecPlayBar>(*core_);
    }
    void TearDown() override {
        bar_.reset();
        core_.reset();
    }
    bool Enabled(CRecPlayBar::Button b) const { return bar_->ButtonOf(b)->isEnabled(); }

    RecPlayState state_;
    ScriptedBackEnd high_, low_;
    CPlayListFile list_;
    NoPrompts prompts_;
    std::unique_ptr<CVcrCore> core_;
    std::unique_ptr<CRecPlayBar> bar_;
};

TEST_F(RecPlayBar, CommandsAndAnnouncementsArriveAsPrivateMessages) {
    EXPECT_EQ(PrivateMessages::Window(MessageWindow::VcrBar), bar_.get());
    using B = CRecPlayBar::Button;
    EXPECT_FALSE(Enabled(B::Play));
    EXPECT_FALSE(Enabled(B::Record));
    EXPECT_TRUE(Enabled(B::OpenPlayback));

    prompts_.playback = "/v/film.pva";
    low_.status.lengthMs = 20000;
    PrivateMessages::PostTo(MessageWindow::VcrBar, Msg::VcrCommand, 1, qintptr(kKeepPlaylistIndex));
    QCoreApplication::processEvents();
    EXPECT_EQ(low_.calls.front(), "Open /v/film.pva 5 1");
    EXPECT_EQ(bar_->FileLabel()->text(), "/v/film.pva");
    EXPECT_EQ(bar_->Slider()->maximum(), 20000);
    EXPECT_TRUE(Enabled(B::Play));
    EXPECT_TRUE(Enabled(B::Half));

    bar_->ButtonOf(B::Play)->click();
    EXPECT_EQ(low_.calls.back(), "Playback 0");

    // The network engine announces from its own thread.
    low_.status.mode = 3;
    low_.status.positionMs = 7000;
    low_.status.format = 5;
    ASSERT_TRUE(low_.notify);
    std::thread worker(low_.notify);
    worker.join();
    QTRY_COMPARE(bar_->StateLabel()->text(), QStringLiteral("(A/V PES) Pause"));
    EXPECT_EQ(bar_->Slider()->value(), 7000);
    EXPECT_TRUE(bar_->Slider()->styleSheet().contains("rgb(0,0,255)"));
}

TEST_F(RecPlayBar, OptionsAreSavedAndThePlaylistBoxLocksWhileATitlePlays) {
    bar_->EndlessBox()->setChecked(true);
    EXPECT_EQ(QSettings().value("Einstellungen/Endloswiedergabe").toInt(), 1);
    CPlayListEntry entry;
    entry.fileName = "/v/a.pva";
    list_.entries.push_back(entry);
    bar_->PlaylistBox()->setChecked(true);
    EXPECT_EQ(QSettings().value("Einstellungen/Verwende Playliste").toInt(), 1);
    EXPECT_EQ(state_.usePlaylist, 1);
    EXPECT_TRUE(bar_->ButtonOf(CRecPlayBar::Button::Play)->isEnabled());
    bar_->ButtonOf(CRecPlayBar::Button::Play)->click();
    EXPECT_FALSE(bar_->PlaylistBox()->isEnabled());
    bar_->ButtonOf(CRecPlayBar::Button::Stop)->click();
    EXPECT_TRUE(bar_->PlaylistBox()->isEnabled());
}

TEST(VcrPrompts, FiltersAndCountdownAreThePrograms) {
    const QStringList save = CVcrPrompts::RecordingFilters();
    EXPECT_EQ(save.first(), "PES Audio/Video Dateien (*.pva)");
    EXPECT_TRUE(save.contains("MPEG-TS Dateien (*.ts)"));
    EXPECT_EQ(CVcrPrompts::PlaybackFilters().first(), "Alle Dateien (*.psa;*.mp2;*.psv;*.pva)");
    EXPECT_EQ(CVcrPrompts::CountdownText(7),
              "Soll die Wiedergabe der Playliste abgebrochen werden?\n\n"
              "Automatische Wiedergabe mit dem nächsten Titel startet in 7 sek!");
}

}  // namespace
