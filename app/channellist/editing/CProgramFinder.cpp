#include "channellist/editing/CProgramFinder.h"

#include <algorithm>

#include "channellist/CSVLFile.h"
#include "channellist/editing/CListEditor.h"
#include "channellist/editing/CTextReplacer.h"
#include "channellist/editing/EditTexts.h"
#include "channellist/editing/IListEditHost.h"
#include "channellist/editing/IMessageSink.h"

namespace {
// Row of the first selected program, if it is listed.
std::optional<std::size_t> CurrentRow(IListEditHost& host, const std::vector<std::size_t>& rows) {
    const std::vector<std::size_t> selected = host.SelectedProgramIndexes();
    if (selected.empty()) return std::nullopt;
    const auto it = std::find(rows.begin(), rows.end(), selected.front());
    if (it == rows.end()) return std::nullopt;
    return std::size_t(it - rows.begin());
}
}  // namespace

std::optional<std::size_t> CProgramFinder::Find(const QString& text, bool matchCase,
                                                Direction direction, bool fromStart) {
    IListEditHost& host = editor_.Host();
    const CSVLFile* list = host.List();
    const std::vector<std::size_t> rows = host.ListedProgramIndexes();
    const bool down = direction == Direction::Down;
    const std::optional<std::size_t> current = fromStart ? std::nullopt : CurrentRow(host, rows);

    // Rows are visited as signed positions so that "one above the first row" is -1.
    const auto count = static_cast<std::ptrdiff_t>(rows.size());
    std::ptrdiff_t row =
        current ? std::ptrdiff_t(*current) + (down ? 1 : -1) : (down ? 0 : count - 1);
    for (; list && row >= 0 && row < count; row += down ? 1 : -1) {
        const std::size_t index = rows[std::size_t(row)];
        if (index >= list->Programs.size() || !list->Programs[index]) continue;
        if (CTextReplacer::FieldContains(list->Programs[index]->Name, text, matchCase)) {
            host.SelectPrograms({index});
            return index;
        }
    }
    editor_.Messages().Show(IMessageSink::Icon::Information,
                            QString::fromUtf8(EditText::ReplaceCaption),
                            QString::fromUtf8(EditText::NoMatch), true);
    return std::nullopt;
}
