#pragma once
// The texts of the guide's lists: one function per kind of cell, the
// category headings and the window title, shared by the schedule list, the
// search result and the detail window.
#include <QString>
#include <cstdint>
#include <vector>

#include "channellist/ArchiveDateTime.h"

class CEPGInfo;

namespace GuideCells {

/// The columns of the guide's lists, their ids in the list control.
enum Column : int {
    ColBlank = 0,
    ColNr = 1,
    ColService = 2,
    ColStart = 3,
    ColDuration = 4,
    ColEvent = 5,
    ColShortText = 6,
    ColRating = 7,
    ColumnCount = 8,
};

/// German name of a content category (the high nibble of the first content
/// byte); "Sonstiges" for the undefined ones.
QString CategoryName(std::uint8_t contentHigh);
/// Row number as the list shows it: right-aligned in three with a blank in
/// front, "  1", " 42", " 100".
QString RowNumber(int item);
/// "11.März 2024 20:15:00, Montag"; empty for a time that is not valid.
QString ListStart(const ArchiveDateTime& time);
/// "Montag, 11.März 2024 20:15:00"; empty for a time that is not valid.
QString DetailStart(const ArchiveDateTime& time);
/// Whole minutes: "90 min".
QString Duration(const CEPGInfo& record);
/// "frei" for no rating, else "FSK" and the age: "FSK12" for 9.
QString ListRating(std::uint8_t rating);
/// "frei" or the age alone: "12" for 9.
QString DetailRating(std::uint8_t rating);
/// The cell of `column` for the record at list position `item`; a missing
/// record is a group row ("unbekannt" as its program).
QString Cell(const CEPGInfo* record, int item, int column);
/// "Elektronischer Programmführer für '<program of the first row>'", or
/// without a program when there are no rows.
QString WindowTitle(const std::vector<const CEPGInfo*>& records);

}  // namespace GuideCells
