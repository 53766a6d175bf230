#include "channellist/editing/CRemoveProgramsCommand.h"

CRemoveProgramsCommand::CRemoveProgramsCommand(IListEditHost& host, CSVLFile& list,
                                               std::vector<std::size_t> indexes,
                                               const QString& text)
    : CListChangeCommand(host, list, text),
      indexes_(ProgramListOps::Normalized(std::move(indexes), Programs().size())) {}

void CRemoveProgramsCommand::redo() {
    held_ = ProgramListOps::RemoveAt(Programs(), indexes_);
    NotifyRemoved(indexes_);
}

void CRemoveProgramsCommand::undo() {
    ProgramListOps::InsertAt(Programs(), indexes_, std::move(held_));
    held_.clear();
    NotifyInserted(indexes_);
}
