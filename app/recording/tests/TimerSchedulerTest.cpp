// The scheduler on a clock the test sets, a scripted back end, a fake card
// and hooks that write what they were asked into one log: when one-shot and
// weekly timers start and end, what a start and a stop do in which order,
// the on-screen window, a recording stopped by hand, two timers due at once,
// a file that does not open, the power-off hook and the sleep inhibitor.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "receiver/CFakeDeviceSet.h"
#include "recording/CSleepInhibitor.h"
#include "recording/CTimerList.h"
#include "recording/CTimerScheduler.h"

namespace {

using Log = std::vector<std::string>;

struct FakeBackEnd : IRecPlayBackEnd {
    Log& log;
    int openResult = 1;
    explicit FakeBackEnd(Log& l) : log(l) {}
    int Add(std::string call) {
        log.push_back(std::move(call));
        return 1;
    }
    int Open(const std::string& path, int format, int forPlayback) override {
        Add("open " + path + " " + std::to_string(format) + " " + std::to_string(forPlayback));
        return openResult;
    }
    int Record() override { return Add("record"); }
    int Playback(std::uint32_t) override { return Add("playback"); }
    int Pause() override { return Add("pause"); }
    int SlowPlayback(std::uint8_t) override { return Add("slow"); }
    int FastPlayback(int) override { return Add("fast"); }
    int Stop() override { return Add("stop"); }
    int Close() override { return Add("close"); }
    int GetStatus(RecPlayStatus&) override { return 0; }
    int SetStatusChangedMessage(std::function<void()>, unsigned int, int) override { return 1; }
};

// Monday 4 March 2024.
QDateTime Monday(int h, int m, int s) { return QDateTime(QDate(2024, 3, 4), QTime(h, m, s)); }

class TimerSchedulerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        state_.lowLevel = 1;
        program_.Name = "Das Erste";
        TimerHooks hooks;
        hooks.now = [this] { return now_; };
        hooks.switchProgram = [this](const CProgramInfo& p) { log_.push_back("switch " + p.Name); };
        hooks.stopGuideReception = [this] { log_.push_back("guide off"); };
        hooks.vcrCommand = [this](int code, const QString& text) {
            log_.push_back("vcr " + std::to_string(code) +
                           (text.isEmpty() ? "" : " " + text.toStdString()));
        };
        hooks.wait = [this](int ms) { log_.push_back("wait " + std::to_string(ms)); };
        hooks.statusText = [this](const QString& t) { log_.push_back(t.toStdString()); };
        hooks.powerOff = [this] { log_.push_back("power off"); };
        scheduler_ = std::make_unique<CTimerScheduler>(entries_, state_, high_, low_, card_, hooks);
        QObject::connect(scheduler_.get(), &CTimerScheduler::listChanged, [this] { ++redraws_; });
    }
    CTimerEntry& Add(QDateTime start, QDateTime end, std::string name, std::uint32_t flags = 0) {
        CTimerEntry e;
        e.program = program_;
        e.Apply({start, end, std::move(name), 3, flags});
        entries_.push_back(e);
        return entries_.back();
    }
    // One tick at `at`; what it did.
    Log TickAt(QDateTime at) {
        now_ = at;
        log_.clear();
        card_.ClearLog();
        scheduler_->Tick();
        return log_;
    }
    std::uint32_t Status(int i) const { return entries_[std::size_t(i)].status; }

    Log log_;
    RecPlayState state_;
    FakeBackEnd high_{log_}, low_{log_};
    CFakeDeviceSet card_;
    CProgramInfo program_;
    std::vector<CTimerEntry> entries_;
    QDateTime now_;
    int redraws_ = 0;
    std::unique_ptr<CTimerScheduler> scheduler_;
};

TEST_F(TimerSchedulerTest, AOneShotTimerWhoseTimeHasPassedStaysArmed) {
    Add(Monday(18, 0, 0), Monday(19, 0, 0), "/v/spät.pva");
    for (int s = 0; s < 3; ++s) EXPECT_EQ(TickAt(Monday(20, 0, s)), Log{});
    EXPECT_EQ(Status(0), CTimerEntry::Armed);
    EXPECT_EQ(redraws_, 0);
}

