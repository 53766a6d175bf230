#pragma once
#include <QMarginsF>

#include "channellist/editing/ListPrintTable.h"

class QPainter;
class QPrinter;

/// Paints the program list on a printer: on every page the header "SVL-Programmliste",
/// the column headings, as many rows as fit, and the page number at the bottom.
class CProgramListPrinter {
  public:
    /// Page margins in millimetres: left 15, top 10, right 10, bottom 10.
    static QMarginsF Margins() { return QMarginsF(15, 10, 10, 10); }

    /// Number of pages for `rows` rows at `rowsPerPage` a page (at least one page).
    static int PageCount(std::size_t rows, int rowsPerPage);

    /// Prints the table; returns the number of pages, 0 when painting could not start.
    static int Print(QPrinter& printer, const ListPrintTable& table);

  private:
    struct Metrics;
    static std::vector<int> ColumnWidths(const ListPrintTable& table, int pageWidth, int dpi);
    static void PaintPage(QPainter& painter, const ListPrintTable& table, const Metrics& m,
                          int page, int pages);
};
