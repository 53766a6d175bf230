#include "guide/GuideTime.h"

#include <optional>

#include "mpegts/DvbTime.h"

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

// Two BCD digits; nothing for a digit above 9.
std::optional<int> TwoDigits(std::uint32_t bcd) {
    const std::uint32_t high = bcd >> 4 & 0xF, low = bcd & 0xF;
    if (high > 9 || low > 9) return std::nullopt;
    return int(high * 10 + low);
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - (a % b < 0 ? 1 : 0); }

}  // namespace

bool EventStartLocal(std::uint16_t mjd, std::uint32_t startBcd, int offsetHours,
                     ArchiveDateTime& target) {
    const auto hour = TwoDigits(startBcd >> 16 & 0xFF);
    const auto minute = TwoDigits(startBcd >> 8 & 0xFF);
    const auto second = TwoDigits(startBcd & 0xFF);
    if (!hour || !minute || !second || *hour > 23 || *minute > 59 || *second > 59) return false;
    const mpegts::Date utcDate = mpegts::DateFromMjd(mjd);
    if (utcDate.year < 1900 || utcDate.year > 2100) return false;
    // The shift to local time may move the date; it is done on the MJD.
    const std::int64_t seconds = (*hour * 60 + *minute) * 60 + *second + kGuideZoneSeconds +
                                 std::int64_t(offsetHours) * 3600;
    const std::int64_t day = FloorDiv(seconds, kSecondsPerDay);
    const std::int64_t inDay = seconds - day * kSecondsPerDay;
    const mpegts::Date date = mpegts::DateFromMjd(std::uint32_t(std::int64_t(mjd) + day));
    target = ArchiveDateTime::FromCivil({date.year, date.month, date.day, int(inDay / 3600),
                                         int(inDay / 60 % 60), int(inDay % 60), 0});
    return true;
}

ArchiveDateTime DurationDays(std::uint32_t durationBcd) {
    const auto seconds = mpegts::DurationFromBcd(durationBcd);
    return {ArchiveDateTime::Valid, seconds ? double(*seconds) / double(kSecondsPerDay) : 0.0};
}
