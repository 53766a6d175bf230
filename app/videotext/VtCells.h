#pragma once
// A cached page turned into cells: for the screen (attributes take effect at
// their own cell), for the export (attributes take effect from the next cell),
// the link map of page numbers and the click on a cell. No drawing here: the
// window paints the display cells, the export writes the export cells.
#include <array>
#include <cstdint>
#include <optional>

#include "videotext/VtPageCache.h"

namespace vt {

/// Teletext colour codes 0-7.
enum Colour : std::uint8_t { Black, Red, Green, Yellow, Blue, Magenta, Cyan, White };

/// The national option subsets of the Latin G0 set, by the header's option
/// bits C12-C14 (0 English, 1 German, 2 Swedish/Finnish, 3 Italian, 4 French,
/// 5 Portuguese/Spanish, 6 Czech/Slovak; 7 is taken as German).
/// Returns the Unicode character of a G0 code 0x20-0x7F.
char32_t G0Char(std::uint8_t code, std::uint8_t national);

/// One cell on the screen.
struct DisplayCell {
    std::uint8_t code = 0x20;  // the character (parity removed) or the mosaic code
    char32_t glyph = U' ';     // the character to draw when not a mosaic
    bool mosaic = false;       // draw the 2x3 block pattern of `code`
    bool separated = false;    // separated mosaic
    Colour fg = White;
    Colour bg = Black;
    bool doubleHeight = false;  // this cell is drawn twice as high
};

struct DisplayRow {
    std::array<DisplayCell, kCols> cells{};
    bool doubleHeight = false;  // the row holds a double-height code
    bool hidden = false;        // the row under a double-height row: not drawn
};

using LinkMap = std::array<std::array<char, kCols>, kRows>;

struct DisplayPage {
    std::array<DisplayRow, kRows> rows{};
    int rowCount = kRows;  // 1 for an uncached page (header only)
    LinkMap links{};       // digit characters of alphanumeric cells, else 0
};

/// What the screen shows of `page` (its 1000 characters, header composed).
DisplayPage LayoutForDisplay(const PageChars& page, std::uint8_t national, int rowCount = kRows);

/// The header the window shows: "  P%-3d " and the white alpha code, the
/// cached header's text from column 8, the clock (30-39) from the live header;
/// the whole live header when `cached` is null (then columns 8-39 green).
/// A cached page whose current record is not valid (or lies beyond its
/// records) passes that record's characters, or any page, with
/// `recordValid` false: rows 1-24 come from `cached`, the header's columns
/// 8-39 from the live header, in white.
PageChars ComposeDisplayHeader(const PageChars* cached, const std::array<std::uint8_t, kCols>& live,
                               int pageNumber, bool recordValid = true);

/// The page a click on (row, column) of the link map selects: exactly three
/// digits forming 100-899 around that cell, else nothing.
std::optional<int> PageAt(const LinkMap& links, int row, int column);

/// One cell of the export.
struct ExportCell {
    std::uint8_t code = 0x20;  // G0 code to write, or 0x20
    char32_t glyph = U' ';
    Colour fg = White;
    Colour bg = Black;
    bool flash = false;
    bool mosaic = false;
};
using ExportPage = std::array<std::array<ExportCell, kCols>, kRows>;

/// The page converted by the export's set-after rules (concealed cells are
/// spaces; a double-height row is copied into the row below).
ExportPage LayoutForExport(const PageChars& page, std::uint8_t national);

/// The export's header: "%3x.%02x" of page index and subpage index written
/// over the first 8 characters of `page`.
void StampExportHeader(PageChars& page, int pageNumber, int subpageIndex);

}  // namespace vt
