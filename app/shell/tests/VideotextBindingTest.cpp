// Videotext on the frame, on a fake receiver: the command's enabling, the
// window subscribed to the tuned program's teletext while it is open, pages
// into the binding's cache, the cache emptied by a program change.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QTest>

#include "channellist/CSVLFile.h"
#include "common/CommandIds.h"
#include "frame/CMainFrame.h"
#include "frame/tests/FrameFixture.h"
#include "receiver/CFakeDeviceSet.h"
#include "receiver/CFakeReceiver.h"
#include "shell/CTvBinding.h"
#include "shell/CVideotextBinding.h"
#include "tv/CProgramSwitcher.h"
#include "videotext/tests/PageBuilder.h"
#include "videotext/windows/CVideotextDlg.h"
#include "videotext/windows/VtWindowTexts.h"
#include "videotext/windows/tests/VtTestPages.h"

namespace {

class VideotextBinding : public FrameFixture {
  protected:
    void SetUp() override {
        FrameFixture::SetUp();
        ASSERT_TRUE(doc->OpenDocumentFile(WriteList(dir_, "liste.svl", 2)));
        doc->List().Programs[1]->TeletextPid = 0x240;
        tv_ = new CTvBinding(*frame, *doc, card_);
        vt_ = AttachVideotext(*frame, *tv_, [this] { return receiver_; });
    }
    void TearDown() override {
        delete vt_;
        delete tv_;
        FrameFixture::TearDown();
    }
    QAction* Command() { return frame->Action(Cmd::Videotext); }

    QTemporaryDir dir_;
    CFakeDeviceSet card_;
    CFakeReceiver fakeReceiver_;
    IReceiver* receiver_ = &fakeReceiver_;
    CTvBinding* tv_ = nullptr;
    CVideotextBinding* vt_ = nullptr;
};

}  // namespace

TEST_F(VideotextBinding, CommandNeedsATunedProgramAndACard) {
    EXPECT_FALSE(Command()->isEnabled());
    state.SetTunedProgramIndex(1);
    EXPECT_TRUE(Command()->isEnabled());
    receiver_ = nullptr;
    vt_->UpdateCommand();
    EXPECT_FALSE(Command()->isEnabled());
    Command()->trigger();
    EXPECT_TRUE(fakeReceiver_.Calls().empty());
}

TEST_F(VideotextBinding, WindowReceivesTheTunedProgramsTeletextWhileOpen) {
    state.SetTunedProgramIndex(1);
    bool disabledWhileOpen = false;
    std::optional<std::uint16_t> pidWhileOpen;
    QString title;
    vt_->SetRunner([&](CVideotextDlg& dialog) {
        disabledWhileOpen = !Command()->isEnabled();
        pidWhileOpen = fakeReceiver_.TeletextPid();
        const auto page = vttest::Datagram(100, 0, "HALLO");
        EXPECT_TRUE(fakeReceiver_.DeliverTeletextPage(page));
        title = dialog.windowTitle();
        dialog.TimerStep();
        EXPECT_EQ(dialog.CacheText()->text(), VtWindowTexts::Cache(1));
        dialog.reject();
    });
    Command()->trigger();
    EXPECT_TRUE(disabledWhileOpen);
    EXPECT_EQ(pidWhileOpen, std::optional<std::uint16_t>(0x240));
    EXPECT_EQ(title, VtWindowTexts::TitleOf(100));
    EXPECT_FALSE(fakeReceiver_.TeletextPid());  // closing ended the teletext
    EXPECT_EQ(fakeReceiver_.Calls().back(), "UnsubscribeTeletext 576");
    EXPECT_EQ(vt_->Cache().CachedCount(), 1);  // the cache stays filled
    EXPECT_TRUE(Command()->isEnabled());
    EXPECT_FALSE(vt_->Dialog());
}

TEST_F(VideotextBinding, ProgramChangeEmptiesTheCache) {
    vt_->Cache().Store(vttest::Datagram(100));
    ASSERT_EQ(vt_->Cache().CachedCount(), 1);
    emit tv_->Switcher().teletextCacheCleared();
    EXPECT_EQ(vt_->Cache().CachedCount(), 0);
}

TEST_F(VideotextBinding, RefusedTeletextIsReportedAndTheWindowEnds) {
    state.SetTunedProgramIndex(1);
    bool ran = false;
    vt_->SetRunner([&](CVideotextDlg&) { ran = true; });
    fakeReceiver_.ScriptSubscribeFailure({SubscribeError::CardRefused, 5});
    QString text, caption;
    vtwin::AnswerBox(QStringLiteral("OK"), &text, &caption);
    Command()->trigger();
    EXPECT_EQ(text, VtWindowTexts::TeletextRefused(5));
    EXPECT_EQ(caption, VtWindowTexts::Caption);
    EXPECT_FALSE(ran);
    EXPECT_FALSE(vt_->Subscribed());
    EXPECT_FALSE(CVideotextDlg::SlotTaken());
    EXPECT_TRUE(Command()->isEnabled());

    // A program without a teletext PID does not ask the card at all.
    doc->List().Programs[1]->TeletextPid = 0;
    fakeReceiver_.ClearCalls();
    vtwin::AnswerBox(QStringLiteral("OK"), &text);
    Command()->trigger();
    EXPECT_EQ(text, VtWindowTexts::NoTeletext);
    EXPECT_FALSE(ran);
    EXPECT_TRUE(fakeReceiver_.Calls().empty());
}
