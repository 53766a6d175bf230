#include <gtest/gtest.h>

#include "mpegts/DvbTime.h"

using namespace mpegts;

namespace {

// The conversion formulas of ETSI EN 300 468 annex C, valid 1900-03-01 to 2100-02-28.
Date AnnexDate(std::uint32_t mjd) {
    const int y1 = int((mjd - 15078.2) / 365.25);
    const int m1 = int((mjd - 14956.1 - int(y1 * 365.25)) / 30.6001);
    const int d = int(mjd) - 14956 - int(y1 * 365.25) - int(m1 * 30.6001);
    const int k = (m1 == 14 || m1 == 15) ? 1 : 0;
    return {1900 + y1 + k, m1 - 1 - k * 12, d};
}

}  // namespace

TEST(DvbTimeTest, AnnexExamplesAndTheAnnexFormulasOverTheWholeField) {
    EXPECT_EQ(DateFromMjd(45218), (Date{1982, 9, 6}));
    EXPECT_EQ(MjdFromDate({1982, 9, 6}), 45218u);
    EXPECT_EQ(WeekDayFromMjd(45218), 1);  // a Monday
    EXPECT_EQ(DateFromMjd(0xC079), (Date{1993, 10, 13}));
    EXPECT_EQ(DateFromMjd(kMjdOfEpoch), (Date{1970, 1, 1}));
    EXPECT_EQ(DateFromMjd(51603), (Date{2000, 2, 29}));
    EXPECT_EQ(DateFromMjd(0xFFFF), (Date{2038, 4, 22}));
    for (std::uint32_t mjd = 15079; mjd <= 0xFFFF; ++mjd) {
        const Date d = DateFromMjd(mjd);
        ASSERT_EQ(d, AnnexDate(mjd)) << mjd;
        ASSERT_EQ(MjdFromDate(d), mjd);
    }
}

TEST(DvbTimeTest, BcdTimesAndDurations) {
    EXPECT_EQ(TimeFromBcd(0x124500), (TimeOfDay{12, 45, 0}));
    EXPECT_EQ(TimeFromBcd(0x235960), (TimeOfDay{23, 59, 60}));  // leap second
    struct Bad {
        std::uint32_t bcd;
        const char* why;
    } bad[] = {{0x240000, "hour 24"},
               {0x126000, "minute 60"},
               {0x12A500, "digit A"},
               {0x123461, "second 61"},
               {0xFFFFFF, "undefined"}};
    for (const auto& b : bad) EXPECT_FALSE(TimeFromBcd(b.bcd)) << b.why;

    EXPECT_EQ(DurationFromBcd(0x013000), 5400u);
    EXPECT_EQ(DurationFromBcd(0x995959), 99u * 3600 + 59 * 60 + 59);
    EXPECT_FALSE(DurationFromBcd(0x006000));
    EXPECT_EQ(DurationToBcd(5400), 0x013000u);
    EXPECT_EQ(DurationToBcd(100 * 3600 + 1), 0x000001u);  // only two hour digits
}

TEST(DvbTimeTest, UtcFieldAndSecondsSinceTheEpoch) {
    // 93/10/13 12:45:00, the TDT example of EN 300 468.
    EXPECT_EQ(UnixToUtc(750516300), 0xC079124500ull);
    EXPECT_EQ(UtcToUnix(0xC079124500ull), 750516300);
    EXPECT_EQ(UnixToUtc(0), std::uint64_t(kMjdOfEpoch) << 24);
    EXPECT_EQ(UnixToUtc(-1), std::uint64_t(kMjdOfEpoch - 1) << 24 | 0x235959);
    for (std::int64_t t : {std::int64_t(0), std::int64_t(951782399), std::int64_t(1700000000),
                           std::int64_t(2147483647)}) {
        EXPECT_EQ(UtcToUnix(UnixToUtc(t)), t) << t;
    }
    EXPECT_FALSE(UtcToUnix(kUndefinedUtc));
    EXPECT_FALSE(UtcToUnix(0xC0791245A0ull));
}
