#pragma once
#include <QString>
#include <QStringList>
#include <Qt>
#include <cstddef>
#include <functional>
#include <vector>

class CProgramInfo;
class CSVLFile;

/// One column as the list shows it: its id, header text, width in screen pixels, alignment.
struct ListPrintColumn {
    int id = 0;
    QString title;
    int width = 0;
    Qt::Alignment alignment = Qt::AlignLeft;
};

/// The list as it is to be printed: the shown columns in shown order and the cell texts
/// of every row.
struct ListPrintTable {
    std::vector<ListPrintColumn> columns;
    std::vector<QStringList> rows;
};

/// Text of the cell of column `id` for `program`, which stands at document index `index`,
/// as the list control shows it (the list's own column text provider).
using PrintCellText =
    std::function<QString(const CProgramInfo& program, std::size_t index, int id)>;

/// The table of the given rows (document indexes; indexes without a program are left out)
/// in the given columns, with the cell texts of `cellText`.
ListPrintTable BuildListPrintTable(const CSVLFile& list, const std::vector<std::size_t>& rows,
                                   std::vector<ListPrintColumn> columns,
                                   const PrintCellText& cellText);
