// The present/following slots and the schedule list, fed decoded sections.
#include <gtest/gtest.h>

#include "guide/CEventSlots.h"
#include "guide/CScheduleList.h"

namespace {

EitEvent Named(std::uint16_t id, std::uint32_t startBcd, const std::string& name) {
    EitEvent e;
    e.eventId = id;
    e.mjd = 0xC079;  // 1993-10-13
    e.startBcd = startBcd;
    e.durationBcd = 0x004500;
    e.headerByte10 = 0x9D;  // running, bit 3 and low bits 5
    e.hasShortEvent = true;
    e.name = name;
    e.text = name + " (Text)";
    e.extendedText = name + " lang";
    e.contentNibbles = 0x34;
    e.parentalRating = 9;
    return e;
}

EitSection Section(std::uint8_t table, std::uint8_t number, std::uint8_t last,
                   std::vector<EitEvent> events) {
    EitSection s;
    s.tableId = table;
    s.serviceId = 28106;
    s.sectionNumber = number;
    s.lastSectionNumber = last;
    s.events = std::move(events);
    return s;
}

TEST(EventSlots, PresentThenFollowingFillsBothAndEndsTheReception) {
    CEventSlots slots;
    EitEvent unnamed = Named(1, 0x120000, "ohne");
    unnamed.hasShortEvent = false;
    EXPECT_FALSE(slots.Apply(Section(0x4E, 0, 1, {unnamed, Named(2, 0x124500, "Tagesschau")}), 1));
    EXPECT_EQ(slots.Filled(), 1);
    const EventSlot& now = slots.Slot(CEventSlots::kPresent);
    EXPECT_TRUE(now.valid);
    EXPECT_EQ(now.name, "Tagesschau");
    EXPECT_EQ(now.text, "Tagesschau (Text)");
    EXPECT_EQ(now.extendedText, "Tagesschau lang");
    EXPECT_EQ(now.start, ArchiveDateTime::FromCivil({1993, 10, 13, 14, 45, 0, 0}));
    EXPECT_EQ(now.duration.days, 45.0 / 1440);
    EXPECT_EQ(now.headerByte10, 0x9D);
    EXPECT_EQ(now.parentalRating, 9);
    EXPECT_EQ(now.contentHigh, 3);
    EXPECT_EQ(now.contentLow, 4);
    EXPECT_FALSE(slots.Slot(CEventSlots::kFollowing).valid);

    // A schedule section, a third section and a section without a named event change nothing.
    EXPECT_FALSE(slots.Apply(Section(0x50, 1, 1, {Named(3, 0x130000, "Plan")}), 1));
    EXPECT_FALSE(slots.Apply(Section(0x4E, 2, 2, {Named(4, 0x130000, "Drei")}), 1));
    EXPECT_FALSE(slots.Apply(Section(0x4E, 1, 1, {unnamed}), 1));
    EXPECT_EQ(slots.Filled(), 1);

    EXPECT_TRUE(slots.Apply(Section(0x4F, 1, 1, {Named(5, 0x133000, "Wetter")}), 1));
    EXPECT_EQ(slots.Slot(CEventSlots::kFollowing).name, "Wetter");
    EXPECT_TRUE(slots.Apply(Section(0x4E, 0, 1, {Named(6, 0x124500, "Neu")}), 1));
    EXPECT_EQ(slots.Filled(), 2) << "a slot filled again is counted once";
    EXPECT_EQ(slots.Slot(CEventSlots::kPresent).name, "Neu");

    slots.Reset();
    EXPECT_EQ(slots.Filled(), 0);
    const EventSlot& reset = slots.Slot(CEventSlots::kPresent);
    EXPECT_FALSE(reset.valid);
    EXPECT_EQ(reset.name, "");
    EXPECT_EQ(reset.start, CEPGInfo::DefaultStart());
    EXPECT_EQ(reset.duration.days, 0.0);
    // A table of one section is whole after it.
    EXPECT_TRUE(slots.Apply(Section(0x4E, 0, 0, {Named(7, 0x124500, "Allein")}), 0));
}

TEST(EventSlots, BadStartKeepsTheSlotsStart) {
    CEventSlots slots;
    slots.Apply(Section(0x4E, 0, 1, {Named(1, 0x124500, "a")}), 0);
    slots.Apply(Section(0x4E, 0, 1, {Named(2, 0x99AA00, "b")}), 0);
    EXPECT_EQ(slots.Slot(0).name, "b");
    EXPECT_EQ(slots.Slot(0).start, ArchiveDateTime::FromCivil({1993, 10, 13, 13, 45, 0, 0}));
}

CProgramInfo Program() {
    CProgramInfo p;
    p.Name =
        "BR Fernsehen S\xFC"
        "d";  // Windows-1252
    p.ServiceId = 28106;
    p.Streams.resize(3);
    return p;
}

TEST(ScheduleList, OneRecordPerStartFilledFromTheLatestEvent) {
    CScheduleList list;
    list.Start(Program());
    EXPECT_EQ(list.Program().Streams.size(), 3u);
    EitEvent unnamed = Named(9, 0x150000, "ohne");
    unnamed.hasShortEvent = false;
    list.Apply(
        Section(0x50, 0, 7, {Named(1, 0x124500, "Eins"), Named(2, 0x133000, "Zwei"), unnamed}), 0,
        1000);
    ASSERT_EQ(list.Records().size(), 2u);
    EXPECT_EQ(list.LastSectionNumber(), 7);
    const CEPGInfo& first = *list.Records()[0];
    EXPECT_EQ(first.ServiceName, "BR Fernsehen Süd");
    EXPECT_EQ(first.Program.Name, Program().Name);
    EXPECT_TRUE(first.Program.Streams.empty());
    EXPECT_EQ(first.EventName, "Eins");
    EXPECT_EQ(first.ShortText, "Eins (Text)");
    EXPECT_EQ(first.Description, "Eins lang");
    EXPECT_EQ(first.Start, ArchiveDateTime::FromCivil({1993, 10, 13, 13, 45, 0, 0}));
    EXPECT_EQ(first.DurationMinutes(), 45);
    EXPECT_EQ(first.ContentHigh, 3);
    EXPECT_EQ(first.ContentLow, 4);
    EXPECT_EQ(first.ParentalRating, 9);
    EXPECT_EQ(first.HeaderBit3, 1u);
    EXPECT_EQ(first.HeaderLow3, 5);

    // Same start from the present/following table: the record is updated, not added.
    list.Apply(Section(0x4E, 0, 1, {Named(77, 0x124500, "Eins neu")}), 0, 1100);
    ASSERT_EQ(list.Records().size(), 2u);
    EXPECT_EQ(list.Records()[0]->EventName, "Eins neu");

    // Another service is not taken.
    EitSection other = Section(0x50, 0, 3, {Named(5, 0x170000, "Fremd")});
    other.serviceId = 1;
    EXPECT_FALSE(list.Apply(other, 0, 1200));
    EXPECT_EQ(list.Records().size(), 2u);
    EXPECT_EQ(list.LastSectionNumber(), 1);

    // Starts that fail the range check share the record of the default start.
    list.Apply(Section(0x50, 1, 7, {Named(3, 0x250000, "X"), Named(4, 0xFFFFFF, "Y")}), 0, 1300);
    ASSERT_EQ(list.Records().size(), 3u);
    EXPECT_EQ(list.Records()[2]->Start, CEPGInfo::DefaultStart());
    EXPECT_EQ(list.Records()[2]->EventName, "Y");

    list.Start(Program());
    EXPECT_TRUE(list.Records().empty());
    EXPECT_EQ(list.LastSectionNumber(), 0);
}

TEST(ScheduleList, ReloadForTheFirstRecordsAndOnceWhenTheListHeldStillForFiveSeconds) {
    CScheduleList list;
    list.Start(Program());
    const EitSection a = Section(0x50, 0, 0, {Named(1, 0x120000, "a")});
    const EitSection b = Section(0x50, 0, 0, {Named(2, 0x130000, "b")});
    EXPECT_TRUE(list.Apply(a, 0, 10'000));   // the first record: show it
    EXPECT_FALSE(list.Apply(a, 0, 12'000));  // the carousel repeats it
    EXPECT_FALSE(list.Apply(b, 0, 14'000));  // grew: 2 noted at 14 s
    EXPECT_FALSE(list.Apply(a, 0, 16'000));
    EXPECT_FALSE(list.Apply(b, 0, 19'000));  // 5 s, not more
    EXPECT_TRUE(list.Apply(a, 0, 19'001));   // held still: complete
    EXPECT_FALSE(list.Apply(b, 0, 30'000)) << "the same state is reported once";
    const EitSection c = Section(0x50, 0, 0, {Named(3, 0x140000, "c"), Named(1, 0x120000, "a")});
    EXPECT_FALSE(list.Apply(c, 0, 40'000));
    EXPECT_TRUE(list.Apply(c, 0, 45'001));
    list.Start(Program());
    EXPECT_TRUE(list.Apply(a, 0, 50'000)) << "a new reception shows its first records at once";
}

TEST(ScheduleList, ManyEventsKeepOneRecordEach) {
    CScheduleList list;
    list.Start(Program());
    std::vector<EitEvent> events;
    for (int day = 0; day < 30; ++day)
        for (int hour = 0; hour < 24; ++hour)
            for (int quarter = 0; quarter < 4; ++quarter) {
                EitEvent e =
                    Named(std::uint16_t(events.size()),
                          std::uint32_t((hour / 10) << 20 | (hour % 10) << 16 |
                                        (quarter * 15 / 10) << 12 | (quarter * 15 % 10) << 8),
                          "e");
                e.mjd = std::uint16_t(0xC079 + day);
                events.push_back(e);
            }
    const EitSection all = Section(0x50, 0, 0, events);
    list.Apply(all, 0, 0);
    list.Apply(all, 1, 0);  // an hour later: only the last hour's starts are new
    EXPECT_EQ(list.Records().size(), events.size() + 4);
    EXPECT_EQ(list.Records()[events.size() + 3]->Start,
              ArchiveDateTime::FromCivil({1993, 11, 12, 1, 45, 0, 0}));
}

}  // namespace
