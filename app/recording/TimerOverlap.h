#pragma once
// Whether two timers want the card's one tuner at the same time: their spans
// overlap (one-shot timers by date and time; weekly ones by weekday and time
// of day, laid out over the days around the other timer's start) and their
// programs are on different transponders. Only one of such two can record.
#include <QString>

#include "recording/CTIMERFile.h"

namespace TimerOverlap {

/// Same frequency, polarisation or QAM, LNB and original network and
/// transport stream ids.
bool SameTransponder(const CProgramInfo& a, const CProgramInfo& b);
bool SpansOverlap(const CTimerEntry& a, const CTimerEntry& b);
/// The spans overlap on different transponders.
bool Conflict(const CTimerEntry& a, const CTimerEntry& b);
/// The warning for `mine` against `other`.
QString WarningText(const CTimerEntry& mine, const CTimerEntry& other);

}  // namespace TimerOverlap
