// The common interface of the program against a real emulated card: the
// frame with the TV part and CCiBinding on the receiver's device objects,
// while the card's module is taken out and put back with "nvdvbsrv cam".
#include <gtest/gtest.h>

#include <QAction>
#include <QSettings>
#include <cstdlib>

#include "channellist/document/CSVL_EditorDoc.h"
#include "common/CProgramState.h"
#include "common/CommandIds.h"
#include "frame/CFrameStatusBar.h"
#include "frame/CMainFrame.h"
#include "frame/tests/FrameFixture.h"
#include "receiver/CKestrelCard.h"
#include "receiver/IDeviceSet.h"
#include "receiver/tests/CardServerTest.h"
#include "shell/CCiBinding.h"
#include "shell/CTvBinding.h"

using namespace std::chrono_literals;

namespace {

// One slot-status period of the view, and some room for the loop.
constexpr auto kFollowLimit = std::chrono::milliseconds(TimerId::CamSlotStatusPeriodMs) + 700ms;

class CiCardTest : public CardServerTest {
  protected:
    void SetUp() override {
        CardServerTest::SetUp();
        if (IsSkipped()) return;
        ASSERT_TRUE(Connect());
        link_.StartUp(nullptr);
        card_ = link_.Devices();
        ASSERT_NE(card_, nullptr);
        card_->CiInit();
        QSettings().clear();
        doc_ = std::make_unique<CSVL_EditorDoc>(prompts_);
        frame_ = std::make_unique<CMainFrame>(*doc_, state_);
        tv_ = new CTvBinding(*frame_, *doc_, *card_);
        ci_ = AttachCi(*frame_, *tv_, *card_);
    }
    void TearDown() override {
        delete ci_;
        delete tv_;
        frame_.reset();
        doc_.reset();
        if (card_) card_->CiClose();
        link_.TearDown();
        CardServerTest::TearDown();
    }
    static int Cam(const std::string& args) {
        const std::string cmd = std::string(NVDVBSRV_PATH) + " cam " + args + " 2>/dev/null";
        const int st = std::system(cmd.c_str());
        return WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    }
    QString Pane() const {
        return static_cast<CFrameStatusBar*>(frame_->statusBar())->PaneText(PaneId::CaSlot1);
    }
    bool Slot1() const { return frame_->Action(Cmd::CiSlot1)->isEnabled(); }

    CKestrelCard link_;
    IDeviceSet* card_ = nullptr;
    CProgramState state_;
    SilentPrompts prompts_;
    std::unique_ptr<CSVL_EditorDoc> doc_;
    std::unique_ptr<CMainFrame> frame_;
    CTvBinding* tv_ = nullptr;
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
