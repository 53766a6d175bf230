#pragma once
// The texts of the timer list's columns.
#include <QString>
#include <cstdint>

#include "recording/CTIMERFile.h"

namespace TimerCells {

/// The columns of "TheTimerList", their ids in the list control.
enum Column : int {
    ColNr = 0,
    ColProgram = 1,
    ColStart = 2,
    ColEnd = 3,
    ColFormat = 4,
    ColFileName = 5,
    ColStatus = 6,
    ColumnCount = 7,
};

/// "AudioPES", "AudioMp2", "VideoPES", "AV_PES"; "unbekannt" for others.
QString Format(std::int32_t formatIndex);
/// The status bits from bit 0 up, a later bit winning; empty without any.
QString Status(std::uint32_t status);
/// The cell of `column` for the entry at list position `index`.
QString Cell(const CTimerEntry& entry, int index, int column);

}  // namespace TimerCells
