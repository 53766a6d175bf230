// The timer recordings on the frame, on a fake card: a quick recording of
// the VCR becomes a timer that the scheduler starts at its next tick and
// that ends as finished when the VCR stops it; the timer list's command.
#include <gtest/gtest.h>

#include <QAction>
#include <QTemporaryDir>
#include <QTest>

#include "common/CommandIds.h"
#include "frame/CFrameStatusBar.h"
#include "frame/CMainFrame.h"
#include "frame/tests/FrameFixture.h"
#include "receiver/CFakeDeviceSet.h"
#include "recording/CTimerList.h"
#include "shell/CGuideBinding.h"
#include "shell/CTimerBinding.h"
#include "shell/CTvBinding.h"
#include "shell/CVcrBinding.h"

using TimerBinding = FrameFixture;

TEST_F(TimerBinding, QuickRecordingRunsAsATimerAndEndsFinishedWhenTheVcrStops) {
    QTemporaryDir dir;
    ASSERT_TRUE(doc->OpenDocumentFile(WriteList(dir, "liste.svl", 3)));
    CFakeDeviceSet card;
    frame->Options().lowLevel = 0;  // the card's own file method
    auto* tv = new CTvBinding(*frame, *doc, card);
    CGuideBinding* guide = AttachGuide(*frame, *tv, card);
    CVcrBinding* vcr = AttachVcr(*frame, card);
    CTimerBinding* timers = AttachTimers(*frame, *tv, *vcr, *guide, card);
    EXPECT_TRUE(frame->Action(Cmd::TimerList)->isEnabled());
    state.SetTunedProgramIndex(1);

    card.ClearLog();
    frame->Action(Cmd::VcrRecord)->trigger();
    QTRY_COMPARE(timers->List().Entries().size(), std::size_t(1));
    const CTimerEntry& entry = timers->List().Entries()[0];
    EXPECT_EQ(entry.program.Name, "P1");
    EXPECT_EQ(entry.End(), entry.Start().addYears(1));
    EXPECT_NE(entry.fileName.find("QUICKREC-"), std::string::npos);

    // The next tick records, with the OSD line and the pane.
    QTRY_COMPARE_WITH_TIMEOUT(entry.status, std::uint32_t(CTimerEntry::Recording), 3000);
    EXPECT_EQ(card.CallsStartingWith("RecRecord").size(), 1u);
    EXPECT_EQ(card.CallsStartingWith("CreateOSDWindow 5").size(), 1u);
    EXPECT_EQ(frame->StatusPanes()->PaneText(PaneId::TimerStatus),
              QStringLiteral("Status Timer: aktiv"));
    // The guide's filters are down for the recording.
    EXPECT_FALSE(card.CallsStartingWith("ShutDownFilter Schedule").empty());

    // Stopped by hand: the next tick marks it finished.
    card.recorderStatus.mode = 1;
    ASSERT_TRUE(card.AnnounceRecorderChange());
    QTRY_COMPARE(frame->VcrState().mode, 1);
    frame->Action(Cmd::VcrStop)->trigger();
    card.recorderStatus.mode = 0;
    ASSERT_TRUE(card.AnnounceRecorderChange());
    QTRY_COMPARE_WITH_TIMEOUT(entry.status, std::uint32_t(CTimerEntry::Finished), 3000);
    delete timers;
    delete vcr;
    delete guide;
    delete tv;
}
