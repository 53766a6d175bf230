// The recording part on the frame, on a fake card: the VCR bar in its docking
// bar, the frame's VCR commands reaching it and enabled by its state, the
// back end chosen by the options, the playlist window and its data file.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QTest>

#include "common/CommandIds.h"
#include "frame/CDockingBar.h"
#include "frame/CMainFrame.h"
#include "frame/tests/FrameFixture.h"
#include "receiver/CFakeDeviceSet.h"
#include "recording/PlayListStore.h"
#include "shell/CVcrBinding.h"

using VcrBinding = FrameFixture;

TEST_F(VcrBinding, FrameCommandsDriveTheBarOnTheChosenBackEnd) {
    CFakeDeviceSet card;
    frame->Options().lowLevel = 1;
    CVcrBinding* vcr = AttachVcr(*frame, card);
    EXPECT_EQ(frame->DockingBar(BarId::VcrBar)->widget(), vcr->Bar());
    EXPECT_TRUE(frame->Action(Cmd::VcrRecord)->isEnabled());
    EXPECT_FALSE(frame->Action(Cmd::VcrPlay)->isEnabled());
    EXPECT_FALSE(frame->Action(Cmd::VcrStop)->isEnabled());

    // The card's own file method: a quick recording through the frame's command.
    frame->Options().lowLevel = 0;
    emit frame->optionsChanged();
    card.ClearLog();
    frame->Action(Cmd::VcrRecord)->trigger();
    QTRY_VERIFY(!card.CallsStartingWith("RecRecord").empty());
    const auto opens = card.CallsStartingWith("RecOpen ");
    ASSERT_EQ(opens.size(), 1u);
    EXPECT_NE(opens[0].find("QUICKREC-"), std::string::npos);
    EXPECT_TRUE(opens[0].ends_with(".pva 5 0"));
    EXPECT_EQ(card.CallsStartingWith("WS_RecPlayMethod 0").size(), 1u);  // before the open
    EXPECT_TRUE(frame->Action(Cmd::VcrStop)->isEnabled());
    EXPECT_TRUE(frame->Action(Cmd::VcrRecord)->isEnabled());  // the mode is not known yet

    // The card announces the recording: record is no longer offered.
    card.recorderStatus.mode = 1;
    ASSERT_TRUE(card.AnnounceRecorderChange());
    QTRY_VERIFY(!frame->Action(Cmd::VcrRecord)->isEnabled());
    delete vcr;  // before the card it talks to
}

TEST_F(VcrBinding, PlaylistWindowOpensAndTheListIsWrittenWhenThePartGoes) {
    CFakeDeviceSet card;
    auto* vcr = AttachVcr(*frame, card);
    QAction* open = frame->Action(Cmd::PlayList);
    ASSERT_TRUE(open->isEnabled());
    open->trigger();
    QWidget* window = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->windowTitle() == "Wiedergabeliste") window = w;
    ASSERT_NE(window, nullptr);
    window->close();

    const QString path = QString::fromStdString(DataFilePath("PlayList.dat"));
    QFile::remove(path);
    delete vcr;
    EXPECT_TRUE(QFileInfo(path).size() >= 8) << path.toStdString();
}
