#include "recording/ArchiveDateTime.h"

#include <bit>
#include <cmath>

#include "channellist/CArchiveReader.h"
#include "channellist/CArchiveWriter.h"

namespace {

const QDateTime& Epoch() {
    static const QDateTime epoch(QDate(1899, 12, 30), QTime(0, 0));
    return epoch;
}

constexpr double kMsPerDay = 86400000.0;
// Days beyond which no QDateTime of use lies (about the year 11000).
constexpr double kLimitDays = 3.3e6;

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

ArchiveDateTime ArchiveDateTime::FromLocal(const QDateTime& time) {
    if (!time.isValid()) return {};
    // Whole days by the calendar, the time of day as the fraction, whatever
    // the daylight-saving changes in between.
    const qint64 wholeDays = Epoch().date().daysTo(time.date());
    const double fraction = double(time.time().msecsSinceStartOfDay()) / kMsPerDay;
    // Before the epoch the fraction counts forward from the day's start too,
    // as in the stored form: -1.25 is 1899-12-29 06:00.
    const double days =
        wholeDays >= 0 ? double(wholeDays) + fraction : double(wholeDays) - fraction;
    return {Valid, days};
}

QDateTime ArchiveDateTime::ToLocal() const {
    if (status != Valid || !std::isfinite(days) || std::abs(days) > kLimitDays) return {};
    const double whole = std::trunc(days);
    const double fraction = std::abs(days - whole);
    qint64 ms = std::llround(fraction * kMsPerDay);
    qint64 dayCount = qint64(whole);
    if (ms >= qint64(kMsPerDay)) {  // rounded up to the next midnight: the next day
        ms = 0;
        ++dayCount;
    }
    return QDateTime(Epoch().date().addDays(dayCount), QTime::fromMSecsSinceStartOfDay(int(ms)));
}
