#pragma once
#include <QString>
#include <cstddef>
#include <vector>

#include "channellist/editing/ListPrintTable.h"

class CSVLFile;

/// What the list-editing engine needs from the window that shows the program list
/// (the program list view together with its document). The engine works on document
/// indexes (positions in CSVLFile::Programs), never on row numbers; the host maps
/// between the two. Heading rows of category mode are never reported as programs.
///
/// Every change the engine makes to the program list is followed by exactly one of the
/// Programs* notifications, then SetModified and (when the number changed)
/// SetProgramCountText. All calls come on the UI thread.
class IListEditHost {
  public:
    virtual ~IListEditHost() = default;

    /// The document's channel list; nullptr when there is none.
    virtual CSVLFile* List() = 0;

    /// Document indexes of the selected rows, in row order, heading rows skipped.
    virtual std::vector<std::size_t> SelectedProgramIndexes() const = 0;
    /// Document indexes of all program rows, in row order (the filtered list as shown).
    virtual std::vector<std::size_t> ListedProgramIndexes() const = 0;
    /// Number of rows of the list, heading rows included.
    virtual std::size_t RowCount() const = 0;
    /// True while rows are grouped under category headings.
    virtual bool IsCategoryMode() const = 0;

    /// Selects and focuses every row.
    virtual void SelectAllRows() = 0;
    /// Makes the rows of these programs the only selected rows, focuses the first and
    /// scrolls to it. Programs without a row are passed over; none at all changes nothing.
    virtual void SelectPrograms(const std::vector<std::size_t>& indexes) = 0;

    /// Programs now standing at these ascending document indexes were inserted.
    virtual void ProgramsInserted(const std::vector<std::size_t>& indexes) = 0;
    /// Programs that stood at these ascending document indexes were removed.
    virtual void ProgramsRemoved(const std::vector<std::size_t>& indexes) = 0;
    /// Fields of the programs at these ascending document indexes changed.
    virtual void ProgramsChanged(const std::vector<std::size_t>& indexes) = 0;
    /// The list was put into a new order; the programs the user moved now stand at these
    /// ascending document indexes: they are to be the selection, scrolled into view.
    virtual void ProgramsReordered(const std::vector<std::size_t>& moved) = 0;

    /// Sets or clears the document's modified flag.
    virtual void SetModified(bool modified) = 0;
    /// Shows the text in pane 1 of the main window's status bar ("Anzahl Programme: %ld").
    virtual void SetProgramCountText(const QString& text) = 0;

    /// The list as printed: the shown columns with their widths and every listed row's
    /// cell texts, as the list control shows them. A host without a list control has no
    /// columns and prints an empty table.
    virtual ListPrintTable PrintTable() { return {}; }
};
