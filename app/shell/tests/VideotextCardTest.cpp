// Videotext of the program against a real emulated card: the frame with the
// TV part and CVideotextBinding on the receiver's device objects and its
// receiver; the window opens after a program switch has turned that
// program's teletext on, and the capture's pages fill the cache.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QSignalSpy>

#include "common/CommandIds.h"
#include "frame/CMainFrame.h"
#include "shell/CVideotextBinding.h"
#include "shell/tests/ShellCardTest.h"
#include "tv/CProgramSwitcher.h"
#include "videotext/windows/CVideotextDlg.h"
#include "videotext/windows/VtWindowTexts.h"

using namespace std::chrono_literals;

namespace {

constexpr std::uint16_t kRaiTeletextPid = 0x240;

class VideotextCardTest : public ShellCardTest {
  protected:
    void SetUp() override {
        ShellCardTest::SetUp();
        if (Ready()) vt_ = AttachVideotext(*frame_, *tv_, [this] { return link_.Receiver(); });
    }
    void TearDown() override {
        delete vt_;
        ShellCardTest::TearDown();
    }
    void PrepareCard() override {
        list_.Programs[0]->TeletextPid = kRaiTeletextPid;
        list_.Programs[1]->TeletextPid = kArteTeletextPid;
        ASSERT_TRUE(doc_->OpenDocumentFile(WriteListFile()));
    }
    /// Switches to program `index` as the program view does and waits for the end.
    void SwitchTo(int index) {
        QSignalSpy done(&tv_->Switcher(), &CProgramSwitcher::switchFinished);
        tv_->Switcher().SwitchToProgram(doc_->List(), *doc_->List().Programs[index], false);
        ASSERT_TRUE(done.wait(5000));
        state_.SetTunedProgramIndex(index);
    }
    /// Opens the window; it runs until the cache holds `pages` pages and
    /// `page` (or the time is up), then ends. Returns the cache text of its
    /// last timer step.
    QString RunWindowUntil(int pages, int page = 0) {
        QString cacheText;
        vt_->SetRunner([&](CVideotextDlg& dialog) {
            dialog.show();
            RunLoopUntil(
                [&] {
                    return vt_->Cache().CachedCount() >= pages &&
                           (page == 0 || vt_->Cache().Find(page));
                },
                20s);
            RunLoopFor(std::chrono::milliseconds(CVideotextDlg::kTimerMs + 100));
            cacheText = dialog.CacheText()->text();
            dialog.reject();
        });
        frame_->Action(Cmd::Videotext)->trigger();
        return cacheText;
    }

    CVideotextBinding* vt_ = nullptr;
};

int CachedNumber(const QString& cacheText) {
    return cacheText.mid(QStringLiteral("VT-Cache ").size()).toInt();
}

}  // namespace

TEST_F(VideotextCardTest, PagesOfTheTunedProgramArriveWhileTheWindowIsOpen) {
    SwitchTo(0);  // the switch has turned Rai's teletext on already
    ASSERT_TRUE(frame_->Action(Cmd::Videotext)->isEnabled());
    const QString first = RunWindowUntil(3);
    EXPECT_TRUE(vt_->Subscribed());
    EXPECT_TRUE(first.startsWith(QStringLiteral("VT-Cache ")));
    EXPECT_GE(CachedNumber(first), 3) << first.toStdString();
    std::string pages;
    for (int p = vt::kFirstPage; p <= vt::kLastPage; ++p)
        if (vt_->Cache().Find(p)) pages += " " + std::to_string(p);
    EXPECT_FALSE(pages.empty()) << "no page number of the capture in the cache";

    // Closed: no more pages come in.
    const int kept = vt_->Cache().CachedCount();
    RunLoopFor(1500ms);
    EXPECT_EQ(vt_->Cache().CachedCount(), kept);

    // Another program: the cache starts again, and a new window gets its pages.
    SwitchTo(1);
    EXPECT_EQ(vt_->Cache().CachedCount(), 0);
    const QString second = RunWindowUntil(2);
    EXPECT_GE(CachedNumber(second), 2) << second.toStdString();
}

TEST_F(VideotextCardTest, WindowOpensTwiceOnTheSameProgram) {
    SwitchTo(1);
    EXPECT_GE(CachedNumber(RunWindowUntil(2)), 2);
    vt_->Cache().Clear();
    EXPECT_GE(CachedNumber(RunWindowUntil(2)), 2);
}
