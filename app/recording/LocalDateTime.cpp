#include "recording/LocalDateTime.h"

namespace LocalDateTime {

ArchiveDateTime FromLocal(const QDateTime& time) {
    if (!time.isValid()) return {};
    const QDate d = time.date();
    const QTime t = time.time();
    return ArchiveDateTime::FromCivil(
        {d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second(), t.msec()});
}

QDateTime ToLocal(const ArchiveDateTime& time) {
    const auto civil = time.ToCivil();
    if (!civil) return {};
    return QDateTime(QDate(civil->year, civil->month, civil->day),
                     QTime(civil->hour, civil->minute, civil->second, civil->millisecond));
}

}  // namespace LocalDateTime
