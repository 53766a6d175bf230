// The VCR bar's logic on a scripted back end: formats by extension, opening
// for playback and recording, the status update with its texts, colours and
// size estimate, the end of a file with "Endloswiedergabe", the playlist
// titles, a title that does not open, a recording that ends by itself,
// seeking, the quick recording and the choice of back end.
#include <gtest/gtest.h>

#include <QSettings>
#include <deque>

#include "recording/CVcrCore.h"

namespace {

struct FakeBackEnd : IRecPlayBackEnd {
    std::vector<std::string> calls;
    RecPlayStatus status;
    std::deque<int> openResults;  ///< results of the next opens; 1 when empty
    std::function<void()> notify;

    int Log(std::string call) {
        calls.push_back(std::move(call));
        return 1;
    }
    int Open(const std::string& path, int format, int forPlayback) override {
        Log("Open " + path + " " + std::to_string(format) + " " + std::to_string(forPlayback));
        if (openResults.empty()) return 1;
        const int r = openResults.front();
        openResults.pop_front();
        return r;
    }
    int Record() override { return Log("Record"); }
    int Playback(std::uint32_t ms) override { return Log("Playback " + std::to_string(ms)); }
    int Pause() override { return Log("Pause"); }
    int SlowPlayback(std::uint8_t s) override { return Log("Slow " + std::to_string(s)); }
    int FastPlayback(int s) override { return Log("Fast " + std::to_string(s)); }
    int Stop() override { return Log("Stop"); }
    int Close() override { return Log("Close"); }
    int statusResult = 1;
    int GetStatus(RecPlayStatus& out) override {
        if (statusResult == 1) out = status;
        return statusResult;
    }
    int SetStatusChangedMessage(std::function<void()> n, unsigned int, int enable) override {
        notify = enable ? std::move(n) : nullptr;
        return 1;
    }
};

struct FakePrompts : IVcrPrompts {
    QString playbackFile, recordingFile;
    bool endPlaylist = false;
    std::vector<QString> log;
    QString AskPlaybackFile(const QString& folder) override {
        log.push_back("open in " + folder);
        return playbackFile;
    }
    QString AskRecordingFile(const QString&, QString& suffix) override {
        suffix = QStringLiteral("pva");
        return recordingFile;
    }
    bool AskEndPlaylist(const QString& path) override {
        log.push_back("failed " + path);
        return endPlaylist;
    }
    void ShowEmptyPlaylist() override { log.push_back("empty"); }
    void ShowRecordingEnded(const QString& path) override { log.push_back("ended " + path); }
};

class VcrCore : public ::testing::Test {
  protected:
    void SetUp() override {
        QSettings().clear();
        state_.lowLevel = 1;
    }
    CVcrCore& Core() {
        if (!core_) {
            VcrHooks hooks;
            hooks.wait = [](int) {};
            hooks.now = [] { return QDateTime(QDate(2001, 12, 24), QTime(20, 15, 0)); };
            core_ = std::make_unique<CVcrCore>(state_, high_, low_, list_, prompts_, hooks);
        }
        return *core_;
    }
    void AddTitle(const std::string& name, std::uint32_t repetitions = 1) {
        CPlayListEntry entry;
        entry.fileName = name;
        entry.repetitions = repetitions;
        list_.entries.push_back(entry);
    }
    void Report(int mode, std::uint32_t positionMs, std::uint32_t kbits = 0) {
        low_.status.mode = mode;
        low_.status.positionMs = positionMs;
        low_.status.kbits = kbits;
        Core().UpdateStatus();
    }
    std::vector<std::string> Opens() const {
        std::vector<std::string> opens;
        for (const auto& c : low_.calls)
            if (c.starts_with("Open ")) opens.push_back(c.substr(5));
        return opens;
    }
    void Do(VcrCommand code, std::uint32_t index = kKeepPlaylistIndex) {
        Core().Command(int(code), index);
    }

