// The page painter: the fixed page against its reference picture, colours,
// backgrounds, mosaics and double height at their logical places, the same
// picture at another size, the click rule's cells.
#include <gtest/gtest.h>

#include <QDir>
#include <QFontInfo>
#include <QImage>

#include "videotext/windows/VtPagePainter.h"
#include "videotext/windows/tests/VtTestPages.h"

namespace {

using VtPainter::kCellHeight;
using VtPainter::kCellWidth;
using VtPainter::kTextX;

const QSize kReferenceSize(488, 458);  // the logical area at scale 1

vt::DisplayPage Showcase() { return vt::LayoutForDisplay(vtwin::ShowcasePage(), 1); }

bool HaveFont() {
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    return QFontInfo(font).family() == QStringLiteral("DejaVu Sans Mono");
}

// The pixel of an image of `size` at a logical point.
QColor At(const QImage& image, QPointF logical) {
    const QPointF p = VtPainter::ToWidget(QSizeF(image.size())).map(logical);
    return image.pixelColor(p.toPoint());
}

// A point inside cell (row, column), `fx`/`fy` its fraction across the cell.
QPointF InCell(int row, int column, qreal fx = 0.5, qreal fy = 0.5) {
    return {kTextX + kCellWidth * (column + fx), VtPainter::RowTop(row) + kCellHeight * fy};
}

TEST(PagePainter, FixedPageMatchesItsReferencePicture) {
    if (!HaveFont()) GTEST_SKIP() << "DejaVu Sans Mono (fonts-dejavu-core) is not installed";
    const QImage image = VtPainter::Render(Showcase(), kReferenceSize);
    const QString reference = QStringLiteral(VT_TEST_DATA_DIR "/showcase.png");
    const QImage expected(reference);
    if (expected.isNull()) {
        const QString written = QDir::temp().filePath(QStringLiteral("showcase.png"));
        image.save(written);
        FAIL() << "no reference picture " << reference.toStdString() << "; this run's is "
               << written.toStdString() << " (check it by eye, then store it)";
    }
    ASSERT_EQ(expected.size(), image.size());
    const QImage a = expected.convertToFormat(QImage::Format_RGB32);
    int differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != image.pixel(x, y)) ++differing;
    if (differing) image.save(QDir::temp().filePath(QStringLiteral("showcase-actual.png")));
    EXPECT_EQ(differing, 0)
        << "pixels differ from the reference (actual picture in the temp folder)";
}

TEST(PagePainter, BackgroundsAndColoursSitInTheirCells) {
    const QImage image = VtPainter::Render(Showcase(), kReferenceSize);
    // Row 2: new background after blue makes the rest of the row blue, until black background.
    EXPECT_EQ(At(image, InCell(2, 1, 0.1, 0.1)), QColor(0, 0, 0));
    EXPECT_EQ(At(image, InCell(2, 3, 0.1, 0.1)), QColor(0, 0, 255));
    EXPECT_EQ(At(image, InCell(2, 18, 0.1, 0.1)), QColor(0, 0, 255));
    EXPECT_EQ(At(image, InCell(2, 19, 0.1, 0.1)), QColor(0, 0, 0));  // the black-background code
    // Row 10: magenta background behind the blue text.
    EXPECT_EQ(At(image, InCell(10, 4, 0.05, 0.05)), QColor(255, 0, 255));
}

TEST(PagePainter, MosaicsAreBlocksContiguousOrSeparated) {
    const QImage image = VtPainter::Render(Showcase(), kReferenceSize);
    const QColor red(255, 0, 0), black(0, 0, 0);
    // 0x7F contiguous: the whole cell red, edges included.
    for (qreal f : {0.05, 0.5, 0.95}) {
        EXPECT_EQ(At(image, InCell(5, 2, f, 0.05)), red);
        EXPECT_EQ(At(image, InCell(5, 2, f, 0.95)), red);
    }
    // 0x35 = top left, middle left, bottom left: the left half only.
    EXPECT_EQ(At(image, InCell(5, 4, 0.25, 0.5)), red);
    EXPECT_EQ(At(image, InCell(5, 4, 0.75, 0.5)), black);
    // 0x35 separated (column 9): the left sixels red, the gap at the cell's
    // left edge and above each sixel's bottom edge black, the right half black.
    EXPECT_EQ(At(image, InCell(5, 9, 0.3, 0.15)), red);
    EXPECT_EQ(At(image, InCell(5, 9, 0.3, 0.5)), red);
    EXPECT_EQ(At(image, InCell(5, 9, 0.04, 0.5)), black);
    EXPECT_EQ(At(image, InCell(5, 9, 0.3, 0.27)), black);
    EXPECT_EQ(At(image, InCell(5, 9, 0.75, 0.5)), black);
}

TEST(PagePainter, DoubleHeightRowCoversTheRowBelow) {
    const QImage image = VtPainter::Render(Showcase(), kReferenceSize);
    // Row 3 holds a double-height code; row 4 is not drawn on its own. The
    // "D" of "Doppelte" (column 3) reaches into row 4's band in yellow.
    int yellowInRow4 = 0;
    for (qreal fy = 0.0; fy < 1.0; fy += 0.05)
        for (qreal fx = 0.0; fx < 1.0; fx += 0.1)
            if (At(image, InCell(4, 3, fx, fy)) == QColor(255, 255, 0)) ++yellowInRow4;
    EXPECT_GT(yellowInRow4, 3);
    // A normal-height row leaves the same band of the next row empty.
    int whiteInRow9 = 0;
    for (qreal fy = 0.0; fy < 1.0; fy += 0.05)
        for (qreal fx = 0.0; fx < 1.0; fx += 0.1)
            if (At(image, InCell(9, 2, fx, fy)) != QColor(0, 0, 0)) ++whiteInRow9;
    EXPECT_EQ(whiteInRow9, 0);
}

TEST(PagePainter, ScalesWithTheSizeAndKeepsTheLayout) {
    const QImage small = VtPainter::Render(Showcase(), kReferenceSize);
    const QImage large = VtPainter::Render(Showcase(), QSize(1464, 1374));
    for (const QPointF p : {InCell(2, 3, 0.1, 0.1), InCell(5, 2), InCell(5, 4, 0.75, 0.5),
                            InCell(10, 4, 0.05, 0.05), InCell(2, 19, 0.1, 0.1)})
        EXPECT_EQ(At(small, p), At(large, p)) << p.x() << "," << p.y();
}

TEST(PagePainter, ClickRuleSelectsTheCellToTheLeftOfTheDrawnOne) {
    using VtPainter::CellAt;
    // Column (x - 10) / 12 - 1, row (y - 50) / 18.
    const auto cell = CellAt(QPointF(10 + 12 * 6 + 1, 50 + 18 * 4 + 1));
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->column, 5);
    EXPECT_EQ(cell->row, 4);
    EXPECT_FALSE(CellAt(QPointF(9, 100)));             // left of the area
    EXPECT_FALSE(CellAt(QPointF(15, 100)));            // column -1
    EXPECT_FALSE(CellAt(QPointF(100, 49)));            // above
    EXPECT_FALSE(CellAt(QPointF(10 + 483 + 1, 100)));  // right of the area
    EXPECT_FALSE(CellAt(QPointF(100, 50 + 436 + 1)));  // below
    EXPECT_TRUE(CellAt(QPointF(10 + 483, 50 + 436)));
}

}  // namespace
