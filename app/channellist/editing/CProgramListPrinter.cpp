#include "channellist/editing/CProgramListPrinter.h"

#include <QFont>
#include <QFontMetrics>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <algorithm>

#include "channellist/editing/EditTexts.h"

struct CProgramListPrinter::Metrics {
    QRect page;  ///< printable area in device pixels, origin at the margin
    QFont titleFont, font, boldFont;
    int titleHeight = 0;  ///< header text band
    int rowHeight = 0;
    int footerHeight = 0;
    int rowsPerPage = 1;
    std::vector<int> widths;  ///< per column, device pixels
};

int CProgramListPrinter::PageCount(std::size_t rows, int rowsPerPage) {
    rowsPerPage = std::max(rowsPerPage, 1);
    const std::size_t pages = (rows + std::size_t(rowsPerPage) - 1) / std::size_t(rowsPerPage);
    return int(std::max<std::size_t>(pages, 1));
}

std::vector<int> CProgramListPrinter::ColumnWidths(const ListPrintTable& table, int pageWidth,
                                                   int dpi) {
    // Screen pixels at 96 dpi become printer pixels; a list wider than the page shrinks
    // to fit it.
    double total = 0;
    for (const auto& c : table.columns) total += std::max(c.width, 0);
    double scale = dpi / 96.0;
    if (total * scale > pageWidth && total > 0) scale = pageWidth / total;
    std::vector<int> widths;
    for (const auto& c : table.columns) widths.push_back(int(std::max(c.width, 0) * scale));
    return widths;
}

int CProgramListPrinter::Print(QPrinter& printer, const ListPrintTable& table) {
    printer.setPageMargins(Margins(), QPageLayout::Millimeter);
    QPainter painter;
    if (!painter.begin(&printer)) return 0;

    Metrics m;
    const int dpi = printer.resolution();
    m.page = printer.pageLayout().paintRectPixels(dpi);
    m.page.moveTo(0, 0);
    m.font = QFont(QStringLiteral("Sans Serif"), 8);
    m.boldFont = m.font;
    m.boldFont.setBold(true);
    m.titleFont = QFont(QStringLiteral("Sans Serif"), 12, QFont::Bold);
    painter.setFont(m.titleFont);
    m.titleHeight = painter.fontMetrics().height() * 2;
    painter.setFont(m.font);
    m.rowHeight = painter.fontMetrics().height() * 5 / 4;
    m.footerHeight = m.rowHeight * 2;
    m.rowsPerPage =
        std::max(1, (m.page.height() - m.titleHeight - m.rowHeight - m.footerHeight) / m.rowHeight);
    m.widths = ColumnWidths(table, m.page.width(), dpi);

    const int pages = PageCount(table.rows.size(), m.rowsPerPage);
    for (int page = 0; page < pages; ++page) {
        if (page > 0) printer.newPage();
        PaintPage(painter, table, m, page, pages);
    }
    painter.end();
    return pages;
}

void CProgramListPrinter::PaintPage(QPainter& painter, const ListPrintTable& table,
                                    const Metrics& m, int page, int pages) {
    painter.setFont(m.titleFont);
    painter.drawText(QRect(0, 0, m.page.width(), m.titleHeight), Qt::AlignLeft | Qt::AlignVCenter,
                     QString::fromUtf8(EditText::PrintHeader));

    auto drawRow = [&](int y, auto cellText) {
        int x = 0;
        for (std::size_t c = 0; c < m.widths.size(); ++c) {
            if (m.widths[c] <= 0) continue;
            const QRect cell(x + m.rowHeight / 8, y, m.widths[c] - m.rowHeight / 4, m.rowHeight);
            painter.drawText(
                cell, int(table.columns[c].alignment) | Qt::AlignVCenter,
                painter.fontMetrics().elidedText(cellText(c), Qt::ElideRight, cell.width()));
            x += m.widths[c];
        }
    };

    int y = m.titleHeight;
    painter.setFont(m.boldFont);
    drawRow(y, [&](std::size_t c) { return table.columns[c].title; });
    y += m.rowHeight;
    painter.drawLine(0, y, m.page.width(), y);

    painter.setFont(m.font);
    const std::size_t first = std::size_t(page) * std::size_t(m.rowsPerPage);
    const std::size_t last = std::min(table.rows.size(), first + std::size_t(m.rowsPerPage));
    for (std::size_t r = first; r < last; ++r, y += m.rowHeight) {
        const QStringList& cells = table.rows[r];
        drawRow(y, [&](std::size_t c) {
            return c < std::size_t(cells.size()) ? cells[qsizetype(c)] : QString();
        });
    }

    const QRect footer(0, m.page.height() - m.footerHeight, m.page.width(), m.footerHeight);
    painter.drawText(footer, Qt::AlignHCenter | Qt::AlignBottom,
                     QString::fromUtf8(EditText::PageNumber).arg(page + 1).arg(pages));
}
