// The TV bars in the frame's docking bars, on a fake card.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QTableWidget>
#include <QTimer>

#include "common/CommandIds.h"
#include "frame/CDockingBar.h"
#include "frame/CMainFrame.h"
#include "frame/tests/FrameFixture.h"
#include "receiver/CFakeDeviceSet.h"
#include "shell/CTvBarsBinding.h"
#include "tv/bars/CDecoderStatusBar.h"
#include "tv/bars/CPictureSoundBar.h"
#include "tv/bars/CProgramStatusBar.h"
#include "tv/bars/CSystemInfoDialog.h"

using TvBarsBinding = FrameFixture;

TEST_F(TvBarsBinding, FillsTheThreeBarsAndFollowsThePidDisplay) {
    CFakeDeviceSet card;
    frame->Options().pidHex = 1;
    CTvBarsBinding* bars = AttachTvBars(*frame, &card);
    EXPECT_EQ(frame->DockingBar(BarId::PictureBar)->widget(), bars->PictureSound());
    EXPECT_EQ(frame->DockingBar(BarId::DecoderBar)->widget(), bars->DecoderStatus());
    EXPECT_EQ(frame->DockingBar(BarId::ProgramStatusBar)->widget(), bars->ProgramStatus());
    EXPECT_TRUE(bars->ProgramStatus()->PidHexDisplay());

    card.decoder.videoPid = 255;
    bars->ProgramStatus()->Refresh();
    EXPECT_EQ(bars->ProgramStatus()->Text(CProgramStatusBar::VideoPidText), "00FF");
    frame->Options().pidHex = 0;
    emit frame->optionsChanged();
    EXPECT_EQ(bars->ProgramStatus()->Text(CProgramStatusBar::VideoPidText), "255");
}

TEST_F(TvBarsBinding, SystemInfoRequestOpensTheDialogOverTheAsker) {
    CFakeDeviceSet card;
    AttachTvBars(*frame, &card);
    QWidget asker(frame.get(), Qt::Dialog);
    int cardRows = -1;
    QWidget* parent = nullptr;
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        auto* dialog = qobject_cast<CSystemInfoDialog*>(modal);
        if (!dialog) {
            if (modal) modal->close();
            return;
        }
        cardRows = dialog->Card().rowCount();
        parent = dialog->parentWidget();
        dialog->accept();
    });
    emit frame->systemInfoRequested(&asker);
    EXPECT_EQ(cardRows, 11);
    EXPECT_EQ(parent, &asker);
}

TEST_F(TvBarsBinding, WithoutCardTheBarsAreThereAndReadNothing) {
    CTvBarsBinding* bars = AttachTvBars(*frame, nullptr);
    EXPECT_EQ(frame->DockingBar(BarId::PictureBar)->widget(), bars->PictureSound());
    EXPECT_FALSE(bars->DecoderStatus()->RefreshTimer().isActive());
    EXPECT_FALSE(bars->ProgramStatus()->RefreshTimer().isActive());
}
