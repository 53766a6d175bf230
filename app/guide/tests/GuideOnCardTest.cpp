// The guide's receivers and its on-screen pages on a card without hardware.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QSignalSpy>

#include "guide/CGuideReception.h"
#include "guide/COsdGuide.h"
#include "guide/tests/EitBuilder.h"
#include "receiver/CFakeDeviceSet.h"

namespace {

QByteArray Datagram(const std::vector<std::uint8_t>& bytes) {
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

class GuideOnCard : public ::testing::Test {
  protected:
    GuideOnCard() {
        CGuideReception::Hooks hooks;
        hooks.offsetHours = [this] { return offset; };
        hooks.nowMs = [this] { return nowMs; };
        hooks.wait = [](int) {};
        hooks.filterFailed = [this] { ++filterFailures; };
        reception = std::make_unique<CGuideReception>(card, hooks);
        COsdGuide::Context context{[] { return 4; }, [] { return QStringLiteral("Das Erste"); },
                                   [] { return QTime(20, 14); }};
        osd = std::make_unique<COsdGuide>(card, reception->Events(), context);
    }

    void Present(const TestEvent& event, std::uint8_t number = 0, std::uint8_t last = 1) {
        reception->TakeEventSection(Datagram(EitSectionBytes(0x4E, 28106, number, last, {event})));
    }
    std::vector<std::string> Writes() const { return card.CallsStartingWith("WriteText"); }

    CFakeDeviceSet card;
    int offset = 0, filterFailures = 0;
    std::int64_t nowMs = 0;
    std::unique_ptr<CGuideReception> reception;
    std::unique_ptr<COsdGuide> osd;
};

TEST_F(GuideOnCard, PresentEventShowsItsLocalStartOnTheShortInformation) {
    Present({});
    osd->Request(true, false, COsdGuide::ShortInfo);
    const auto writes = Writes();
    ASSERT_EQ(writes.size(), 3u);  // clock line, start, name
    EXPECT_NE(writes[0].find("\"20:14 [5] Das Erste\""), std::string::npos) << writes[0];
    EXPECT_NE(writes[1].find("\"13:45\""), std::string::npos) << writes[1];  // UTC+1
    EXPECT_NE(writes[2].find("\"Tagesschau\""), std::string::npos) << writes[2];
    EXPECT_FALSE(osd->Shown());
}

TEST_F(GuideOnCard, SummerOffsetMovesTheStartOneHour) {
    offset = 1;
    Present({});
    EXPECT_EQ(COsdGuide::PageHeading(reception->Events().Slot(0)),
              QStringLiteral("Mittwoch, 13.Oktober 1993 14:45, (90 Min)"));
}

TEST_F(GuideOnCard, BothSectionsInStopTheEventFilterOutsideTheCallback) {
    Present({});
    EXPECT_TRUE(card.CallsStartingWith("ShutDownFilter").empty());
    TestEvent next;
    next.id = 2;
    next.name = "Tatort";
    Present(next, 1);
    EXPECT_TRUE(card.CallsStartingWith("ShutDownFilter").empty());
    QCoreApplication::processEvents();
    EXPECT_EQ(card.CallsStartingWith("ShutDownFilter").size(), 1u);
    EXPECT_EQ(card.CallsStartingWith("CloseReceiver").size(), 1u);
}

TEST_F(GuideOnCard, FullPageWrapsTheTextsAndScrollsOnlyWhileShown) {
    TestEvent event;
    event.rating = 9;
    event.extended = std::string(30, 'a') + " " + std::string(30, 'b') + " " + std::string(30, 'c');
    Present(event);
    osd->Scroll(1);  // nothing is shown: nothing moves
    EXPECT_TRUE(Writes().empty());

    osd->ShowPage(COsdGuide::Present);
    EXPECT_TRUE(osd->Shown());
    auto writes = Writes();
    ASSERT_EQ(writes.size(), 6u);  // heading, name, text and three wrapped lines
    EXPECT_NE(writes[1].find("\"Tagesschau (FSK12)\""), std::string::npos) << writes[1];
    EXPECT_NE(writes[2].find("\"Nachrichten\""), std::string::npos) << writes[2];
    card.ClearLog();
    osd->Scroll(2);
    writes = Writes();
    ASSERT_EQ(writes.size(), 4u);
    EXPECT_NE(writes[2].find(std::string(30, 'b')), std::string::npos) << writes[2];
    card.ClearLog();
    osd->Scroll(-5);  // before the first line: nothing is redrawn
    EXPECT_TRUE(Writes().empty());
    osd->Toggle(COsdGuide::Present);
    EXPECT_FALSE(osd->Shown());
    EXPECT_EQ(card.CallsStartingWith("DestroyOSDWindow").size(), 4u);
}

TEST_F(GuideOnCard, EmptySlotSaysThereIsNoInformation) {
    osd->ShowPage(COsdGuide::Following);
    const auto writes = Writes();
    ASSERT_EQ(writes.size(), 1u);
    // The card's font is ISO 8859-1.
    EXPECT_NE(writes[0].find("Keine Informationen im DVB-Stream!"), std::string::npos);
}

TEST_F(GuideOnCard, ScheduleFilterSelectsTheServiceAndReloadsWhenTheListHoldsStill) {
    CProgramInfo program;
    program.Name = "Das Erste";
    program.ServiceId = 28106;
    program.TransportStreamId = 1101;
    program.OriginalNetworkId = 1;
    reception->StartSchedule(&program);
    const auto filters = card.CallsStartingWith("SetBitFilter");
    ASSERT_EQ(filters.size(), 1u);
    EXPECT_NE(filters[0].find("50 00 00 6D CA 00 00 00 4D 04 01 00 00 00"), std::string::npos)
        << filters[0];
    EXPECT_NE(filters[0].find("0F 00 00 FF FF 00"), std::string::npos) << filters[0];
    ASSERT_TRUE(card.ReceiverOpen(FilterRole::Schedule));

    QSignalSpy reloads(reception.get(), &CGuideReception::scheduleChanged);
    const auto section = EitSectionBytes(0x50, 28106, 0, 0, {TestEvent{}});
    card.Deliver(FilterRole::Schedule, section);  // the first record is shown at once
    EXPECT_EQ(reloads.count(), 1);
    ASSERT_EQ(reception->ScheduleRecords().size(), 1u);
    EXPECT_EQ(reception->ScheduleRecords()[0]->ServiceName, "Das Erste");

    reception->StopSchedule();
    EXPECT_FALSE(card.ReceiverOpen(FilterRole::Schedule));
}

TEST_F(GuideOnCard, RefusedScheduleFilterIsReported) {
    card.ScriptResult("SetBitFilter", 0);
    CProgramInfo program;
    reception->StartSchedule(&program);
    EXPECT_EQ(filterFailures, 1);
    reception->StartSchedule(nullptr);  // nothing tuned: nothing is set
    EXPECT_EQ(card.CallsStartingWith("SetBitFilter").size(), 1u);
}

}  // namespace
