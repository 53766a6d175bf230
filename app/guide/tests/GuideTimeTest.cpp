// The guide's local event times and durations.
#include <gtest/gtest.h>

#include "guide/CEPGInfo.h"
#include "guide/GuideTime.h"

namespace {

CivilDateTime Local(std::uint16_t mjd, std::uint32_t bcd, int offset) {
    ArchiveDateTime t;
    EXPECT_TRUE(EventStartLocal(mjd, bcd, offset, t));
    EXPECT_EQ(t.status, ArchiveDateTime::Valid);
    return t.ToCivil().value_or(CivilDateTime{});
}

TEST(GuideTime, StartIsUtcPlusOneHourPlusTheUsersOffset) {
    EXPECT_EQ(Local(0xC079, 0x124500, 0), (CivilDateTime{1993, 10, 13, 13, 45, 0, 0}));
    EXPECT_EQ(Local(0xC079, 0x124500, 1), (CivilDateTime{1993, 10, 13, 14, 45, 0, 0}));
    // The shift runs over midnight both ways and over the end of the year.
    EXPECT_EQ(Local(0xC079, 0x233000, 1), (CivilDateTime{1993, 10, 14, 1, 30, 0, 0}));
    EXPECT_EQ(Local(0xC079, 0x003015, -3), (CivilDateTime{1993, 10, 12, 22, 30, 15, 0}));
    EXPECT_EQ(Local(0xC0C8, 0x233000, 0), (CivilDateTime{1994, 1, 1, 0, 30, 0, 0}));
    ArchiveDateTime a, b;
    ASSERT_TRUE(EventStartLocal(0xC079, 0x124500, 0, a));
    b = ArchiveDateTime::FromCivil({1993, 10, 13, 13, 45, 0, 0});
    EXPECT_EQ(a, b);  // the very days FromCivil gives: records compare starts by them
}

TEST(GuideTime, ImpossibleStartsLeaveTheTargetAlone) {
    const ArchiveDateTime before = CEPGInfo::DefaultStart();
    for (const auto& [mjd, bcd] : {std::pair<std::uint16_t, std::uint32_t>{0xC079, 0x12A500},
                                   {0xC079, 0x240000},
                                   {0xC079, 0x126000},
                                   {0xC079, 0x120060},
                                   {0xC079, 0xFFFFFF},
                                   {0x0000, 0x120000},     // 1858
                                   {0x3AAA, 0x120000}}) {  // 1899
        ArchiveDateTime t = before;
        EXPECT_FALSE(EventStartLocal(mjd, bcd, 0, t)) << std::hex << mjd << " " << bcd;
        EXPECT_EQ(t, before);
    }
}

TEST(GuideTime, DurationInDays) {
    CEPGInfo info;
    info.Duration = DurationDays(0x013000);
    EXPECT_EQ(info.Duration.status, ArchiveDateTime::Valid);
    EXPECT_EQ(info.DurationMinutes(), 90);
    info.Duration = DurationDays(0x000459);
    EXPECT_EQ(info.DurationMinutes(), 4);
    EXPECT_EQ(DurationDays(0x0A0000).days, 0.0);
    EXPECT_EQ(DurationDays(0x006000).days, 0.0);
    EXPECT_EQ(DurationDays(0x250000).days, 25.0 / 24.0);
}

}  // namespace
