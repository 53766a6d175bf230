#pragma once
// The texts of the playlist's columns, one function per kind of cell, shared
// by the window's list and the entry dialog.
#include <QString>
#include <cstdint>

#include "recording/CPlayListFile.h"

namespace PlayListCells {

/// The columns of "ThePlayList", their ids in the list control.
enum Column : int {
    ColNr = 0,
    ColFileName = 1,
    ColPlayLength = 2,
    ColLastPlayed = 3,
    ColRepetitions = 4,
    ColPause = 5,
    ColStatus = 6,
    ColumnCount = 7,
};

/// Milliseconds as "hh:mm:ss,mmm" (hours run on past 99).
QString PlayLength(std::uint32_t ms);
/// German day and month names: "Mittwoch, 15.März 2023 12:00:00"; empty for
/// a time that is null or invalid.
QString LastPlayed(const ArchiveDateTime& time);
/// The status bits from bit 0 up, a later bit winning; empty without any.
QString Status(std::uint32_t status);
/// The cell of `column` for the entry at list position `index`.
QString Cell(const CPlayListEntry& entry, int index, int column);

}  // namespace PlayListCells
