// The programme guide on the frame, on a fake card: the page messages and
// keys the view receives, the frame's guide command and the remote keys'
// view of the guide.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QTest>
#include <QTimer>

#include "common/CommandIds.h"
#include "common/PrivateMessages.h"
#include "frame/CMainFrame.h"
#include "frame/tests/FrameFixture.h"
#include "guide/COsdGuide.h"
#include "receiver/CFakeDeviceSet.h"
#include "shell/CGuideBinding.h"
#include "shell/CTvBinding.h"

using GuideBinding = FrameFixture;

TEST_F(GuideBinding, PageMessagesKeysAndTheCommandReachTheOnScreenGuide) {
    CFakeDeviceSet card;
    auto* tv = new CTvBinding(*frame, *doc, card);
    CGuideBinding* guide = AttachGuide(*frame, *tv, card);
    QWidget* view = frame->View();
    ASSERT_NE(view, nullptr);

    // Message 1227 with 2: the present page, without counting as shown.
    PrivateMessageEvent page(Msg::GuidePage, 2, 0);
    QApplication::sendEvent(view, &page);
    EXPECT_EQ(guide->Osd().PageOnScreen(), COsdGuide::Present);
    EXPECT_FALSE(guide->Osd().Shown());

    // Key 2 of the video window: the following page, shown; the choice is kept.
    PrivateMessageEvent key(Msg::GuideKeys, 2, 0);
    QApplication::sendEvent(view, &key);
    EXPECT_EQ(guide->Osd().PageOnScreen(), COsdGuide::Following);
    EXPECT_TRUE(guide->Osd().Shown());
    EXPECT_EQ(QSettings().value("Einstellungen/CurrentNextEvent").toInt(), 1);

    // "OSD -& EPG" switches it off, and on again with the kept page.
    QAction* toggle = frame->Action(Cmd::OsdGuide);
    ASSERT_TRUE(toggle->isEnabled());
    toggle->trigger();
    EXPECT_FALSE(guide->Osd().Shown());
    EXPECT_EQ(guide->Osd().PageOnScreen(), -1);
    toggle->trigger();
    EXPECT_EQ(guide->Osd().PageOnScreen(), COsdGuide::Following);
    EXPECT_TRUE(frame->Action(Cmd::ScheduleList)->isEnabled());
    delete guide;
    delete tv;
}

TEST_F(GuideBinding, ScheduleListReceivesForTheTunedProgramWhileItIsOpen) {
    QTemporaryDir dir;
    ASSERT_TRUE(doc->OpenDocumentFile(WriteList(dir, "liste.svl", 2)));
    CFakeDeviceSet card;
    auto* tv = new CTvBinding(*frame, *doc, card);
    CGuideBinding* guide = AttachGuide(*frame, *tv, card);
    state.SetTunedProgramIndex(1);
    card.ClearLog();
    bool filterWhileOpen = false;
    QTimer::singleShot(0, [&] {
        filterWhileOpen = card.ReceiverOpen(FilterRole::Schedule);
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && w->objectName() == "EPG-ScheduleInfo") w->close();
    });
    frame->Action(Cmd::ScheduleList)->trigger();  // modal until the timer closes it
    EXPECT_TRUE(filterWhileOpen);
    EXPECT_EQ(card.CallsStartingWith("SetBitFilter Schedule").size(), 1u);
    EXPECT_FALSE(card.ReceiverOpen(FilterRole::Schedule));
    delete guide;
    delete tv;
}
