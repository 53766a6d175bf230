#pragma once
#include <QString>
#include <QStringList>
#include <Qt>
#include <cstddef>
#include <vector>

class CProgramInfo;
class CSVLFile;

/// One column as the list shows it: header text, width in screen pixels, alignment.
struct ListPrintColumn {
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

/// The program list's column definitions (ids 0 to 13) and cell texts, for hosts that
/// print the list without asking their list control.
namespace MainListColumns {
constexpr int Count = 14;
/// Definition of column `id` (0 to 13).
ListPrintColumn Definition(int id);
/// Text of the cell of column `id` for the program at document index `index`; PIDs in
/// "%04X" when `pidHex`, else decimal.
QString CellText(const CProgramInfo& program, std::size_t index, int id, bool pidHex);
/// The table of the given rows (document indexes) with the given shown column ids.
ListPrintTable Build(const CSVLFile& list, const std::vector<std::size_t>& rows,
                     const std::vector<int>& shownIds, bool pidHex);
/// The built-in shown set: every column in id order.
std::vector<int> AllIds();
}  // namespace MainListColumns
