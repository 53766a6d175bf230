#include "videotext/windows/VtPagePainter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QString>
#include <array>

namespace VtPainter {

namespace {

constexpr int kMargin = 4;
// The font is laid out at this pixel size and scaled to the cell; the scale
// is part of the painter's transform, so the glyphs are rendered at the size
// they finally have on the screen.
constexpr int kFontPixels = 64;
// The gap of a separated mosaic block, left and below each sixel.
constexpr qreal kSeparation = 2.0;

struct GlyphFont {
    QFont font;
    qreal advance = 1;
    qreal ascent = 1;
    qreal height = 1;
};

const GlyphFont& Font() {
    static const GlyphFont font = [] {
        GlyphFont f;
        f.font = QFont(QStringLiteral("DejaVu Sans Mono"));
        f.font.setStyleHint(QFont::Monospace);
        f.font.setPixelSize(kFontPixels);
        f.font.setHintingPreference(QFont::PreferNoHinting);
        const QFontMetricsF metrics(f.font);
        f.advance = metrics.horizontalAdvance(QLatin1Char('M'));
        f.ascent = metrics.ascent();
        f.height = metrics.ascent() + metrics.descent();
        return f;
    }();
    return font;
}

void PaintGlyph(QPainter& painter, const QRectF& cell, char32_t glyph) {
    const GlyphFont& f = Font();
    const qreal sx = cell.width() / f.advance, sy = cell.height() / f.height;
    painter.save();
    painter.translate(cell.left(), cell.top() + f.ascent * sy);
    painter.scale(sx, sy);
    painter.setFont(f.font);
    painter.drawText(QPointF(0, 0), QString::fromUcs4(&glyph, 1));
    painter.restore();
}

// Sixel bits: top left, top right, middle left, middle right, bottom left,
// bottom right (bit 5 marks the block character itself).
constexpr std::array<std::uint8_t, 6> kSixelBits = {0x01, 0x02, 0x04, 0x08, 0x10, 0x40};

void PaintMosaic(QPainter& painter, const QRectF& cell, const vt::DisplayCell& c) {
    const qreal w = cell.width() / 2, h = cell.height() / 3;
    const QColor colour = ColourOf(c.fg);
    for (int i = 0; i < 6; ++i) {
        if (!(c.code & kSixelBits[static_cast<std::size_t>(i)])) continue;
        QRectF sixel(cell.left() + w * (i % 2), cell.top() + h * (i / 2), w, h);
        if (c.separated) sixel.adjust(kSeparation, 0, 0, -kSeparation);
        painter.fillRect(sixel, colour);
    }
}

void PaintRow(QPainter& painter, const vt::DisplayRow& row, int r) {
    const int rowHeight = row.doubleHeight ? 2 * kCellHeight : kCellHeight;
    for (int column = 0; column < vt::kCols; ++column) {
        const vt::DisplayCell& c = row.cells[static_cast<std::size_t>(column)];
        const QRectF area(kTextX + kCellWidth * column, RowTop(r), kCellWidth, rowHeight);
        painter.fillRect(area, ColourOf(c.bg));
        const QRectF cell(area.left(), area.top(), kCellWidth,
                          c.doubleHeight && row.doubleHeight ? 2 * kCellHeight : kCellHeight);
        if (c.mosaic) {
            PaintMosaic(painter, cell, c);
        } else if (c.glyph != U' ' && c.glyph != 0) {
            painter.setPen(ColourOf(c.fg));
            PaintGlyph(painter, cell, c.glyph);
        }
    }
}

}  // namespace

QRectF LogicalArea() {
    return QRectF(kTextX - kMargin, RowTop(0) - kMargin, kCellWidth * vt::kCols + 2 * kMargin,
                  kCellHeight * vt::kRows + 2 * kMargin);
}

QColor ColourOf(vt::Colour colour) {
    const int c = static_cast<int>(colour) & 7;
    return QColor((c & 1) ? 255 : 0, (c & 2) ? 255 : 0, (c & 4) ? 255 : 0);
}

QTransform ToWidget(const QSizeF& size) {
    const QRectF area = LogicalArea();
    const qreal scale = std::min(size.width() / area.width(), size.height() / area.height());
    const qreal dx = (size.width() - area.width() * scale) / 2;
    const qreal dy = (size.height() - area.height() * scale) / 2;
    QTransform t;
    t.translate(dx, dy);
    t.scale(scale, scale);
    t.translate(-area.left(), -area.top());
    return t;
}

std::optional<Cell> CellAt(QPointF logical) {
    const int x = static_cast<int>(logical.x()), y = static_cast<int>(logical.y());
    if (logical.x() < 0 || logical.y() < 0) return std::nullopt;
    if (x < kClickLeft || x > kClickLeft + kClickWidth) return std::nullopt;
    if (y < kClickTop || y > kClickTop + kClickHeight) return std::nullopt;
    const Cell cell{(y - kClickTop) / kCellHeight, (x - kClickLeft) / kCellWidth - 1};
    if (cell.column < 0 || cell.column >= vt::kCols || cell.row >= vt::kRows) return std::nullopt;
    return cell;
}

void Paint(QPainter& painter, const vt::DisplayPage& page) {
    painter.fillRect(LogicalArea(), Qt::black);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    for (int r = 0; r < page.rowCount && r < vt::kRows; ++r) {
        const vt::DisplayRow& row = page.rows[static_cast<std::size_t>(r)];
        if (!row.hidden) PaintRow(painter, row, r);
    }
}

QImage Render(const vt::DisplayPage& page, const QSize& size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.setTransform(ToWidget(QSizeF(size)));
    Paint(painter, page);
    return image;
}

}  // namespace VtPainter
