// The TV part against a real emulated card: the start-up's failure messages,
// which switch settings lock, number entry and program up/down by keys pressed
// on the card's remote control, the card's state as another client reads it,
// and the message of a present/following filter the card refuses.
#include <gtest/gtest.h>

#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <cstdlib>
#include <fstream>

#include "channellist/CLnb.h"
#include "common/CProgramState.h"
#include "common/PrivateMessages.h"
#include "receiver/CKestrelCard.h"
#include "receiver/CKestrelDeviceSet.h"
#include "receiver/tests/CardServerTest.h"
#include "tv/CProgramNavigator.h"
#include "tv/CProgramSwitcher.h"
#include "tv/CRemoteKeySocket.h"
#include "tv/CTvCardLifecycle.h"
#include "tv/IProgramListHost.h"
#include "tv/tests/TvTestList.h"

using namespace std::chrono_literals;

namespace {

class TvCardTest : public CardServerTest {
  protected:
    /// Two dish positions: ARTE's transponder on A, Rai's on B.
    void WriteTwoPositions() {
        std::ifstream in(config_);
        std::string text((std::istreambuf_iterator<char>(in)), {});
        const auto rai = text.find("transponder = 12188000");
        const auto arte = text.find("transponder = 11836000");
        const std::string raiLine = text.substr(rai, text.find('\n', rai) - rai);
        const std::string arteLine = text.substr(arte, text.find('\n', arte) - arte);
        const std::string head = text.substr(0, text.find("[position A]"));
        std::ofstream(config_) << head << "[position A]\n"
                               << arteLine << "\n[position B]\n"
                               << raiLine << "\n";
    }
    /// Brings the link up (the card itself needs no start-up steps here).
    IDeviceSet& Card() {
        link_.StartUp(nullptr);
        return *link_.Devices();
    }
    void TearDown() override {
        link_.TearDown();
        CardServerTest::TearDown();
    }

    /// Presses a key on the card's remote control.
    static void Press(int key) {
        const std::string press = std::string(NVDVBSRV_PATH) + " key " + std::to_string(key);
        ASSERT_EQ(std::system(press.c_str()), 0);
    }

    CProgramState state_;
    CKestrelCard link_;
};

class ListHost : public IProgramListHost {
  public:
    explicit ListHost(const CSVLFile& list) : list_(list) {}
    const CSVLFile* List() const override { return &list_; }
    int ProgramFilter() const override { return 0; }
    void SetProgramFilter(int) override {}
    void RememberProgram(int) override {}

  private:
    const CSVLFile& list_;
};

/// The program's choice of programs on a card whose remote control is on:
/// keys go to the view, the view's messages to the navigator.
struct RemoteControlled {
    RemoteControlled(IDeviceSet& device, CProgramState& state, const CSVLFile& list)
        : card(device),
          switcher(card, state),
          host(list),
          navigator(host, switcher, card, state),
          keys(card) {
        view.installEventFilter(&navigator);
        PrivateMessages::RegisterWindow(MessageWindow::View, &view);
    }
    bool Ready() { return card.SetRemoteControl(1, 0xFFFF).Ok() && keys.Open(); }

