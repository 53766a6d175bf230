// The program switch against the fake card: the calls, their order, the
// pauses between them, and a second switch taking over.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "common/CProgramState.h"
#include "receiver/CFakeDeviceSet.h"
#include "tv/CProgramSwitcher.h"
#include "tv/tests/TvTestList.h"

using namespace std::chrono;

namespace {

class ProgramSwitcherTest : public ::testing::Test {
  protected:
    void SetUp() override { tvtest::Fill(list_); }

    /// Switches and waits until the sequence has run.
    void SwitchAndWait(int index, bool interactive = true) {
        QSignalSpy done(&switcher_, &CProgramSwitcher::switchFinished);
        switcher_.SwitchToProgram(list_, *list_.Programs[static_cast<std::size_t>(index)],
                                  interactive);
        ASSERT_TRUE(done.wait(3000));
    }
    milliseconds Gap(const std::string& from, const std::string& to) const {
        const auto& log = card_.Log();
        auto at = [&](const std::string& text) {
            for (const auto& call : log)
                if (call.text == text) return call.at;
            ADD_FAILURE() << "no call " << text;
            return steady_clock::time_point{};
        };
        return duration_cast<milliseconds>(at(to) - at(from));
    }

    CSVLFile list_;
    CFakeDeviceSet card_;
    CProgramState state_;
    CProgramSwitcher switcher_{card_, state_};
};

TEST_F(ProgramSwitcherTest, DiseqcSwitchTunesAndStartsEverythingInOrder) {
    SwitchAndWait(2);
    // Position D, horizontal, high band (tone on): data byte FF.
    const std::vector<std::string> expected = {
        "DestroyOSDWindow 1",
        "DestroyOSDWindow 2",
        "DestroyOSDWindow 3",
        "SendDiSEqCMsg E0 10 38 FF burst 255",
        "SendDiSEqCMsg E1 10 38 FF burst 255",
        "SendDiSEqCMsg E1 10 38 FF burst 255",
        "zSetChannel 12188000 10600000 27500000 0 2 18 1 0",
        "SendTime",
        "ReadPSIFast 28006",
        "SetVideoPID 101",
        "SetAudioPID 102",
        "GetAudioPid",
        "ShutDownFilter Event",
        "CloseReceiver Event",
        "SetBitFilter Event 18 4 / 4E 00 00 6D 66 00 00 00 41 04 01 00 00 00 / "
        "00 00 00 FF FF 00 00 00 00 00 00 00 00 00",
        "OpenReceiver Event",
        "TTXOff",
        "TTXOn 104"};
    EXPECT_EQ(card_.Calls(), expected);
    EXPECT_GE(Gap("SendDiSEqCMsg E0 10 38 FF burst 255",
                  "zSetChannel 12188000 10600000 27500000 0 2 18 1 0"),
              milliseconds(360));
    EXPECT_GE(Gap("zSetChannel 12188000 10600000 27500000 0 2 18 1 0", "SetVideoPID 101"),
              milliseconds(150));
    EXPECT_GE(Gap("ShutDownFilter Event", "CloseReceiver Event"), milliseconds(100));
    EXPECT_EQ(state_.CurrentAudioPid(), 102);
}

TEST_F(ProgramSwitcherTest, SwitchForms) {
    SwitchAndWait(0);
    EXPECT_EQ(card_.CallsStartingWith("SendDiSEqCMsg"),
              std::vector<std::string>{"SendDiSEqCMsg E0 00 00 burst 255"});
    // Universal LNB, 11836 MHz: high band, tone on; horizontal 18 V.
    EXPECT_EQ(card_.CallsStartingWith("zSetChannel"),
              std::vector<std::string>{"zSetChannel 11836000 10600000 27500000 0 2 18 1 0"});
    card_.ClearLog();
    SwitchAndWait(1);
    EXPECT_EQ(card_.CallsStartingWith("SendDiSEqCMsg"),
              std::vector<std::string>{"SendDiSEqCMsg burst 1"});
    // 11362 MHz vertical: low band, no tone, 13 V.
    EXPECT_EQ(card_.CallsStartingWith("zSetChannel"),
              std::vector<std::string>{"zSetChannel 11362000 9750000 27500000 0 2 13 0 0"});
    EXPECT_GE(Gap("SendDiSEqCMsg burst 1", "zSetChannel 11362000 9750000 27500000 0 2 13 0 0"),
              milliseconds(10));
}

TEST_F(ProgramSwitcherTest, WithoutItsLnbNothingIsTuned) {
    switcher_.SwitchToProgram(list_, *list_.Programs[3], true);
    QTest::qWait(50);
    EXPECT_FALSE(switcher_.Running());
    EXPECT_TRUE(card_.CallsStartingWith("zSetChannel").empty());
    EXPECT_EQ(card_.Calls().size(), 3u);  // only the guide's windows closed
}

TEST_F(ProgramSwitcherTest, NotInteractiveLeavesTheEventFilterAlone) {
    SwitchAndWait(0, false);
    EXPECT_TRUE(card_.CallsStartingWith("SetBitFilter").empty());
    EXPECT_FALSE(card_.CallsStartingWith("TTXOn").empty());
}

TEST_F(ProgramSwitcherTest, FinishNowRunsTheWholeSwitchBeforeItReturnsWithItsPauses) {
    QSignalSpy done(&switcher_, &CProgramSwitcher::switchFinished);
    switcher_.SwitchToProgram(list_, *list_.Programs[0], false);
    switcher_.FinishNow();
    EXPECT_FALSE(switcher_.Running());
    EXPECT_EQ(done.count(), 1);
    EXPECT_FALSE(card_.CallsStartingWith("TTXOn").empty());
    EXPECT_GE(Gap("zSetChannel 11836000 10600000 27500000 0 2 18 1 0", "SetVideoPID 101"),
              milliseconds(150));
}

TEST_F(ProgramSwitcherTest, RefusedFilterIsReportedAndTheRestStillRuns) {
    int reported = 0;
    switcher_.SetHooks({nullptr, nullptr, [&] { ++reported; }});
    card_.ScriptResult("SetBitFilter", 2);
    SwitchAndWait(0);
    EXPECT_EQ(reported, 1);
    EXPECT_FALSE(card_.ReceiverOpen(FilterRole::Event));
    EXPECT_EQ(card_.CallsStartingWith("TTXOn"), std::vector<std::string>{"TTXOn 104"});
}

TEST_F(ProgramSwitcherTest, SecondSwitchReplacesTheFirst) {
    QSignalSpy done(&switcher_, &CProgramSwitcher::switchFinished);
    switcher_.SwitchToProgram(list_, *list_.Programs[2], true);  // 360 ms of switch pauses
    QTest::qWait(30);
    switcher_.SwitchToProgram(list_, *list_.Programs[0], true);
    ASSERT_TRUE(done.wait(3000));
    EXPECT_EQ(done.count(), 1);
    EXPECT_EQ(card_.CallsStartingWith("zSetChannel"),
              std::vector<std::string>{"zSetChannel 11836000 10600000 27500000 0 2 18 1 0"});
    EXPECT_EQ(card_.CallsStartingWith("TTXOn").size(), 1u);
}

TEST_F(ProgramSwitcherTest, DecliningToEndAPlaybackChangesNothing) {
    QString asked;
    switcher_.SetHooks({[] { return 2; },
                        [&](const QString& q) {
                            asked = q;
                            return false;
                        },
                        nullptr});
    switcher_.SwitchToProgram(list_, *list_.Programs[0], true);
    EXPECT_TRUE(asked.contains(QStringLiteral("Wiedergabe beenden")));
    EXPECT_TRUE(card_.Calls().empty());
}

TEST(AudioChoices, LanguagesNamesAndEmptyPrograms) {
    CProgramInfo program;
    EXPECT_EQ(AudioChoicesFor(program, 77).items,
              (QList<AudioChoice>{{QStringLiteral("keine Streams"), 77}}));
    CStreaminfo video, german, unnamed;
    video.StreamType = 2;
    german.StreamType = 3;
    german.Pid = 102;
    german.Descriptors = ByteBlock{0x0A, 4, 'g', 'e', 'r', 0};
    unnamed.StreamType = 4;
    unnamed.Pid = 103;
    program.Streams = {video, german, unnamed};
    const AudioChoices choices = AudioChoicesFor(program, 103);
    EXPECT_EQ(choices.items, (QList<AudioChoice>{{QStringLiteral("Deutsch"), 102},
                                                 {QStringLiteral("keine Info"), 103}}));
    EXPECT_EQ(choices.selected, 1);
}

}  // namespace
