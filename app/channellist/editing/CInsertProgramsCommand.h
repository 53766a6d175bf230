#pragma once
#include "channellist/editing/CListChangeCommand.h"

/// Inserts a batch of programs as one block at one position (paste, import).
/// Undo takes the block out again and keeps it for the next redo.
class CInsertProgramsCommand : public CListChangeCommand {
  public:
    CInsertProgramsCommand(IListEditHost& host, CSVLFile& list, std::size_t position,
                           ProgramListOps::ProgramList programs, const QString& text);
    void redo() override;
    void undo() override;

    std::size_t Position() const { return position_; }
    std::size_t Count() const { return count_; }

  private:
    std::vector<std::size_t> Indexes() const;

    std::size_t position_;
    std::size_t count_;
    ProgramListOps::ProgramList held_;  ///< the programs while they are not in the list
};