    RecPlayState state_;
    FakeBackEnd high_, low_;
    CPlayListFile list_;
    FakePrompts prompts_;
    std::unique_ptr<CVcrCore> core_;
};

TEST_F(VcrCore, FormatsFollowTheExtension) {
    EXPECT_EQ(CVcrCore::FormatOfPath("/a/b.PVA"), 5);
    EXPECT_EQ(CVcrCore::FormatOfPath("b.psa"), 1);
    EXPECT_EQ(CVcrCore::FormatOfPath("b.mp2"), 2);
    EXPECT_EQ(CVcrCore::FormatOfPath("b.psv"), 4);
    EXPECT_EQ(CVcrCore::FormatOfPath("b.ts"), 6);
    EXPECT_EQ(CVcrCore::FormatOfPath("b.mpg"), 0);
    EXPECT_EQ(CVcrCore::RadioOfFormat(0), -1);
    EXPECT_EQ(CVcrCore::FormatPrefix(0), "(keiner) ");
    EXPECT_EQ(CVcrCore::FormatPrefix(9), "(Unbekannt) ");
    EXPECT_EQ(CVcrCore::Clock(3600 + 62), "01:01:02");
}

TEST_F(VcrCore, OpeningForPlaybackSetsTheSliderUpAndRemembersTheFolder) {
    prompts_.playbackFile = "/video/film.pva";
    low_.status.lengthMs = 10000;
    Do(VcrCommand::OpenForPlayback);
    EXPECT_EQ(Opens(), std::vector<std::string>{"/video/film.pva 5 1"});
    const VcrDisplay& d = Core().Display();
    EXPECT_EQ(d.length, "00:00:10");
    EXPECT_EQ(d.sliderMax, 10000u);
    EXPECT_EQ(d.sliderTick, 1000u);
    EXPECT_EQ(d.sliderLine, 100u);
    EXPECT_EQ(d.formatRadio, 3);
    EXPECT_EQ(state_.playbackOpen, 1);
    EXPECT_TRUE(d.playButton);
    EXPECT_FALSE(d.recordButton);
    EXPECT_EQ(QSettings().value("Einstellungen/Directory Fileopen").toString(), "/video/");

    // A file that does not open leaves nothing open, and without the playlist
    // nothing is asked.
    low_.openResults = {0};
    prompts_.playbackFile = "/video/kaputt.pva";
    Do(VcrCommand::OpenForPlayback);
    EXPECT_EQ(state_.playbackOpen, 0);
    EXPECT_TRUE(Core().Display().fileName.isEmpty());
    EXPECT_EQ(prompts_.log.size(), 2u);  // the two dialogs only
    EXPECT_EQ(prompts_.log[1], "open in /video/");
}

TEST_F(VcrCore, StatusUpdateShowsTextsColoursAndTheSizeEstimate) {
    prompts_.recordingFile = "/rec/a.mp2";
    Do(VcrCommand::OpenForRecording);
    ASSERT_EQ(state_.recordOpen, 1);
    EXPECT_TRUE(Core().Display().recordButton);
    Do(VcrCommand::Record);
    EXPECT_EQ(low_.calls.back(), "Record");

    low_.status.format = 2;
    Report(1, 61000, 1600);
    Report(1, 61500, 1600);
    const VcrDisplay& d = Core().Display();
    EXPECT_EQ(d.state, "(Audio Mp2) Aufnahme");
    EXPECT_EQ(d.position, "00:01:01");
    EXPECT_EQ(d.kbits, "1600");
    EXPECT_DOUBLE_EQ(state_.sizeMB, 2 * 200 / 2048.0);
    EXPECT_EQ(d.size, "~ 0.195");
    EXPECT_EQ(d.colours.main, (VcrRgb{255, 0, 0}));
    EXPECT_EQ(d.colours.pale, (VcrRgb{255, 196, 196}));

    Report(9, 62000);
    EXPECT_EQ(Core().Display().state, "(Audio Mp2) Unbekannt");
    EXPECT_EQ(Core().Display().colours.main, (VcrRgb{255, 0, 0}));  // unchanged
}

TEST_F(VcrCore, EndOfFileWithEndlessPlaybackStartsTheFileAgainOnce) {
    prompts_.playbackFile = "/v/a.pva";
    low_.status.lengthMs = 5000;
    Do(VcrCommand::OpenForPlayback);
    Core().SetEndless(true);
    Do(VcrCommand::Play);
    Report(2, 1000);
    low_.calls.clear();
    Report(0, 4960);
    EXPECT_EQ(low_.calls, (std::vector<std::string>{"Stop", "Playback 0"}));
    low_.calls.clear();
    Report(0, 4960);  // a second stopped report is not a second end
    EXPECT_TRUE(low_.calls.empty());

    // Not yet at the end (more than 50 ms left): the stop stays a stop.
    Report(2, 100);
    Report(0, 4940);
    EXPECT_TRUE(low_.calls.empty());
}

TEST_F(VcrCore, EndlessPlaylistOfTwoTitlesPlaysOneTwoOneTwo) {
    AddTitle("/v/eins.pva");
    AddTitle("/v/zwei.pva");
    low_.status.lengthMs = 3000;
    Core().SetEndless(true);
    Core().SetUsePlaylist(true);
    Do(VcrCommand::Play);
    for (int i = 0; i < 3; ++i) {
        Report(2, 1000);
        Report(0, 3000);
    }
    EXPECT_EQ(Opens(), (std::vector<std::string>{"/v/eins.pva 5 1", "/v/zwei.pva 5 1",
                                                 "/v/eins.pva 5 1", "/v/zwei.pva 5 1"}));
    EXPECT_EQ(list_.entries[0].status, CPlayListEntry::Finished);
    EXPECT_EQ(list_.entries[1].status, CPlayListEntry::Playing);
    EXPECT_FALSE(Core().Display().usePlaylistEnabled);

    Do(VcrCommand::Stop);
    EXPECT_EQ(list_.entries[1].status, CPlayListEntry::Finished);
    EXPECT_TRUE(Core().Display().usePlaylistEnabled);
}

TEST_F(VcrCore, PlaylistSkipsATitleThatDoesNotOpenAndGivesUpAfterARound) {
    AddTitle("/v/fehlt.pva");
    AddTitle("/v/da.pva");
    Core().SetUsePlaylist(true);
    low_.openResults = {0};
    Do(VcrCommand::Play);
    EXPECT_EQ(Opens(), (std::vector<std::string>{"/v/fehlt.pva 5 1", "/v/da.pva 5 1"}));
    EXPECT_EQ(prompts_.log, std::vector<QString>{"failed /v/fehlt.pva"});
    EXPECT_EQ(low_.calls.back(), "Playback 0");

    // Every title fails: one question each, then the list ends.
    Do(VcrCommand::Stop);
    low_.calls.clear();
    prompts_.log.clear();
    low_.openResults = {0, 0, 0, 0};
    Do(VcrCommand::Play);
    EXPECT_EQ(Opens().size(), 2u);
    EXPECT_EQ(prompts_.log.size(), 2u);

    // Yes ends it after the first.
    low_.calls.clear();
    low_.openResults = {0, 0};
    prompts_.endPlaylist = true;
    Do(VcrCommand::Play);
    EXPECT_EQ(Opens().size(), 1u);
}

TEST_F(VcrCore, ChosenEntryPlaysEvenAfterTheTitleBeforeUsedItsPlays) {
    AddTitle("/v/a.pva");
    AddTitle("/v/b.pva");
    AddTitle("/v/c.pva");
    Core().SetUsePlaylist(true);
    Do(VcrCommand::Play);  // a, its one play done
    // The playlist window's "Selektierten Eintrag wiedergeben" on entry 2.
    Do(VcrCommand::Stop, 2);
    Do(VcrCommand::Close, 2);
    Do(VcrCommand::Play, 2);
    EXPECT_EQ(Opens().back(), "/v/c.pva 5 1");
    Do(VcrCommand::PreviousTitle);
    EXPECT_EQ(Opens().back(), "/v/b.pva 5 1");

    list_.entries.clear();
    Do(VcrCommand::Play);
    EXPECT_EQ(prompts_.log.back(), "empty");
}

TEST_F(VcrCore, ARecordingThatEndsByItselfIsReportedAndClosed) {
    prompts_.recordingFile = "/rec/a.pva";
    Do(VcrCommand::OpenForRecording);
    Do(VcrCommand::Record);
    Report(1, 500);
    Report(0, 1000);
    EXPECT_EQ(prompts_.log, std::vector<QString>{"ended /rec/a.pva"});
    EXPECT_EQ(state_.recordOpen, 0);

    // Stopped by the user: no word.
    prompts_.log.clear();
    Do(VcrCommand::OpenForRecording);
    Do(VcrCommand::Record);
    Report(1, 500);
    Do(VcrCommand::Stop);
    Report(0, 1000);
    EXPECT_TRUE(prompts_.log.empty());
    EXPECT_EQ(state_.recordOpen, 1);  // the file stays open until closed
}

TEST_F(VcrCore, ARecordingWhoseCardNoLongerAnswersEndsWithTheMessage) {
    prompts_.recordingFile = "/rec/b.pva";
    Do(VcrCommand::OpenForRecording);
    Do(VcrCommand::Record);
    Report(1, 500);
    Core().CheckRecording();  // the card answers: nothing happens
    EXPECT_EQ(state_.recordOpen, 1);
    low_.statusResult = 0;
    Core().CheckRecording();  // one refusal may be a busy card
    EXPECT_TRUE(prompts_.log.empty());
    Core().CheckRecording();
    EXPECT_EQ(prompts_.log, std::vector<QString>{"ended /rec/b.pva"});
    EXPECT_EQ(state_.recordOpen, 0);
    EXPECT_EQ(state_.mode, 0);
    Core().CheckRecording();  // once only
    EXPECT_EQ(prompts_.log.size(), 1u);
}

TEST_F(VcrCore, QuickRecordingWritesAQuickrecFileThatClosesWithItsStop) {
    QSettings().setValue("Einstellungen/Directory Filesave", "/rec/");
    Do(VcrCommand::Record);
    EXPECT_EQ(Opens().back(), "/rec/QUICKREC-24122001-201500.pva 5 0");
    EXPECT_EQ(low_.calls.back(), "Record");
    EXPECT_EQ(Core().Display().formatRadio, 3);
    Report(1, 500);
    Do(VcrCommand::Stop);
    Report(0, 600);
    EXPECT_EQ(state_.recordOpen, 0);
    EXPECT_EQ(low_.calls.back(), "Close");
}

TEST_F(VcrCore, SeekingRestartsPlaybackAtTheSliderAndTheBackEndFollowsTheOption) {
    prompts_.playbackFile = "/v/a.pva";
    low_.status.lengthMs = 60000;
    Do(VcrCommand::OpenForPlayback);
    Core().SliderMoving(30000);
    EXPECT_EQ(state_.seeking, 1);
    Report(2, 1000);
    EXPECT_EQ(Core().Display().position, "00:00:30");  // the slider's, not the report's
    low_.calls.clear();
    Core().SliderReleased(30000);
    EXPECT_EQ(low_.calls, (std::vector<std::string>{"Stop", "Playback 30000"}));
    EXPECT_EQ(state_.seeking, 0);

    state_.lowLevel = 0;
    Do(VcrCommand::HalfSpeed);
    Do(VcrCommand::DoubleSpeed);
    EXPECT_EQ(high_.calls, (std::vector<std::string>{"Slow 2", "Fast 1"}));
}

TEST(RecPlayStateTest, FrameCommandsFollowTheState) {
    RecPlayState s;
    EXPECT_TRUE(s.CommandEnabled(VcrCommand::Record));
    EXPECT_FALSE(s.CommandEnabled(VcrCommand::Play));
    EXPECT_FALSE(s.CommandEnabled(VcrCommand::Stop));
    s.usePlaylist = 1;
    EXPECT_TRUE(s.CommandEnabled(VcrCommand::Play));
    s.playbackOpen = 1;
    EXPECT_FALSE(s.CommandEnabled(VcrCommand::Record));
    EXPECT_TRUE(s.CommandEnabled(VcrCommand::Pause));
    s = {};
    s.recordOpen = 1;
    s.mode = 1;
    EXPECT_FALSE(s.CommandEnabled(VcrCommand::Record));
    EXPECT_TRUE(s.CommandEnabled(VcrCommand::Close));
}

}  // namespace
