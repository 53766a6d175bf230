#include "DvbTime.h"

namespace mpegts {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

std::optional<std::uint32_t> Digits(std::uint32_t bcd, int count) {
    std::uint32_t v = 0;
    for (int i = count - 1; i >= 0; --i) {
        const std::uint32_t d = bcd >> (4 * i) & 0xFu;
        if (d > 9) return std::nullopt;
        v = v * 10 + d;
    }
    return v;
}

std::uint32_t ToBcd2(std::uint32_t v) { return (v / 10 % 10) << 4 | v % 10; }

// Days since 1970-01-01 of a Gregorian date, and back (eras of 400 years).
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

Date CivilFromDays(std::int64_t z) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2);
    return {static_cast<int>(y), static_cast<int>(m), static_cast<int>(d)};
}

}  // namespace

Date DateFromMjd(std::uint32_t mjd) {
    return CivilFromDays(static_cast<std::int64_t>(mjd) - kMjdOfEpoch);
}

std::uint32_t MjdFromDate(const Date& date) {
    return static_cast<std::uint32_t>(DaysFromCivil(date.year, static_cast<unsigned>(date.month),
                                                    static_cast<unsigned>(date.day)) +
                                      kMjdOfEpoch);
}

int WeekDayFromMjd(std::uint32_t mjd) { return static_cast<int>((mjd + 2) % 7) + 1; }

std::optional<TimeOfDay> TimeFromBcd(std::uint32_t bcd24) {
    const auto h = Digits(bcd24 >> 16 & 0xFF, 2);
    const auto m = Digits(bcd24 >> 8 & 0xFF, 2);
    const auto s = Digits(bcd24 & 0xFF, 2);
    if (!h || !m || !s || *h > 23 || *m > 59 || *s > 60) return std::nullopt;
    return TimeOfDay{static_cast<int>(*h), static_cast<int>(*m), static_cast<int>(*s)};
}

std::optional<std::uint32_t> DurationFromBcd(std::uint32_t bcd24) {
    const auto h = Digits(bcd24 >> 16 & 0xFF, 2);
    const auto m = Digits(bcd24 >> 8 & 0xFF, 2);
    const auto s = Digits(bcd24 & 0xFF, 2);
    if (!h || !m || !s || *m > 59 || *s > 59) return std::nullopt;
    return *h * 3600 + *m * 60 + *s;
}

std::uint32_t DurationToBcd(std::uint32_t seconds) {
    return ToBcd2(seconds / 3600) << 16 | ToBcd2(seconds / 60 % 60) << 8 | ToBcd2(seconds % 60);
}

std::optional<std::int64_t> UtcToUnix(std::uint64_t utc40) {
    if ((utc40 & kUndefinedUtc) == kUndefinedUtc) return std::nullopt;
    const auto time = TimeFromBcd(static_cast<std::uint32_t>(utc40 & 0xFFFFFF));
    if (!time) return std::nullopt;
    const std::int64_t days = static_cast<std::int64_t>(utc40 >> 24 & 0xFFFF) - kMjdOfEpoch;
    return days * kSecondsPerDay + time->hour * 3600 + time->minute * 60 + time->second;
}

std::uint64_t UnixToUtc(std::int64_t seconds) {
    std::int64_t days = seconds / kSecondsPerDay;
    std::int64_t rest = seconds % kSecondsPerDay;
    if (rest < 0) {
        rest += kSecondsPerDay;
        --days;
    }
    const std::uint64_t mjd = static_cast<std::uint64_t>(days + kMjdOfEpoch) & 0xFFFFu;
    const std::uint32_t secs = static_cast<std::uint32_t>(rest);
    return mjd << 24 | DurationToBcd(secs);
}

}  // namespace mpegts
