// The timer list's operations: adding from the dialog and from the VCR's
// quick recording (both saved), editing, deleting, the guide's entry, and
// the warning about two timers on different transponders at the same time.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "channellist/AtomicFile.h"
#include "recording/CTimerList.h"
#include "recording/TimerOverlap.h"

namespace {

struct Messages : IRecordingMessages {
    QStringList shown;
    void ShowError(const QString& caption, const QString& text) override {
        shown << caption + " | " + text;
    }
};

CProgramInfo Program(const char* name, std::int32_t frequency) {
    CProgramInfo p;
    p.Name = name;
    p.Frequency = frequency;
    p.LnbName = "Astra";
    p.Streams.resize(3);
    return p;
}

QDateTime At(int day, int h, int m) { return QDateTime(QDate(2024, 3, day), QTime(h, m)); }

CTimerEntry Timer(const CProgramInfo& program, QDateTime start, QDateTime end,
                  std::uint32_t flags = 0) {
    CTimerEntry e;
    e.program = program;
    e.Apply({start, end, "x.pva", 3, flags});
    return e;
}

class TimerListTest : public ::testing::Test {
  protected:
    std::string Path() const { return dir_.filePath("Timer.dat").toStdString(); }
    CTIMERFile OnDisk() const {
        std::vector<std::uint8_t> bytes;
        CTIMERFile file;
        EXPECT_TRUE(ReadWholeFile(Path(), bytes, nullptr) && file.Load(bytes));
        return file;
    }
    QTemporaryDir dir_;
    Messages messages_;
    CTimerList list_{Path(), messages_};
    const CProgramInfo erste_ = Program("Das Erste", 11836000);
    const CProgramInfo zdf_ = Program("ZDF", 11953000);
};

TEST_F(TimerListTest, AddingFromTheDialogAndTheQuickRecordingSaves) {
    list_.Add(erste_, {At(4, 20, 15), At(4, 21, 0), "/v/tatort.pva", 2, CTimerEntry::kPowerOff});
    const CTIMERFile first = OnDisk();
    ASSERT_EQ(first.entries.size(), 1u);
    const CTimerEntry& e = first.entries[0];
    EXPECT_EQ(e.program, erste_);
    EXPECT_EQ(e.program.Streams.size(), 3u);
    EXPECT_EQ(e.status, CTimerEntry::Armed);
    EXPECT_EQ(e.Settings(), (TimerSettings{At(4, 20, 15), At(4, 21, 0), "/v/tatort.pva", 2,
                                           CTimerEntry::kPowerOff}));

    const QDateTime now(QDate(2024, 2, 29), QTime(23, 59, 58, 750));
    list_.AddQuickRecording(zdf_, "/v/QUICKREC-29022024-235958.psa", 1, now);
    const CTIMERFile second = OnDisk();
    ASSERT_EQ(second.entries.size(), 2u);
    const CTimerEntry& q = second.entries[1];
    EXPECT_EQ(q.program, zdf_);
    EXPECT_EQ(q.Start(), QDateTime(QDate(2024, 2, 29), QTime(23, 59, 58)));
    EXPECT_EQ(q.End(), QDateTime(QDate(2025, 2, 28), QTime(23, 59, 58)));
    EXPECT_EQ(q.formatIndex, 0);
    EXPECT_EQ(q.flags, 0u);
    EXPECT_EQ(q.status, CTimerEntry::Armed);
    EXPECT_TRUE(messages_.shown.isEmpty());
}

TEST_F(TimerListTest, EditingArmsAgainUnlessRecordingAndDeletingTakesTheSelection) {
    for (int i = 0; i < 4; ++i) list_.Add(erste_, {At(4, 20, i), At(4, 21, 0), "a", 3, 0});
    auto& entries = list_.Entries();
    entries[0].status = CTimerEntry::Finished;
    entries[1].status = CTimerEntry::Recording;
    const TimerSettings changed{At(5, 8, 0), At(5, 9, 0), "b.mp2", 1, CTimerEntry::kWeekly};
    list_.Edit(0, changed);
    list_.Edit(1, changed);
    list_.Edit(9, changed);  // gone
    EXPECT_EQ(entries[0].Settings(), changed);
    EXPECT_EQ(entries[0].status, CTimerEntry::Armed);
    EXPECT_EQ(entries[1].status, CTimerEntry::Recording);

    list_.Delete({3, 0, 3, 7});
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].status, CTimerEntry::Recording);
    EXPECT_EQ(entries[1].Start().time(), QTime(20, 2));
    list_.DeleteAll();
    EXPECT_TRUE(entries.empty());
}

