#include "channellist/editing/ListPrintTable.h"

#include "channellist/CSVLFile.h"

ListPrintTable BuildListPrintTable(const CSVLFile& list, const std::vector<std::size_t>& rows,
                                   std::vector<ListPrintColumn> columns,
                                   const PrintCellText& cellText) {
    ListPrintTable table;
    table.columns = std::move(columns);
    table.rows.reserve(rows.size());
    for (const std::size_t index : rows) {
        if (index >= list.Programs.size() || !list.Programs[index]) continue;
        QStringList cells;
        for (const ListPrintColumn& column : table.columns)
            cells << cellText(*list.Programs[index], index, column.id);
        table.rows.push_back(std::move(cells));
    }
    return table;
}
