#pragma once
// The guide's local times from the event times of the broadcast (MJD and BCD,
// UTC). The program has always run its guide at UTC+1 ("GMT+1"); the user's
// setting "Zeitoffset EPD" adds whole hours on top for summer time.
#include <cstdint>

#include "channellist/ArchiveDateTime.h"

constexpr int kGuideZoneSeconds = 3600;

/// The start of an event as a local Valid date-time: the UTC time plus
/// kGuideZoneSeconds plus offsetHours hours. False, with target unchanged,
/// for a date outside 1900-2100 or a time that is no time of day (a BCD digit
/// above 9, an hour above 23, a minute or second above 59).
bool EventStartLocal(std::uint16_t mjd, std::uint32_t startBcd, int offsetHours,
                     ArchiveDateTime& target);

/// A duration hhmmss in BCD as days (Valid); 0 days for a digit above 9 or
/// minutes or seconds above 59.
ArchiveDateTime DurationDays(std::uint32_t durationBcd);
