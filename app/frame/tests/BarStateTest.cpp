// Bars, their layout and the window placement survive to the next start.
#include <QCoreApplication>

#include "FrameFixture.h"
#include "common/CommandIds.h"
#include "frame/CDockingBar.h"

using BarState = FrameFixture;

TEST_F(BarState, LayoutComesBackAtTheNextStart) {
    frame->show();
    CDockingBar* status = frame->DockingBar(BarId::ProgramStatusBar);
    frame->addDockWidget(Qt::LeftDockWidgetArea, status);
    frame->Action(Cmd::ViewVcrBar)->trigger();  // hide the VCR bar
    QCoreApplication::processEvents();
    frame->SaveFrameState();

    auto next = NextRun();
    next->show();
    QCoreApplication::processEvents();
    EXPECT_EQ(next->dockWidgetArea(next->DockingBar(BarId::ProgramStatusBar)),
              Qt::LeftDockWidgetArea);
    EXPECT_TRUE(next->DockingBar(BarId::VcrBar)->isHidden());
    EXPECT_FALSE(next->Action(Cmd::ViewVcrBar)->isChecked());
    EXPECT_FALSE(next->DockingBar(BarId::TvBar)->isHidden());
    EXPECT_EQ(next->dockWidgetArea(next->DockingBar(BarId::TvBar)), Qt::BottomDockWidgetArea);
}

TEST_F(BarState, PlacementComesBackAtTheNextStart) {
    frame->show();
    frame->setGeometry(40, 50, 640, 480);
    QCoreApplication::processEvents();
    frame->SaveFrameState();

    auto next = NextRun();
    next->RestorePlacement();
    EXPECT_EQ(next->size(), QSize(640, 480));
}

TEST_F(BarState, BarSizesAreKeptUnderTheStateNames) {
    QSettings settings;
    settings.setValue("BildTonBar/BarID", BarId::PictureBar);
    settings.setValue("BildTonBar/Width", 300);
    settings.setValue("BildTonBar/Height", 80);
    settings.sync();
    auto next = NextRun();
    EXPECT_EQ(next->DockingBar(BarId::PictureBar)->PreferredSize(), QSize(300, 80));
}

TEST_F(BarState, StateNamingABarTheFrameDoesNotHaveIsIgnored) {
    QSettings settings;
    settings.setValue("TVBar/BarID", 0xE8FF);
    settings.setValue("TVBar/Width", 999);
    settings.setValue("TVBar/Height", 999);
    settings.setValue("bar state Editor/State", QByteArray("not a layout"));
    settings.sync();
    auto next = NextRun();
    EXPECT_EQ(next->DockingBar(BarId::TvBar)->PreferredSize(), QSize(200, 100));
    EXPECT_EQ(next->dockWidgetArea(next->DockingBar(BarId::TvBar)), Qt::BottomDockWidgetArea);
}

TEST_F(BarState, StoredStateNamesAreTheBarNames) {
    frame->SaveFrameState();
    QSettings settings;
    for (const char* name :
         {"TVBar", "VideoBar", "BildTonBar", "MPEGDecoderBar", "ProgrammStatusBar"})
        EXPECT_TRUE(settings.childGroups().contains(QString::fromLatin1(name))) << name;
    EXPECT_TRUE(settings.childGroups().contains(QStringLiteral("bar state Editor")));
}
