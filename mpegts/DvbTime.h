// Dates and times as DVB tables carry them (ETSI EN 300 468, annex C): a 16-bit
// Modified Julian Date and the time of day (UTC) or a duration as six BCD
// digits hhmmss. The 40-bit form of TDT, TOT and EIT start times is the MJD in
// the top 16 bits and the BCD time in the low 24.
#pragma once

#include <cstdint>
#include <optional>

namespace mpegts {

struct Date {
    int year = 0;   // e.g. 1993
    int month = 0;  // 1-12
    int day = 0;    // 1-31
    bool operator==(const Date&) const = default;
};

struct TimeOfDay {
    int hour = 0;
    int minute = 0;
    int second = 0;
    bool operator==(const TimeOfDay&) const = default;
};

// The MJD of 1970-01-01, the start of the seconds since the epoch.
constexpr std::uint32_t kMjdOfEpoch = 40587;
// A start time of all ones means "undefined" in an EIT.
constexpr std::uint64_t kUndefinedUtc = 0xFFFFFFFFFFull;

// Gregorian calendar (exact for every 16-bit MJD, 1858-11-17 to 2038-04-22).
Date DateFromMjd(std::uint32_t mjd);
std::uint32_t MjdFromDate(const Date& date);
// 1 Monday ... 7 Sunday.
int WeekDayFromMjd(std::uint32_t mjd);

// Six BCD digits hhmmss; nothing for a digit above 9 or a time of day past
// 23:59:59 (a leap second 60 is accepted).
std::optional<TimeOfDay> TimeFromBcd(std::uint32_t bcd24);
// Duration hhmmss (up to 99:59:59) in seconds.
std::optional<std::uint32_t> DurationFromBcd(std::uint32_t bcd24);
// Seconds as hhmmss BCD; hours beyond 99 keep their low two digits.
std::uint32_t DurationToBcd(std::uint32_t seconds);

// The 40-bit UTC field and seconds since 1970-01-01 00:00:00 UTC. Encoding
// keeps the low 16 bits of the MJD, as the field does after 2038-04-22.
std::optional<std::int64_t> UtcToUnix(std::uint64_t utc40);
std::uint64_t UnixToUtc(std::int64_t seconds);

}  // namespace mpegts
