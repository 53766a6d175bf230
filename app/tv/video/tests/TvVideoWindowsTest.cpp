// The TV part's video windows offscreen: the TV window's calls through the
// video side, the full-screen desktop's failure path and background, the
// pop-up menus' title band, items and images.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWidgetAction>

#include "common/CProgramState.h"
#include "common/CommandIds.h"
#include "tv/CFakeVideoDisplay.h"
#include "tv/CTvVideo.h"
#include "tv/ITvWindowHost.h"
#include "tv/TvTexts.h"
#include "tv/video/CFullScreenDesktop.h"
#include "tv/video/CTvWindow.h"
#include "tv/video/VideoPopupMenu.h"

namespace {

class NoHost : public ITvWindowHost {
  public:
    DisplayModeResult SetFullScreenMode() override { return DisplayModeResult::NotSupported; }
    void RestoreDisplayMode() override {}
    void ShowInformation(const QString&, const QString&) override {}
    bool CreateBackground() override { return true; }
    void DestroyBackground() override {}
    void ShowBackgroundFailure(const QString&, const QString&) override {}
    QRect BarRect() const override { return {}; }
    bool BarHidden() const override { return false; }
    void ShowBar() override {}
    void HideBar() override {}
    void OpenTvMenu(QPoint) override {}
    void OpenVcrMenu(QPoint) override {}
};

TEST(TvWindow, TellsTheVideoWhereItIsAndWhenItGoes) {
    CFakeVideoDisplay display;
    NoHost host;
    CProgramState state;
    CTvVideo video(display, host, state, nullptr);
    auto* window = new CTvWindow(video);
    window->setGeometry(50, 60, 320, 240);
    window->show();
    const std::string send = "Send UM_DVBAPP_HWND 0 " + std::to_string(qintptr(window));
    ASSERT_TRUE(QTest::qWaitFor([&] {
        const auto& log = display.Log();
        return std::find(log.begin(), log.end(), send) != log.end();
    }));
    const QRect r = window->ScreenRect();
    const std::string placed =
        "MoveTo " + std::to_string(r.x()) + ' ' + std::to_string(r.y()) + " 320 240 1";
    ASSERT_TRUE(QTest::qWaitFor([&] { return display.Log().back() == placed; }, 2000));

    display.ClearLog();
    delete window;
    ASSERT_TRUE(QTest::qWaitFor([&] { return !video.Steps().Busy(); }));
    EXPECT_EQ(display.Log(), (std::vector<std::string>{"Close", "EnableVideo 0"}));
}

TEST(FullScreenDesktop, OffscreenRefusesTheModeAndCoversTheScreenInBlack) {
    CFullScreenDesktop desktop;
    EXPECT_EQ(desktop.SetFullScreenMode(), DisplayModeResult::NotSupported);
    EXPECT_FALSE(desktop.ModeChanged());
    desktop.RestoreDisplayMode();  // nothing to restore

    ASSERT_TRUE(desktop.CreateBackground());
    QWidget* background = desktop.Background();
    ASSERT_TRUE(background);
    EXPECT_TRUE(background->isVisible());
    EXPECT_EQ(background->geometry(), QGuiApplication::primaryScreen()->geometry());
    EXPECT_EQ(background->palette().color(QPalette::Window), QColor(Qt::black));
    desktop.DestroyBackground();
    EXPECT_FALSE(desktop.Background());
}

TEST(FullScreenDesktop, ReportsInFrontOfAllWindows) {
    QString seen;
    bool onTop = false;
    QTimer::singleShot(0, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                seen = box->windowTitle() + '|' + box->text();
                onTop = box->windowFlags().testFlag(Qt::WindowStaysOnTopHint) &&
                        box->icon() == QMessageBox::Information;
                box->accept();
            }
    });
    CFullScreenDesktop::ShowInformation(nullptr, TvTexts::DisplayModeCaption,
                                        TvTexts::ModeNotSupported);
    EXPECT_EQ(seen, QStringLiteral("Desktopauflösung ändern|The graphics mode is not supported."));
    EXPECT_TRUE(onTop);
}

TEST(VideoPopupMenu, TitleBandThenTheItemsWithImagesAndCommands) {
    QWidget owner;
    std::unique_ptr<QMenu> menu(
        VideoPopupMenu::Build(TvTexts::TvMenuTitle, VideoMenuItems::TvMenu(false, false), &owner));
    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), 16);
    auto* band = qobject_cast<QWidgetAction*>(actions.front());
    ASSERT_TRUE(band);
    auto* title = qobject_cast<QLabel*>(band->defaultWidget());
    ASSERT_TRUE(title);
    EXPECT_EQ(title->text(), QStringLiteral("TV und EPG Kontrolle"));
    EXPECT_EQ(actions.at(1)->data().toInt(), Cmd::FullScreenOff);
    EXPECT_FALSE(actions.at(1)->isEnabled());
    EXPECT_TRUE(actions.at(3)->isSeparator());
    EXPECT_EQ(actions.at(5)->text(), QStringLiteral("Video spiegeln"));
    for (QAction* a : actions.mid(1)) {
        if (!a->isSeparator()) {
            EXPECT_FALSE(a->icon().isNull()) << a->text().toStdString();
        }
    }
    // The title band shades from light red to white.
    title->resize(200, 20);
    const QImage shot = title->grab().toImage();
    EXPECT_EQ(shot.pixelColor(0, 10).red(), 0xFF);
    EXPECT_LT(shot.pixelColor(0, 10).green(), 0x90);
    EXPECT_GT(shot.pixelColor(199, 10).green(), 0xF0);
}

}  // namespace