TEST_F(TimerSchedulerTest, AWeeklyTimerRecordsOnItsDayFromJustAfterItsStartToItsEnd) {
    // Set up a week before, for Mondays 20:15:00 to 21:00:00.
    const std::uint32_t flags = CTimerEntry::kWeekly | CTimerEntry::DayBit(Qt::Monday);
    Add(Monday(20, 15, 0).addDays(-7), Monday(21, 0, 0).addDays(-7), "/v/a.b/krimi.pva", flags);
    EXPECT_EQ(TickAt(Monday(20, 15, 30).addDays(1)), Log{}) << "Tuesday";
    EXPECT_EQ(TickAt(Monday(20, 15, 0)), Log{}) << "at its start";
    EXPECT_EQ(
        TickAt(Monday(20, 15, 1)),
        (Log{"switch Das Erste", "guide off", "vcr 2", "vcr 12 /v/a.b/krimi-04032024-201501.pva",
             "open /v/a.b/krimi-04032024-201501.pva 5 0", "vcr 9", "Status Timer: aktiv"}));
    EXPECT_EQ(Status(0), CTimerEntry::Recording);
    EXPECT_EQ(state_.recordOpen, 1);
    EXPECT_EQ(state_.format, 5);
    EXPECT_GE(redraws_, 1);
    EXPECT_EQ(card_.Calls(),
              (Log{"CreateOSDWindow 5 0 655 38",
                   "WriteText 5 50 0 40 \"Recording krimi-04032024-201501.pva\"",
                   "MoveWindowAbs 5 35 20", "SetColor 5 2 0 0 32768", "SetColor 5 2 1 0 255",
                   "SetBlend 5 2 0 0", "SetBlend 5 2 1 15", "SetColorBlend 5", "BringToTop 5"}));

    state_.mode = 1;  // the VCR reports the recording
    EXPECT_EQ(TickAt(Monday(21, 0, 0)), Log{}) << "its last second";
    EXPECT_EQ(TickAt(Monday(21, 0, 1)),
              (Log{"stop", "wait 50", "close", "wait 50", "vcr 2", "Status Timer: nicht aktiv"}));
    EXPECT_EQ(card_.Calls(), Log{"DestroyOSDWindow 5"});
    EXPECT_EQ(Status(0), CTimerEntry::Armed) << "for next Monday";
    state_.mode = 0;
    EXPECT_EQ(TickAt(Monday(21, 0, 2)), Log{});
    EXPECT_EQ(TickAt(Monday(20, 15, 1).addDays(7))[3], "vcr 12 /v/a.b/krimi-11032024-201501.pva");
}

TEST_F(TimerSchedulerTest, AQuickRecordingRunsForAYear) {
    QTemporaryDir dir;
    struct : IRecordingMessages {
        void ShowError(const QString&, const QString&) override { ADD_FAILURE(); }
    } messages;
    CTimerList list(dir.filePath("Timer.dat").toStdString(), messages);
    list.AddQuickRecording(program_, "/v/QUICKREC-04032024-201500.pva", 5, Monday(20, 15, 0));
    entries_ = list.Entries();
    EXPECT_EQ(TickAt(Monday(20, 15, 1))[4], "open /v/QUICKREC-04032024-201500.pva 5 0");
    state_.mode = 1;
    EXPECT_EQ(TickAt(Monday(20, 14, 59).addYears(1)), Log{});
    EXPECT_EQ(Status(0), CTimerEntry::Recording);
    EXPECT_EQ(TickAt(Monday(20, 15, 0).addYears(1)).front(), "stop");
    EXPECT_EQ(Status(0), CTimerEntry::Finished);
}

TEST_F(TimerSchedulerTest, ARecordingStoppedByHandEndsItsTimerAtTheNextTick) {
    Add(Monday(20, 0, 0), Monday(21, 0, 0), "/v/a.pva");
    TickAt(Monday(20, 0, 0));
    ASSERT_EQ(Status(0), CTimerEntry::Recording);
    state_.mode = 1;
    EXPECT_EQ(TickAt(Monday(20, 30, 0)), Log{});
    state_.mode = 0;  // the user pressed stop
    const int redraws = redraws_;
    EXPECT_EQ(TickAt(Monday(20, 30, 1)), Log{}) << "nothing to stop";
    EXPECT_EQ(card_.Calls(), Log{"DestroyOSDWindow 5"});
    EXPECT_EQ(Status(0), CTimerEntry::Finished);
    EXPECT_EQ(redraws_, redraws + 1);
}

