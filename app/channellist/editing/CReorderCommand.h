#pragma once
#include <cstddef>
#include <vector>

#include "channellist/editing/CListChangeCommand.h"

/// Puts the program list into a new order (moving, sorting, a reference order). Redo
/// applies the order, undo its inverse; both keep the moved programs selected.
class CReorderCommand : public CListChangeCommand {
  public:
    /// `order` as ProgramListOps::Permute takes it; `moved` are the ascending indexes,
    /// before the change, of the programs the user moved (the selection to keep).
    CReorderCommand(IListEditHost& host, CSVLFile& list, std::vector<std::size_t> order,
                    std::vector<std::size_t> moved, const QString& text);
    void redo() override;
    void undo() override;

  private:
    void Apply(const std::vector<std::size_t>& order, const std::vector<std::size_t>& where);

    std::vector<std::size_t> order_;
    std::vector<std::size_t> inverse_;
    std::vector<std::size_t> movedBefore_;  // ascending, old places
    std::vector<std::size_t> movedAfter_;   // ascending, new places
};
