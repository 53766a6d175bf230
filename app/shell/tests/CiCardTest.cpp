// The common interface of the program against a real emulated card: the
// frame with the TV part and CCiBinding on the receiver's device objects,
// while the card's module is taken out and put back with "nvdvbsrv cam".
#include <gtest/gtest.h>

#include <QAction>
#include <cstdlib>

#include "common/CommandIds.h"
#include "frame/CFrameStatusBar.h"
#include "frame/CMainFrame.h"
#include "shell/CCiBinding.h"
#include "shell/tests/ShellCardTest.h"

using namespace std::chrono_literals;

namespace {

// One slot-status period of the view, and some room for the loop.
constexpr auto kFollowLimit = std::chrono::milliseconds(TimerId::CamSlotStatusPeriodMs) + 700ms;

class CiCardTest : public ShellCardTest {
  protected:
    void SetUp() override {
        ShellCardTest::SetUp();
        if (Ready()) ci_ = AttachCi(*frame_, *tv_, *card_);
    }
    void TearDown() override {
        delete ci_;
        ShellCardTest::TearDown();
    }
    void PrepareCard() override { card_->CiInit(); }
    void ReleaseCard() override { card_->CiClose(); }
    static int Cam(const std::string& args) {
        const std::string cmd = std::string(NVDVBSRV_PATH) + " cam " + args + " 2>/dev/null";
        const int st = std::system(cmd.c_str());
        return WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    }
    QString Pane() const {
        return static_cast<CFrameStatusBar*>(frame_->statusBar())->PaneText(PaneId::CaSlot1);
    }
    bool Slot1() const { return frame_->Action(Cmd::CiSlot1)->isEnabled(); }

    CCiBinding* ci_ = nullptr;
};

}  // namespace

TEST_F(CiCardTest, ModuleTakenOutAndPutBackShowsInThePaneAndTheMenuCommand) {
    const QString ready = QStringLiteral("Status CA Slot 1: Modul ok");
    // The first slot-status request finds the installation's module ready.
    ASSERT_TRUE(RunLoopUntil([&] { return Slot1() && Pane() == ready; }, kFollowLimit));
    EXPECT_FALSE(frame_->Action(Cmd::CiSlot2)->isEnabled());

    ASSERT_EQ(Cam("remove 1"), 0);
    EXPECT_TRUE(RunLoopUntil(
        [&] { return !Slot1() && Pane() == QStringLiteral("Status CA Slot 1: Slot leer"); },
        kFollowLimit));

    ASSERT_EQ(Cam("insert 1"), 0);
    EXPECT_TRUE(RunLoopUntil([&] { return Slot1() && Pane() == ready; }, kFollowLimit));
}