    IDeviceSet& card;
    CProgramSwitcher switcher;
    ListHost host;
    CProgramNavigator navigator;
    QObject view;
    CRemoteKeySocket keys;
};

TEST_F(TvCardTest, StartUpFailuresShowTheirBoxesInOrder) {
    ASSERT_TRUE(Connect("--fail InitPCI,BootARM,Frontend.Init,GetFrontendType"));
    CKestrelCard link;
    CTvCardLifecycle card(link, [&link] { return link.Devices(); });
    QStringList boxes;
    card.SetErrorBox([&](const QString& m) { boxes << m; });
    card.SetFirmwareFolder(QString::fromStdString(dir_.string()));
    card.StartUp(nullptr);
    EXPECT_EQ(boxes, (QStringList{"BoardControl.InitPCI nicht erfolgreich.",
                                  "BoardControl.BootARM nicht erfolgreich.",
                                  "Frontend.Init nicht erfolgreich.",
                                  "BoardControl.GetFrontendType nicht erfolgreich."}));
    EXPECT_EQ(card.FrontendKindText(), QStringLiteral("None"));
    card.TearDown();
}

TEST_F(TvCardTest, AWorkingCardComesUpWithoutMessages) {
    ASSERT_TRUE(Connect());
    CKestrelCard link;
    CTvCardLifecycle card(link, [&link] { return link.Devices(); });
    QStringList boxes;
    card.SetErrorBox([&](const QString& m) { boxes << m; });
    card.SetFirmwareFolder(QString::fromStdString(dir_.string()));  // an existing folder
    card.StartUp(nullptr);
    EXPECT_TRUE(boxes.isEmpty()) << boxes.join('\n').toStdString();
    EXPECT_EQ(card.FrontendKindText(), QStringLiteral("Satellite"));
    card.TearDown();
}

TEST_F(TvCardTest, SwitchSettingsLockExactlyWhenTheyMatch) {
    WriteTwoPositions();
    ASSERT_TRUE(Connect());
    IDeviceSet& card = Card();
    CProgramSwitcher switcher(card, state_);
    const auto locks = [&](std::shared_ptr<CLnb> lnb, int frequency, int vertical) {
        list_.Lnbs.Set("T", std::move(lnb));
        const auto program = tvtest::Program("T", "T", frequency, vertical);
        QSignalSpy done(&switcher, &CProgramSwitcher::switchFinished);
        switcher.SwitchToProgram(list_, *program, false);
        EXPECT_TRUE(done.wait(5000));
        const auto signal = card.zGetSignal(500);
        return signal.Good() && signal.record.quality > 0;
    };
    const int rai = 12188000, arte = 11836000;  // Rai vertical on B, ARTE horizontal on A
    EXPECT_TRUE(locks(tvtest::Lnb(2, 1), rai, 1)) << "DiSEqC 1.0 position B";
    EXPECT_FALSE(locks(tvtest::Lnb(2, 0), rai, 1)) << "DiSEqC 1.0 position A";
    EXPECT_TRUE(locks(tvtest::Lnb(2, 0), arte, 0)) << "DiSEqC 1.0 position A";
    EXPECT_TRUE(locks(tvtest::Lnb(1, 1), rai, 1)) << "tone burst B";
    EXPECT_FALSE(locks(tvtest::Lnb(1, 0), rai, 1)) << "tone burst A";
    EXPECT_FALSE(locks(tvtest::Lnb(1, 1, 0, 0), rai, 1)) << "high band without the tone";
    EXPECT_TRUE(locks(tvtest::Lnb(1, 1, 0, 1), rai, 1)) << "high band, tone set by hand";
    EXPECT_FALSE(locks(tvtest::Lnb(1, 1, 3, 0, 0), rai, 1)) << "LNB without power";
}

TEST_F(TvCardTest, NumberEntryByRemoteKeysTunesTheProgram) {
    ASSERT_TRUE(Connect());
    RemoteControlled tv(Card(), state_, list_);
    ASSERT_TRUE(tv.Ready());
    IDeviceSet& card = tv.card;
    CProgramSwitcher& switcher = tv.switcher;

    QSignalSpy done(&switcher, &CProgramSwitcher::switchFinished);
    Press(2);
    ASSERT_TRUE(done.wait(6000));  // two seconds after the digit, then the switch
    EXPECT_EQ(state_.TunedProgramIndex(), 1);
    EXPECT_EQ(card.zGetChannel().record.frequency, 11836000u);  // ARTE, the second program
}

TEST_F(TvCardTest, ProgramUpWrapsAtTheEndAndDownStopsAtTheStart) {
    list_.Programs.pop_back();  // Rai, Arte, Leer
    ASSERT_TRUE(Connect());
    RemoteControlled tv(Card(), state_, list_);
    ASSERT_TRUE(tv.Ready());
    IDeviceSet& card = tv.card;
    CProgramSwitcher& switcher = tv.switcher;
    QSignalSpy done(&switcher, &CProgramSwitcher::switchFinished);
    const auto after = [&](int key) {
        done.clear();
        Press(key);
        EXPECT_TRUE(done.wait(5000)) << "key " << key;
        return std::pair{state_.TunedProgramIndex(), card.zGetChannel().record.frequency};
    };
    constexpr int kNext = 32, kPrevious = 33;

    tv.navigator.TuneRequested(2);
    ASSERT_TRUE(done.wait(5000));
    EXPECT_EQ(after(kNext), std::pair(0, 12188000u)) << "up from the last: the first";
    EXPECT_EQ(after(kPrevious), std::pair(0, 12188000u)) << "down from the first: the first";
    EXPECT_EQ(after(kNext), std::pair(1, 11836000u));
}

TEST_F(TvCardTest, StatusBesideTheProgramShowsTheProgramJustChosen) {
    ASSERT_TRUE(Connect());
    IDeviceSet& card = Card();
    CProgramSwitcher switcher(card, state_);
    CProgramInfo arte = Arte();
    arte.VideoPid = 0x01FF;
    arte.AudioPid = 0x0200;
    QSignalSpy done(&switcher, &CProgramSwitcher::switchFinished);
    switcher.SwitchToProgram(list_, arte, true);
    ASSERT_TRUE(done.wait(5000));

    QProcess status;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("KESTREL_DEFER_CONNECT"));  // it reads the card at once
    status.setProcessEnvironment(env);
    status.start(QStringLiteral(DVBCTL_PATH), {QStringLiteral("status")});
    ASSERT_TRUE(status.waitForFinished(20000));
    const QString out = QString::fromUtf8(status.readAllStandardOutput());
    EXPECT_EQ(status.exitCode(), 0) << out.toStdString();
    // Universal LNB, high band: tone on, horizontal at 18 V.
    EXPECT_TRUE(
        out.contains(QStringLiteral("tuned: 11836.000 MHz pol H lnb 18 V tone on, locked; "
                                    "video PID 511 (0x01FF), audio PID 512 (0x0200)\n")))
        << out.toStdString();
}

TEST_F(TvCardTest, ARefusedEventFilterShowsTheMessage) {
    ASSERT_TRUE(Connect());
    IDeviceSet& card = Card();
    // Another client of the card takes every section filter it has.
    const std::size_t taken = TakeEveryFilter();
    ASSERT_GT(taken, 0u);
    ASSERT_LT(taken, 1000u) << "the card never runs out of filters";
    CProgramSwitcher switcher(card, state_);
    int messages = 0;
    switcher.SetHooks({{}, {}, [&] { ++messages; }});
    QSignalSpy done(&switcher, &CProgramSwitcher::switchFinished);
    switcher.SwitchToProgram(list_, Arte(), true);
    ASSERT_TRUE(done.wait(5000));
    EXPECT_EQ(messages, 1);

    ReleaseOneFilter();  // one filter free again: the next switch gets it
    switcher.SwitchToProgram(list_, Rai(), true);
    ASSERT_TRUE(done.wait(5000));
    EXPECT_EQ(messages, 1);
}

}  // namespace
