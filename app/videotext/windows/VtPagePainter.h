#pragma once
// Draws a page's display cells with QPainter. The drawing works in the
// window's logical coordinates of display size 3 (cells of 12 x 18, text from
// x = 8, the top of row r at 31 + 18 * (r + 1)); the page view maps them onto
// its actual size, so text and blocks are drawn at the target size and stay
// sharp. Colours: the eight teletext colours as full RGB.
#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QTransform>
#include <optional>

#include "videotext/VtCells.h"

class QPainter;

namespace VtPainter {

inline constexpr int kCellWidth = 12;
inline constexpr int kCellHeight = 18;
inline constexpr int kOrigin = 31;
inline constexpr int kTextX = 8;
/// The click area: from (10, 50), 483 x 436 logical pixels.
inline constexpr int kClickLeft = 10, kClickTop = 50, kClickWidth = 483, kClickHeight = 436;

/// Top of row `row` in logical coordinates.
constexpr int RowTop(int row) { return kOrigin + kCellHeight * (row + 1); }

/// The logical rectangle a page view shows: the 40 x 25 cells and a small margin.
QRectF LogicalArea();

QColor ColourOf(vt::Colour colour);

/// The logical-to-widget mapping for a view of `size`: uniform scale, centred.
QTransform ToWidget(const QSizeF& size);

/// The cell (row, column) a click at a logical point selects by the window's
/// click rule (column (x - 10) / 12 - 1, row (y - 50) / 18), or nothing
/// outside the click area or outside the 25 x 40 cells.
struct Cell {
    int row = 0;
    int column = 0;
};
std::optional<Cell> CellAt(QPointF logical);

/// Paints `page` on a painter already in logical coordinates: a black page,
/// each cell's background, text glyphs stretched to the cell, mosaics as 2 x 3
/// blocks, double-height rows twice as high (the row below not drawn).
void Paint(QPainter& painter, const vt::DisplayPage& page);

/// The page drawn onto an image of `size` (as a view of that size shows it).
QImage Render(const vt::DisplayPage& page, const QSize& size);

}  // namespace VtPainter
