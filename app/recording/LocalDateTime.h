#pragma once
// The stored date-time of the timer and playlist files as the local QDateTime
// of the windows and the scheduler.
#include <QDateTime>

#include "channellist/ArchiveDateTime.h"

namespace LocalDateTime {

/// An invalid QDateTime gives Null.
ArchiveDateTime FromLocal(const QDateTime& time);
/// Invalid unless the status is Valid and the days are a finite time.
QDateTime ToLocal(const ArchiveDateTime& time);

}  // namespace LocalDateTime
