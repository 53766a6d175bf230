#include "videotext/VtCells.h"

#include <cstdio>

namespace vt {

namespace {

constexpr std::uint8_t kSpace = 0x20;

// What the attribute codes have made of a row so far.
struct RowState {
    Colour fg = White;
    Colour bg = Black;
    bool mosaics = false;
    bool separated = false;
    bool hold = false;
    bool doubleHeight = false;
    bool conceal = false;
    bool flash = false;
    std::uint8_t held = kSpace;  // the last mosaic character, for held control cells
    bool heldSeparated = false;
};

bool IsMosaic(const RowState& s, std::uint8_t code) { return s.mosaics && (code & 0x20) != 0; }

// A change of mode or size forgets the held mosaic character.
void SetMosaics(RowState& s, bool on) {
    if (s.mosaics != on) s.held = kSpace;
    s.mosaics = on;
}

void SetDoubleHeight(RowState& s, bool on) {
    if (s.doubleHeight != on) s.held = kSpace;
    s.doubleHeight = on;
}

// The codes both layouts know. Returns false for a code this one does not change.
bool ApplyCommon(RowState& s, std::uint8_t code) {
    if (code <= 0x07) {
        s.fg = Colour(code);
        SetMosaics(s, false);
        s.conceal = false;
    } else if (code >= 0x10 && code <= 0x17) {
        s.fg = Colour(code - 0x10);
        SetMosaics(s, true);
        s.conceal = false;
    } else if (code == 0x1C) {
        s.bg = Black;
    } else if (code == 0x1D) {
        s.bg = s.fg;
    } else if (code == 0x0C || code == 0x0D) {
        SetDoubleHeight(s, code == 0x0D);
    } else if (code == 0x19 || code == 0x1A) {
        s.separated = code == 0x1A;
    } else if (code == 0x1E || code == 0x1F) {
        s.hold = code == 0x1E;
    } else {
        return false;
    }
    return true;
}

// The display's mosaic cell: the font holds separated glyphs only for
// 0x20-0x3F, so separated 0x60-0x7F come out as a space.
void PutMosaic(DisplayCell& cell, std::uint8_t code, bool separated) {
    if (separated && code >= 0x60) return;
    cell.code = code;
    cell.mosaic = true;
    cell.separated = separated;
}

DisplayRow LayoutDisplayRow(const std::uint8_t* chars, std::uint8_t national) {
    DisplayRow row;
    RowState s;
    for (int c = 0; c < kCols; ++c) {
        const std::uint8_t code = chars[c] & 0x7F;
        if (code < kSpace) ApplyCommon(s, code);  // takes effect at its own cell
        if (code == 0x0D) row.doubleHeight = true;
        DisplayCell& cell = row.cells[c];
        cell.fg = s.fg;
        cell.bg = s.bg;
        cell.doubleHeight = s.doubleHeight;
        if (code < kSpace) {
            if (s.hold && s.held != kSpace) PutMosaic(cell, s.held, s.heldSeparated);
        } else if (IsMosaic(s, code)) {
            PutMosaic(cell, code, s.separated);
            s.held = code;
            s.heldSeparated = s.separated;
        } else {
            cell.code = code;
            cell.glyph = code == kSpace ? U' ' : G0Char(code, national);
        }
    }
    return row;
}

void EnterLinks(const DisplayRow& row, LinkMap& links, int r) {
    for (int c = 0; c < kCols; ++c) {
        const DisplayCell& cell = row.cells[c];
        const bool digit = !cell.mosaic && cell.code >= '0' && cell.code <= '9';
        links[r][c] = digit ? char(cell.code) : 0;
        if (cell.doubleHeight && r + 1 < kRows) links[r + 1][c] = links[r][c];
    }
}

// The export's codes that take effect from the next cell: colours with the
// mosaic switch, conceal, size and hold.
bool IsSetAfter(std::uint8_t code) {
    return code <= 0x07 || (code >= 0x10 && code <= 0x17) || code == 0x18 || code == 0x0C ||
           code == 0x0D || code == 0x1E || code == 0x1F;
}

void ApplyExportCode(RowState& s, std::uint8_t code) {
    if (ApplyCommon(s, code)) return;
    if (code == 0x08 || code == 0x09) s.flash = code == 0x08;
    if (code == 0x18) s.conceal = true;
    // 0x0A, 0x0B, 0x0E, 0x0F and 0x1B change nothing here.
}

ExportCell ExportCellOf(const RowState& s, std::uint8_t code, std::uint8_t national) {
    ExportCell cell;
    cell.fg = s.fg;
    cell.bg = s.bg;
    cell.flash = s.flash;
    if (s.conceal) return cell;
    if (code < kSpace) {
        cell.mosaic = s.hold && s.held != kSpace;
    } else if (IsMosaic(s, code)) {
        cell.mosaic = true;
    } else {
        cell.code = code;
        cell.glyph = G0Char(code, national);
    }
    return cell;
}

// Returns whether the row holds a double-height code.
bool LayoutExportRow(const std::uint8_t* chars, std::uint8_t national,
                     std::array<ExportCell, kCols>& row) {
    RowState s;
    bool doubleHeight = false;
    for (int c = 0; c < kCols; ++c) {
        const std::uint8_t code = chars[c] & 0x7F;
        const bool after = code < kSpace && IsSetAfter(code);
        if (code < kSpace && !after) ApplyExportCode(s, code);
        row[c] = ExportCellOf(s, code, national);
        if (code >= kSpace && IsMosaic(s, code)) s.held = code;
        if (after) ApplyExportCode(s, code);
        doubleHeight = doubleHeight || code == 0x0D;
    }
    return doubleHeight;
}

void WriteAt(PageChars& page, int column, const char* text, int width) {
    for (int i = 0; i < width; ++i) page[column + i] = text[i] ? std::uint8_t(text[i]) : kSpace;
}

}  // namespace

DisplayPage LayoutForDisplay(const PageChars& page, std::uint8_t national, int rowCount) {
    DisplayPage out;
    out.rowCount = rowCount < 1 ? 1 : (rowCount > kRows ? kRows : rowCount);
    for (int r = 0; r < out.rowCount; ++r) {
        if (out.rows[r].hidden) continue;
        out.rows[r] = LayoutDisplayRow(page.data() + r * kCols, national);
        EnterLinks(out.rows[r], out.links, r);
        if (out.rows[r].doubleHeight && r + 1 < kRows) out.rows[r + 1].hidden = true;
    }
    return out;
}

PageChars ComposeDisplayHeader(const PageChars* cached, const std::array<std::uint8_t, kCols>& live,
                               int pageNumber, bool recordValid) {
    PageChars out;
    if (cached) {
        out = *cached;
    } else {
        out.fill(kSpace);
    }
    // The clock is always the live one; without a valid record, the whole header.
    const int liveFrom = cached && recordValid ? 30 : 8;
    for (int c = liveFrom; c < kCols; ++c) out[c] = live[c];
    char number[16] = {};
    std::snprintf(number, sizeof number, "  P%-3d ", pageNumber);
    WriteAt(out, 0, number, 7);
    // A page still searched for shows the live header in green.
    out[7] = cached ? White : Green;
    return out;
}

std::optional<int> PageAt(const LinkMap& links, int row, int column) {
    if (row < 0 || row >= kRows || column < 0 || column >= kCols) return std::nullopt;
    const auto& line = links[row];
    int start = column;
    while (start >= 0 && line[start] != 0) --start;
    if (start < 0) return std::nullopt;
    ++start;
    if (start >= 38) return std::nullopt;
    int digits = 0;
    int number = 0;
    for (int c = start; c < kCols && digits < 9 && line[c] != 0; ++c, ++digits) {
        number = number * 10 + (line[c] - '0');
    }
    if (digits != 3 || number < kFirstPage || number > kLastPage) return std::nullopt;
    return number;
}

ExportPage LayoutForExport(const PageChars& page, std::uint8_t national) {
    ExportPage out;
    for (int r = 0; r < kRows; ++r) {
        const bool doubleHeight = LayoutExportRow(page.data() + r * kCols, national, out[r]);
        if (doubleHeight && r + 1 < kRows) {
            out[r + 1] = out[r];  // the lower half of the row; its own characters are not shown
            ++r;
        }
    }
    return out;
}

void StampExportHeader(PageChars& page, int pageNumber, int subpageIndex) {
    // Page index and subpage index in hexadecimal ("%3x.%02x", six characters);
    // columns 6 and 7 become spaces: a string terminator there would be an
    // alpha black code and hide the rest of the header.
    char stamp[32] = {};
    std::snprintf(stamp, sizeof stamp, "%3x.%02x", unsigned(pageNumber - kFirstPage) & 0xFFF,
                  unsigned(subpageIndex) & 0xFF);
    WriteAt(page, 0, stamp, 8);
}

}  // namespace vt
