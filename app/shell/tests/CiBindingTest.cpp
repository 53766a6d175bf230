// The common interface on the frame, on a fake card: the slot status timer,
// the ready flags with the menu commands and the status panes, the dialog
// "CI-Menü" with the module's texts and the keys it sends, the CA status.
#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "ci/windows/CCIMenuDialog.h"
#include "common/CommandIds.h"
#include "frame/CFrameStatusBar.h"
#include "frame/CMainFrame.h"
#include "frame/tests/FrameFixture.h"
#include "receiver/CFakeDeviceSet.h"
#include "shell/CCiBinding.h"
#include "shell/CTvBinding.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Menu(const std::vector<std::string>& strings) {
    Bytes m = {2, 1, 0};
    for (const auto& s : strings) {
        m.insert(m.end(), s.begin(), s.end());
        m.push_back(0);
    }
    return m;
}

QString Pane(CMainFrame& frame, int pane) {
    return static_cast<CFrameStatusBar*>(frame.statusBar())->PaneText(pane);
}

void DoubleClick(QListWidget& list, int row) {
    const QPoint at = list.visualItemRect(list.item(row)).center();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
}

class CiBinding : public FrameFixture {
  protected:
    void SetUp() override {
        FrameFixture::SetUp();
        tv_ = new CTvBinding(*frame, *doc, card_);
        ci_ = AttachCi(*frame, *tv_, card_);
    }
    void TearDown() override {
        delete ci_;
        delete tv_;
        FrameFixture::TearDown();
    }
    ICiListener& Card() { return *card_.CiListener(); }
    QAction* Slot(int n) { return frame->Action(n == 1 ? Cmd::CiSlot1 : Cmd::CiSlot2); }

    CFakeDeviceSet card_;
    CTvBinding* tv_ = nullptr;
    CCiBinding* ci_ = nullptr;
};

}  // namespace

TEST_F(CiBinding, SlotStatusEnablesTheMenuCommandsAndReachesThePanes) {
    ASSERT_EQ(card_.CiListener(), ci_);
    EXPECT_FALSE(Slot(1)->isEnabled());
    EXPECT_FALSE(Slot(2)->isEnabled());
    QTest::qWait(TimerId::CamSlotStatusPeriodMs + 300);
    EXPECT_EQ(card_.CallsStartingWith("GetSlotStatus").size(), 1u);

    Card().OnSlotStatus(1, 2);
    EXPECT_TRUE(Slot(1)->isEnabled());
    EXPECT_FALSE(Slot(2)->isEnabled());
    EXPECT_EQ(Pane(*frame, PaneId::CaSlot1), QStringLiteral("Status CA Slot 1: Modul ok"));
    Card().OnSlotStatus(1, 1);  // module in slot: the flag stays
    EXPECT_TRUE(Slot(1)->isEnabled());
    EXPECT_EQ(Pane(*frame, PaneId::CaSlot1), QStringLiteral("Status CA Slot 1: Modul in Slot"));
    Card().OnSlotStatus(2, 1);
    EXPECT_FALSE(Slot(2)->isEnabled());
    Card().OnSlotStatus(2, 2);
    EXPECT_TRUE(Slot(2)->isEnabled());
    Card().OnSlotStatus(1, 0);
    EXPECT_FALSE(Slot(1)->isEnabled());
    EXPECT_TRUE(Slot(2)->isEnabled());
    EXPECT_EQ(Pane(*frame, PaneId::CaSlot1), QStringLiteral("Status CA Slot 1: Slot leer"));
    EXPECT_EQ(Pane(*frame, PaneId::CaSlot2), QStringLiteral("Status CA Slot 2: Modul ok"));
}

TEST_F(CiBinding, MenuDialogShowsTheModuleAndSendsItsKeys) {
    Card().OnModuleText(Menu({"Vorher", "", "x"}), CiTextKind::Menu);  // no dialog yet: dropped
    EXPECT_EQ(ci_->Dialog(), nullptr);
    Card().OnSlotStatus(2, 2);
    Slot(2)->trigger();
    CCIMenuDialog* d = ci_->Dialog();
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(d->isVisible());
    ASSERT_EQ(d->List()->count(), 1);
    EXPECT_EQ(d->List()->item(0)->text(), QStringLiteral("Warte auf CAM-Antwort Slot 2..."));
    EXPECT_EQ(card_.CallsStartingWith("EnterModuleMenu"),
              (std::vector<std::string>{"EnterModuleMenu 2"}));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(d));

    // Title, empty subtitle, bottom text and two choices.
    Card().OnModuleText(Menu({"Titel", "", "Unten", "Eins", "Zwei"}), CiTextKind::Menu);
    Card().OnInputRequest(false, 1);
    ASSERT_EQ(d->List()->count(), 8);
    EXPECT_EQ(d->List()->item(4)->text(), QStringLiteral("1. Eins"));
    EXPECT_EQ(d->List()->item(7)->text(), QStringLiteral("Unten"));
    DoubleClick(*d->List(), 5);
    DoubleClick(*d->List(), 1);
    DoubleClick(*d->List(), 0);
    EXPECT_EQ(card_.CallsStartingWith("InputReply"),
              (std::vector<std::string>{"InputReply 2", "InputReply 0"}));

    // The blind PIN of four digits, then the key field with answer length 6.
    card_.ClearLog();
    Card().OnInputRequest(true, 4);
    EXPECT_EQ(d->AnswerField()->echoMode(), QLineEdit::Password);
    QTest::keyClicks(d->AnswerField(), "12345");
    EXPECT_EQ(d->AnswerField()->displayText(), QStringLiteral("****"));
    QTest::mouseClick(d->AnswerOk(), Qt::LeftButton);
    Card().OnInputRequest(false, 6);
    d->KeyField()->setText(QStringLiteral("1 2 3 4 5 6 7 8 9 a"));
    QTest::mouseClick(d->KeyOk(), Qt::LeftButton);
    EXPECT_EQ(card_.CallsStartingWith("InputReply"),
              (std::vector<std::string>{"InputReply 1 2 3 4", "InputReply 0 0 1 0 0 2"}));

    // The module's switch-off hides the dialog; the next command shows it again.
    Card().OnSwitchOff();
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(d->List()->count(), 0);
    Slot(2)->trigger();
    EXPECT_EQ(ci_->Dialog(), d);
    EXPECT_TRUE(d->isVisible());
}

TEST_F(CiBinding, CaStatusTwelveRestartsTheTunedProgramsSound) {
    QTemporaryDir dir;
    ASSERT_TRUE(doc->OpenDocumentFile(WriteList(dir, "liste.svl", 2)));
    doc->List().Programs[1]->AudioPid = 0x0123;
    state.SetTunedProgramIndex(-1);
    card_.ClearLog();
    Card().OnCaStatus(0, 12);
    EXPECT_TRUE(card_.CallsStartingWith("SetAudioPID").empty());  // nothing tuned
    state.SetTunedProgramIndex(1);
    card_.ClearLog();
    Card().OnCaStatus(0, 12);
    Card().OnCaStatus(5, 13);
    Card().OnCaStatus(0, 14);
    EXPECT_EQ(card_.Calls(), (std::vector<std::string>{"SetAudioPID 291"}));
}
