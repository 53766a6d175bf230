// The TV window on a real frame offscreen, on a fake video library: the bar's
// content and command, the menu-state update while hidden, the video window's
// menu message, and full screen by remote key 46 on the failure path.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "common/CommandIds.h"
#include "common/PrivateMessages.h"
#include "frame/CDockingBar.h"
#include "frame/CFrameMenus.h"
#include "frame/CMainFrame.h"
#include "frame/tests/FrameFixture.h"
#include "receiver/CFakeDeviceSet.h"
#include "shell/CTvWindowBinding.h"
#include "tv/CFakeVideoDisplay.h"
#include "tv/CTvVideo.h"
#include "tv/video/CTvWindow.h"

namespace {

using Log = std::vector<std::string>;

class TvWindowBinding : public FrameFixture {
  protected:
    void SetUp() override {
        FrameFixture::SetUp();
        binding = AttachTvWindow(*frame, display, &card);
        bar = frame->DockingBar(BarId::TvBar);
    }
    void WaitForSteps() {
        ASSERT_TRUE(QTest::qWaitFor([this] { return !binding->Video().Steps().Busy(); }, 5000));
    }
    bool Logged(const std::string& line) const {
        return std::find(display.Log().begin(), display.Log().end(), line) != display.Log().end();
    }

    CFakeVideoDisplay display;
    CFakeDeviceSet card;
    CTvWindowBinding* binding = nullptr;
    CDockingBar* bar = nullptr;
};

TEST_F(TvWindowBinding, BarCommandHidesAndShowsWithTheVideoOverTheBar) {
    EXPECT_EQ(bar->widget(), binding->Window());
    EXPECT_TRUE(Logged("Broadcast UM_DVBAPP_HWND 0 0"));
    frame->show();
    WaitForSteps();
    QAction* command = frame->Action(Cmd::ViewTvBar);
    command->trigger();
    EXPECT_TRUE(bar->isHidden());
    EXPECT_FALSE(command->isChecked());

    display.ClearLog();
    emit frame->Menus()->Menu(QStringLiteral("&Ansicht"))->aboutToShow();
    EXPECT_EQ(display.Log(), (Log{"Close", "EnableVideo 0"}));

    display.ClearLog();
    command->trigger();
    EXPECT_TRUE(bar->isHidden());  // shown after the video is placed
    WaitForSteps();
    EXPECT_FALSE(bar->isHidden());
    EXPECT_TRUE(command->isChecked());
    ASSERT_GE(display.Log().size(), 4u);
    EXPECT_EQ(display.Log().at(0), "Open -fbrd");
    EXPECT_EQ(display.Log().at(3).rfind("MoveTo", 0), 0u);
}

TEST_F(TvWindowBinding, MenuMessageOpensTheTvMenuAtThePointInTheBar) {
    frame->show();
    QString title;
    QPoint at;
    binding->SetMenuRunner([&](const QString& t, const QList<VideoMenuItems::Item>&, QPoint p) {
        title = t;
        at = p;
        return Cmd::VideoMirror;
    });
    const unsigned number = binding->Video().VideoMessages()[3];
    QCoreApplication::postEvent(frame.get(),
                                new CFakeVideoDisplay::Event({number, 0, 5 | 7 << 16}));
    display.ClearLog();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !title.isEmpty(); }));
    EXPECT_EQ(title, QStringLiteral("TV und EPG Kontrolle"));
    EXPECT_EQ(at, binding->BarRect().topLeft() + QPoint(5, 7));
    EXPECT_TRUE(Logged("Broadcast UM_DVBAPP_CTRLVIDEO 0 4"));
}

TEST_F(TvWindowBinding, RemoteKey46EntersFullScreenAndReportsTheRefusedMode) {
    QStringList boxes;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                boxes << box->windowTitle() + '|' + box->text();
                box->accept();
            }
    });
    closer.start(20);
    PrivateMessages::PostTo(MessageWindow::Frame, Msg::RemoteKey, 46);
    ASSERT_TRUE(QTest::qWaitFor([&] { return state.FullScreen(); }, 5000));
    EXPECT_EQ(
        boxes,
        QStringList{QStringLiteral("Desktopauflösung ändern|The graphics mode is not supported.")});
    EXPECT_TRUE(Logged("MoveTo 16 12 784 574 1"));
    EXPECT_EQ(card.CallsStartingWith("SetPictureParameters").size(), 1u);
    const auto background = [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QStringLiteral("FullScreenBackground") && w->isVisible())
                return true;
        return false;
    };
    EXPECT_TRUE(background());
    emit frame->Menus()->Menu(QStringLiteral("&TV"))->aboutToShow();
    EXPECT_FALSE(frame->Action(Cmd::FullScreenOn)->isEnabled());
    EXPECT_TRUE(frame->Action(Cmd::FullScreenOff)->isEnabled());

    frame->Action(Cmd::FullScreenOff)->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !state.FullScreen(); }, 5000));
    EXPECT_FALSE(background());
}

}  // namespace
