// Full screen on an X server that offers 800 x 600 (a nested server started by
// nested_x.sh, never the user's desktop): the mode is set, the background
// covers the new screen, and the old size comes back on leaving and when the
// desktop object goes without having left.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include "tv/video/CFullScreenDesktop.h"

// Xlib's macros (None, Bool, Status, ...) clash with Qt's names: last.
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

namespace {

/// The root window's size as the X server reports it now, from its own connection.
QSize ServerScreenSize() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return {};
    XRRScreenConfiguration* config = XRRGetScreenInfo(display, DefaultRootWindow(display));
    QSize size;
    if (config) {
        Rotation rotation = 0;
        const int current = XRRConfigCurrentConfiguration(config, &rotation);
        int count = 0;
        const XRRScreenSize* sizes = XRRConfigSizes(config, &count);
        if (current >= 0 && current < count)
            size = QSize(sizes[current].width, sizes[current].height);
        XRRFreeScreenConfigInfo(config);
    }
    XCloseDisplay(display);
    return size;
}

class FullScreenRandr : public ::testing::Test {
  protected:
    void SetUp() override {
        if (QGuiApplication::platformName() != QStringLiteral("xcb"))
            GTEST_SKIP() << "needs an X server (run through nested_x.sh)";
        original_ = ServerScreenSize();
        ASSERT_EQ(original_, QSize(1280, 1024));
    }
    QSize original_;
};

TEST_F(FullScreenRandr, SetsEightHundredBySixHundredAndRestoresTheDesktop) {
    CFullScreenDesktop desktop;
    ASSERT_EQ(desktop.SetFullScreenMode(), DisplayModeResult::Changed);
    EXPECT_TRUE(desktop.ModeChanged());
    EXPECT_EQ(ServerScreenSize(), QSize(800, 600));
    // Asking again while in the mode keeps the size to go back to.
    EXPECT_EQ(desktop.SetFullScreenMode(), DisplayModeResult::Changed);

    ASSERT_TRUE(QTest::qWaitFor(
        [] { return QGuiApplication::primaryScreen()->geometry().size() == QSize(800, 600); }));
    ASSERT_TRUE(desktop.CreateBackground());
    EXPECT_EQ(desktop.Background()->geometry(), QRect(0, 0, 800, 600));
    desktop.DestroyBackground();

    desktop.RestoreDisplayMode();
    EXPECT_FALSE(desktop.ModeChanged());
    EXPECT_EQ(ServerScreenSize(), original_);
}

TEST_F(FullScreenRandr, TheDesktopComesBackWhenTheObjectGoesInFullScreen) {
    {
        CFullScreenDesktop desktop;
        ASSERT_EQ(desktop.SetFullScreenMode(), DisplayModeResult::Changed);
        ASSERT_EQ(ServerScreenSize(), QSize(800, 600));
    }
    EXPECT_EQ(ServerScreenSize(), original_);
}

}  // namespace
