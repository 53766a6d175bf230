#include "channellist/ArchiveDateTime.h"

#include <bit>
#include <cmath>

#include "channellist/CArchiveReader.h"
#include "channellist/CArchiveWriter.h"

namespace {

constexpr double kMsPerDay = 86400000.0;
constexpr std::int64_t kMsPerDayInt = 86400000;
// Days beyond which no date of use lies (about the year 11000).
constexpr double kLimitDays = 3.3e6;
// Days from 0000-03-01 (proleptic Gregorian) to 1899-12-30.
constexpr std::int64_t kEpochFromEra = 693899;

// Days since 0000-03-01 of a date (the civil-from-days algorithm's inverse).
std::int64_t DaysFromCivil(std::int64_t y, int m, int d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe;
}

void CivilFromDays(std::int64_t z, CivilDateTime& out) {
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    out.day = int(doy - (153 * mp + 2) / 5 + 1);
    out.month = int(mp < 10 ? mp + 3 : mp - 9);
    out.year = int(yoe + era * 400 + (out.month <= 2));
}

}  // namespace

ArchiveDateTime ArchiveDateTime::Read(CArchiveReader& in) {
    ArchiveDateTime t;
    t.status = in.ReadI32();
    const std::uint32_t low = in.ReadU32();
    const std::uint32_t high = in.ReadU32();
    t.days = std::bit_cast<double>(std::uint64_t(high) << 32 | low);
    return t;
}

void ArchiveDateTime::Write(CArchiveWriter& out) const {
    out.WriteI32(status);
    const auto bits = std::bit_cast<std::uint64_t>(days);
    out.WriteU32(std::uint32_t(bits));
    out.WriteU32(std::uint32_t(bits >> 32));
}

std::int64_t ArchiveDateTime::DayNumber(int year, int month, int day) {
    return DaysFromCivil(year, month, day) - kEpochFromEra;
}

ArchiveDateTime ArchiveDateTime::FromCivil(const CivilDateTime& time) {
    const std::int64_t wholeDays = DayNumber(time.year, time.month, time.day);
    const std::int64_t ms =
        ((time.hour * 60 + time.minute) * 60 + time.second) * 1000LL + time.millisecond;
    const double fraction = double(ms) / kMsPerDay;
    const double days =
        wholeDays >= 0 ? double(wholeDays) + fraction : double(wholeDays) - fraction;
    return {Valid, days};
}

std::optional<CivilDateTime> ArchiveDateTime::ToCivil() const {
    if (status != Valid || !std::isfinite(days) || std::abs(days) > kLimitDays) return {};
    const double whole = std::trunc(days);
    std::int64_t ms = std::llround(std::abs(days - whole) * kMsPerDay);
    std::int64_t dayCount = std::int64_t(whole);
    if (ms >= kMsPerDayInt) {  // rounded up to the next midnight: the next day
        ms = 0;
        ++dayCount;
    }
    CivilDateTime out;
    CivilFromDays(dayCount + kEpochFromEra, out);
    out.millisecond = int(ms % 1000);
    out.second = int(ms / 1000 % 60);
    out.minute = int(ms / 60000 % 60);
    out.hour = int(ms / 3600000);
    return out;
}