TEST_F(TimerSchedulerTest, OfTwoTimersDueInOneTickOnlyTheFirstStarts) {
    Add(Monday(20, 0, 0), Monday(21, 0, 0), "/v/eins.pva");
    Add(Monday(20, 0, 0), Monday(21, 0, 0), "/v/zwei.pva");
    const Log log = TickAt(Monday(20, 0, 0));
    EXPECT_EQ(std::count(log.begin(), log.end(), "open /v/eins.pva 5 0"), 1);
    EXPECT_EQ(std::count_if(log.begin(), log.end(), [](auto& l) { return l.starts_with("open"); }),
              1);
    EXPECT_EQ(Status(0), CTimerEntry::Recording);
    EXPECT_EQ(Status(1), CTimerEntry::Armed);
    EXPECT_TRUE(scheduler_->TimerRecording());
}

TEST_F(TimerSchedulerTest, AFileThatDoesNotOpenLeavesTheTimerToEndAtTheNextTick) {
    Add(Monday(20, 0, 0), Monday(21, 0, 0), "/v/a.pva");
    low_.openResult = 0;
    const Log log = TickAt(Monday(20, 0, 0));
    EXPECT_EQ(log.back(), "open /v/a.pva 5 0") << "no record command, no status";
    EXPECT_TRUE(card_.Calls().empty());
    EXPECT_EQ(Status(0), CTimerEntry::Recording);
    TickAt(Monday(20, 0, 1));
    EXPECT_EQ(Status(0), CTimerEntry::Finished);
}

TEST_F(TimerSchedulerTest, PowerOffFollowsTheEndOfAFlaggedRecordingOnTheChosenBackEnd) {
    state_.lowLevel = 0;
    Add(Monday(20, 0, 0), Monday(20, 0, 5), "/v/a.pva", CTimerEntry::kPowerOff);
    Add(Monday(21, 0, 0), Monday(21, 0, 5), "/v/b.pva");
    TickAt(Monday(20, 0, 0));
    state_.mode = 1;
    EXPECT_EQ(TickAt(Monday(20, 0, 5)).back(), "power off");
    TickAt(Monday(21, 0, 0));
    EXPECT_EQ(TickAt(Monday(21, 0, 5)).back(), "Status Timer: nicht aktiv");
    for (int i = 0; i < 2; ++i) EXPECT_EQ(Status(i), CTimerEntry::Finished);
    EXPECT_EQ(CTimerScheduler::RecordingFileName(entries_[0], Monday(1, 2, 3)), "/v/a.pva");
}

TEST_F(TimerSchedulerTest, TheSleepInhibitorIsHeldWhileATimerRecords) {
    CSleepInhibitor inhibitor({"sleep", "30"});
    scheduler_->SetSleepInhibitor(&inhibitor);
    Add(Monday(20, 0, 0), Monday(20, 0, 5), "/v/a.pva");
    TickAt(Monday(20, 0, 0));
    EXPECT_TRUE(inhibitor.Held());
    state_.mode = 1;
    TickAt(Monday(20, 0, 4));
    EXPECT_TRUE(inhibitor.Held());
    TickAt(Monday(20, 0, 5));
    EXPECT_FALSE(inhibitor.Held());
}

TEST(TimerScheduler, WeeklyFileNamesGetTheirStampBeforeTheExtension) {
    CTimerEntry e;
    e.flags = CTimerEntry::kWeekly;
    const QDateTime at(QDate(2024, 12, 1), QTime(8, 5, 9));
    e.fileName = "/v/x.y/film";
    EXPECT_EQ(CTimerScheduler::RecordingFileName(e, at), "/v/x.y/film-01122024-080509");
    e.fileName = "film.tar.pva";
    EXPECT_EQ(CTimerScheduler::RecordingFileName(e, at), "film.tar-01122024-080509.pva");
}

}  // namespace
