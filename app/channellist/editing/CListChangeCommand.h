#pragma once
#include <QUndoCommand>
#include <cstddef>
#include <vector>

#include "channellist/editing/ProgramListOps.h"

class IListEditHost;
class CSVLFile;

/// Base of the undoable changes of the program list: access to the host's list and the
/// notifications that follow every change.
class CListChangeCommand : public QUndoCommand {
  public:
    /// `list` is the document's list; the document keeps it for its whole life and the
    /// history is reset whenever another file is read into it.
    CListChangeCommand(IListEditHost& host, CSVLFile& list, const QString& text);

  protected:
    ProgramListOps::ProgramList& Programs();
    CSVLFile& List() { return list_; }
    void NotifyInserted(const std::vector<std::size_t>& ascending);
    void NotifyRemoved(const std::vector<std::size_t>& ascending);
    void NotifyChanged(const std::vector<std::size_t>& ascending);
    void NotifyReordered(const std::vector<std::size_t>& movedAscending);

  private:
    void UpdateCount();
    IListEditHost& host_;
    CSVLFile& list_;
};
