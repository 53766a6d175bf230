#include "recording/TimerOverlap.h"

#include <utility>
#include <vector>

#include "recording/TimerTexts.h"

namespace {

using Span = std::pair<QDateTime, QDateTime>;

// Weekly timers are laid out from the day before `from` over the next eight
// days: every weekday comes up at least once, and a span that started the
// evening before is there too.
constexpr int kDaysBefore = 1, kDaysAfter = 8;

std::vector<Span> Spans(const CTimerEntry& e, QDate from) {
    const QDateTime start = e.Start(), end = e.End();
    if (!start.isValid() || !end.isValid()) return {};
    if (!e.Weekly()) return {{start, end}};
    std::vector<Span> spans;
    for (QDate d = from.addDays(-kDaysBefore); d <= from.addDays(kDaysAfter); d = d.addDays(1)) {
        if ((e.flags & CTimerEntry::DayBit(d.dayOfWeek())) == 0) continue;
        const QDateTime s(d, start.time());
        QDateTime t(d, end.time());
        if (t <= s) t = t.addDays(1);  // runs past midnight
        spans.emplace_back(s, t);
    }
    return spans;
}

QString Describe(const CTimerEntry& e) {
    return e.ProgramName() + QLatin1Char(' ') +
           e.Start().toString(QStringLiteral("dd.MM.yyyy hh:mm"));
}

}  // namespace

namespace TimerOverlap {

bool SameTransponder(const CProgramInfo& a, const CProgramInfo& b) {
    return a.Frequency == b.Frequency && a.PolarisationOrQam == b.PolarisationOrQam &&
           a.LnbName == b.LnbName && a.OriginalNetworkId == b.OriginalNetworkId &&
           a.TransportStreamId == b.TransportStreamId;
}

bool SpansOverlap(const CTimerEntry& a, const CTimerEntry& b) {
    const CTimerEntry& anchor = a.Weekly() ? b : a;
    const QDate from = anchor.Start().date();
    if (!from.isValid()) return false;
    for (const Span& x : Spans(a, from))
        for (const Span& y : Spans(b, from))
            if (x.first < y.second && y.first < x.second) return true;
    return false;
}

bool Conflict(const CTimerEntry& a, const CTimerEntry& b) {
    return !SameTransponder(a.program, b.program) && SpansOverlap(a, b);
}

QString WarningText(const CTimerEntry& mine, const CTimerEntry& other) {
    return TimerTexts::Overlap.arg(Describe(mine), Describe(other));
}

}  // namespace TimerOverlap
