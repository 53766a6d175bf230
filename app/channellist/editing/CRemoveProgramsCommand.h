#pragma once
#include "channellist/editing/CListChangeCommand.h"

/// Removes programs at any set of positions (cut, delete). Undo puts every program back
/// at the position it had.
class CRemoveProgramsCommand : public CListChangeCommand {
  public:
    /// `indexes` in any order; duplicates and indexes past the end are dropped.
    CRemoveProgramsCommand(IListEditHost& host, CSVLFile& list, std::vector<std::size_t> indexes,
                           const QString& text);
    void redo() override;
    void undo() override;

    const std::vector<std::size_t>& Indexes() const { return indexes_; }

  private:
    std::vector<std::size_t> indexes_;  ///< ascending
    ProgramListOps::ProgramList held_;  ///< the removed programs, in the order of indexes_
};
