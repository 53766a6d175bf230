#include "channellist/editing/CInsertProgramsCommand.h"

#include <algorithm>
#include <numeric>

CInsertProgramsCommand::CInsertProgramsCommand(IListEditHost& host, CSVLFile& list,
                                               std::size_t position,
                                               ProgramListOps::ProgramList programs,
                                               const QString& text)
    : CListChangeCommand(host, list, text),
      position_(std::min(position, Programs().size())),
      count_(programs.size()),
      held_(std::move(programs)) {}

void CInsertProgramsCommand::redo() {
    ProgramListOps::InsertRange(Programs(), position_, std::move(held_));
    held_.clear();
    NotifyInserted(Indexes());
}

void CInsertProgramsCommand::undo() {
    held_ = ProgramListOps::RemoveRange(Programs(), position_, count_);
    NotifyRemoved(Indexes());
}

std::vector<std::size_t> CInsertProgramsCommand::Indexes() const {
    std::vector<std::size_t> indexes(count_);
    std::iota(indexes.begin(), indexes.end(), position_);
    return indexes;
}
