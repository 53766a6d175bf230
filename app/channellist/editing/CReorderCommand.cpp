#include "channellist/editing/CReorderCommand.h"

#include <algorithm>

#include "channellist/editing/IListEditHost.h"

CReorderCommand::CReorderCommand(IListEditHost& host, CSVLFile& list,
                                 std::vector<std::size_t> order, std::vector<std::size_t> moved,
                                 const QString& text)
    : CListChangeCommand(host, list, text),
      order_(std::move(order)),
      inverse_(ProgramListOps::Inverse(order_)),
      movedBefore_(std::move(moved)) {
    movedAfter_.reserve(movedBefore_.size());
    for (const std::size_t old : movedBefore_) movedAfter_.push_back(inverse_[old]);
    std::sort(movedAfter_.begin(), movedAfter_.end());
}

void CReorderCommand::redo() { Apply(order_, movedAfter_); }

void CReorderCommand::undo() { Apply(inverse_, movedBefore_); }

void CReorderCommand::Apply(const std::vector<std::size_t>& order,
                            const std::vector<std::size_t>& where) {
    // The list may have been replaced since (another file read in resets the history,
    // so a size mismatch means a bug elsewhere): never index past it.
    if (order.size() != Programs().size()) return;
    ProgramListOps::Permute(Programs(), order);
    NotifyReordered(where);
}
