#include "guide/windows/GuideCells.h"

#include "guide/CEPGInfo.h"
#include "guide/windows/GuideWindowTexts.h"

namespace T = GuideWindowTexts;

namespace {

QString Text(const std::string& utf8) { return QString::fromStdString(utf8); }

QString TwoDigits(int value) { return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0')); }

// 1899-12-30, day 0 of the stored times, was a Saturday.
const QString& WeekdayOf(const CivilDateTime& t) {
    const std::int64_t day = ArchiveDateTime::DayNumber(t.year, t.month, t.day);
    return T::Weekdays[((day + 6) % 7 + 7) % 7];
}

// "11.März 2024 20:15:00": the date and time both forms share.
QString DateAndTime(const CivilDateTime& t) {
    return QStringLiteral("%1.%2 %3 %4:%5:%6")
        .arg(TwoDigits(t.day), T::Months[t.month - 1], QString::number(t.year), TwoDigits(t.hour),
             TwoDigits(t.minute), TwoDigits(t.second));
}

}  // namespace

namespace GuideCells {

QString CategoryName(std::uint8_t contentHigh) {
    static const QString* const names[16] = {
        &T::CategoryOther,   &T::CategoryFilm,      &T::CategoryNews,    &T::CategoryShow,
        &T::CategorySport,   &T::CategoryChildren,  &T::CategoryMusic,   &T::CategoryArts,
        &T::CategorySociety, &T::CategoryEducation, &T::CategoryLeisure, &T::CategorySpecial,
        &T::CategoryOther,   &T::CategoryOther,     &T::CategoryOther,   &T::CategoryOther};
    return *names[contentHigh & 0x0F];
}

QString RowNumber(int item) { return QString::asprintf("% 3d", item + 1); }

QString ListStart(const ArchiveDateTime& time) {
    const auto civil = time.ToCivil();
    if (!civil) return {};
    return DateAndTime(*civil) + QStringLiteral(", ") + WeekdayOf(*civil);
}

QString DetailStart(const ArchiveDateTime& time) {
    const auto civil = time.ToCivil();
    if (!civil) return {};
    return WeekdayOf(*civil) + QStringLiteral(", ") + DateAndTime(*civil);
}

QString Duration(const CEPGInfo& record) { return T::DurationFormat.arg(record.DurationMinutes()); }

QString ListRating(std::uint8_t rating) {
    return rating == 0 ? T::RatingFree : T::RatingFormat.arg(int(rating) + 3);
}

QString DetailRating(std::uint8_t rating) {
    return rating == 0 ? T::RatingFree : QString::number(int(rating) + 3);
}

QString Cell(const CEPGInfo* record, int item, int column) {
    if (!record) return column == ColService ? T::UnknownService : QString();
    switch (column) {
        case ColNr:
            return RowNumber(item);
        case ColService:
            return Text(record->ServiceName);
        case ColStart:
            return ListStart(record->Start);
        case ColDuration:
            return Duration(*record);
        case ColEvent:
            return Text(record->EventName);
        case ColShortText:
            return Text(record->ShortText);
        case ColRating:
            return ListRating(record->ParentalRating);
        default:
            return {};
    }
}

QString WindowTitle(const std::vector<const CEPGInfo*>& records) {
    if (records.empty() || !records.front()) return T::TitleEmpty;
    return T::TitleFor.arg(Text(records.front()->ServiceName));
}

}  // namespace GuideCells