TEST_F(TimerListTest, GuideEntriesTakeTheEventWithASafeFileName) {
    const CTimerEntry e = CTimerList::GuideEntry(erste_, "Tatort: A/B\tC", At(10, 20, 15), 90 * 60);
    EXPECT_EQ(e.Start(), At(10, 20, 15));
    EXPECT_EQ(e.End(), At(10, 21, 45));
    EXPECT_EQ(e.fileName, "Tatort: A_B_C.pva");
    EXPECT_EQ(e.formatIndex, 3);
    EXPECT_EQ(e.program, erste_);
}

TEST_F(TimerListTest, OverlapsCountOnlyOnAnotherTransponder) {
    // Monday 4 March 2024, 20:15 to 21:45 on Das Erste.
    list_.Entries().push_back(Timer(erste_, At(4, 20, 15), At(4, 21, 45)));
    EXPECT_EQ(list_.FindConflict(Timer(zdf_, At(4, 21, 0), At(4, 22, 0)), -1), &list_.Entries()[0]);
    EXPECT_EQ(list_.FindConflict(Timer(zdf_, At(4, 21, 45), At(4, 22, 0)), -1), nullptr)
        << "one ends when the other starts";
    EXPECT_EQ(list_.FindConflict(Timer(zdf_, At(4, 21, 0), At(4, 22, 0)), 0), nullptr)
        << "its own entry";
    CProgramInfo sameTransponder = erste_;
    sameTransponder.Name = "One";
    EXPECT_EQ(list_.FindConflict(Timer(sameTransponder, At(4, 21, 0), At(4, 22, 0)), -1), nullptr);
    CProgramInfo otherLnb = erste_;
    otherLnb.LnbName = "Hotbird";
    EXPECT_NE(list_.FindConflict(Timer(otherLnb, At(4, 21, 0), At(4, 22, 0)), -1), nullptr);

    // Weekly by weekday and time of day, whatever their dates.
    const std::uint32_t monday = CTimerEntry::kWeekly | CTimerEntry::DayBit(Qt::Monday);
    const std::uint32_t tuesday = CTimerEntry::kWeekly | CTimerEntry::DayBit(Qt::Tuesday);
    const CTimerEntry weeklyMonday = Timer(zdf_, At(1, 21, 0), At(1, 22, 0), monday);
    EXPECT_TRUE(TimerOverlap::SpansOverlap(weeklyMonday, list_.Entries()[0]));
    EXPECT_FALSE(TimerOverlap::SpansOverlap(Timer(zdf_, At(1, 21, 0), At(1, 22, 0), tuesday),
                                            list_.Entries()[0]));
    EXPECT_TRUE(TimerOverlap::SpansOverlap(
        weeklyMonday, Timer(erste_, At(20, 21, 30), At(20, 23, 0), monday | tuesday)));
    EXPECT_FALSE(TimerOverlap::SpansOverlap(weeklyMonday,
                                            Timer(erste_, At(20, 22, 0), At(20, 23, 0), monday)));

    EXPECT_EQ(
        TimerOverlap::WarningText(Timer(zdf_, At(4, 21, 0), At(4, 22, 0)), list_.Entries()[0]),
        "Achtung - der Timer für „ZDF 04.03.2024 21:00“ überschneidet sich mit dem Timer "
        "für „Das Erste 04.03.2024 20:15“ auf einem anderen Transponder.\nDie Karte hat nur "
        "einen Empfänger: nur eine der beiden Aufnahmen ist möglich.");
}

}  // namespace
