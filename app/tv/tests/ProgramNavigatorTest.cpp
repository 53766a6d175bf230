// Choosing programs without the list: up and down, number entry, the list keys.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "common/CProgramState.h"
#include "common/PrivateMessages.h"
#include "receiver/CFakeDeviceSet.h"
#include "tv/CProgramNavigator.h"
#include "tv/CProgramSwitcher.h"
#include "tv/IProgramListHost.h"
#include "tv/tests/TvTestList.h"

namespace {

class Host : public IProgramListHost {
  public:
    const CSVLFile* List() const override { return &list; }
    int ProgramFilter() const override { return filter; }
    void SetProgramFilter(int f) override { filter = f, ++refills; }
    void RememberProgram(int index) override { remembered.push_back(index); }
    CSVLFile list;
    int filter = 0, refills = 0;
    std::vector<int> remembered;
};

class ProgramNavigatorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        tvtest::Fill(host_.list);
        // Fifty programs in all, all on the LNB without a switch.
        for (int i = 4; i < 50; ++i)
            host_.list.Programs.push_back(tvtest::Program("P", "Aus", 11836000, 0));
    }
    std::vector<std::string> Texts() const { return card_.CallsStartingWith("WriteText"); }

    Host host_;
    CFakeDeviceSet card_;
    CProgramState state_;
    CProgramSwitcher switcher_{card_, state_};
    CProgramNavigator navigator_{host_, switcher_, card_, state_};
};

TEST_F(ProgramNavigatorTest, UpWrapsToTheFirstAndDownStopsThere) {
    navigator_.Step(+1);
    EXPECT_EQ(state_.TunedProgramIndex(), -1);  // nothing tuned: nothing to step from
    state_.SetTunedProgramIndex(49);
    navigator_.Step(+1);
    EXPECT_EQ(state_.TunedProgramIndex(), 0);
    navigator_.Step(-1);
    EXPECT_EQ(state_.TunedProgramIndex(), 0);
    navigator_.Step(+1);
    EXPECT_EQ(state_.TunedProgramIndex(), 1);
    EXPECT_EQ(host_.remembered, (std::vector<int>{0, 0, 1}));
    EXPECT_EQ(switcher_.TunedProgramName(), QStringLiteral("Burst"));
}

TEST_F(ProgramNavigatorTest, TwoDigitsTuneTwoSecondsAfterTheLast) {
    navigator_.Digit(1);
    navigator_.Digit(2);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"WriteText 6 0 0 40 \"Programm:   1-\"",
                                                 "WriteText 6 0 0 40 \"Programm:  12-\""}));
    EXPECT_EQ(card_.CallsStartingWith("CreateOSDWindow"),
              (std::vector<std::string>(2, "CreateOSDWindow 6 0 300 35")));
    EXPECT_EQ(state_.TunedProgramIndex(), -1);
    QTest::qWait(1500);
    EXPECT_EQ(state_.TunedProgramIndex(), -1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return state_.TunedProgramIndex() == 11; }, 1500));
    EXPECT_EQ(navigator_.EnteredDigits(), 0);
    EXPECT_FALSE(navigator_.NumberEntryRunning());
}

TEST_F(ProgramNavigatorTest, FourthDigitTunesAtOnceAndOutOfRangeMeansTheFirst) {
    for (int d : {1, 2, 3, 4}) navigator_.Digit(d);
    EXPECT_EQ(Texts().back(), "WriteText 6 0 0 40 \"Programm: 1234\"");
    EXPECT_EQ(state_.TunedProgramIndex(), 0);  // 1234 is beyond the list
    EXPECT_FALSE(navigator_.NumberEntryRunning());
    EXPECT_EQ(card_.Calls().back(), "DestroyOSDWindow 6");
}

TEST_F(ProgramNavigatorTest, ListKeysAndMessages) {
    navigator_.RemoteKey(15);  // already TV
    EXPECT_EQ(host_.refills, 0);
    navigator_.RemoteKey(12);
    EXPECT_EQ(host_.filter, 1);
    navigator_.RemoteKey(12);
    EXPECT_EQ(host_.refills, 1);
    QSignalSpy guide(&navigator_, &CProgramNavigator::guideToggleRequested);
    navigator_.RemoteKey(34);
    EXPECT_EQ(guide.count(), 1);

    QObject view;
    view.installEventFilter(&navigator_);
    state_.SetTunedProgramIndex(3);
    PrivateMessageEvent next(Msg::ProgramStep, 2, 0);
    QCoreApplication::sendEvent(&view, &next);
    EXPECT_EQ(state_.TunedProgramIndex(), 4);
    QSignalSpy audio(&navigator_, &CProgramNavigator::audioChoiceRequested);
    PrivateMessageEvent choose(Msg::ViewRequest, 1, 102);
    QCoreApplication::sendEvent(&view, &choose);
    ASSERT_EQ(audio.count(), 1);
    EXPECT_EQ(audio.at(0).at(0).toInt(), 102);
}

}  // namespace

TEST_F(ProgramNavigatorTest, TimerTunesTheListsProgramOrItsOwnCopyAndIsDoneOnReturn) {
    CProgramInfo copy = *host_.list.Programs[1];
    navigator_.TuneForTimer(copy);
    EXPECT_EQ(state_.TunedProgramIndex(), 1);
    EXPECT_FALSE(switcher_.Running());
    EXPECT_FALSE(card_.CallsStartingWith("zSetChannel").empty());
    EXPECT_TRUE(card_.CallsStartingWith("SetBitFilter").empty());  // no guide for a timer
    EXPECT_TRUE(host_.remembered.empty());

    copy.Name = "Nicht mehr in der Liste";
    card_.ClearLog();
    navigator_.TuneForTimer(copy);
    EXPECT_EQ(state_.TunedProgramIndex(), -1);
    EXPECT_EQ(switcher_.TunedProgramName(), QStringLiteral("Nicht mehr in der Liste"));
    EXPECT_FALSE(card_.CallsStartingWith("zSetChannel").empty());
}
