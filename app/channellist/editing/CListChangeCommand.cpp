#include "channellist/editing/CListChangeCommand.h"

#include "channellist/CSVLFile.h"
#include "channellist/editing/EditTexts.h"
#include "channellist/editing/IListEditHost.h"
#include "common/CommonTexts.h"

CListChangeCommand::CListChangeCommand(IListEditHost& host, CSVLFile& list, const QString& text)
    : QUndoCommand(text), host_(host), list_(list) {}

ProgramListOps::ProgramList& CListChangeCommand::Programs() { return list_.Programs; }

void CListChangeCommand::NotifyInserted(const std::vector<std::size_t>& ascending) {
    host_.ProgramsInserted(ascending);
    UpdateCount();
}

void CListChangeCommand::NotifyRemoved(const std::vector<std::size_t>& ascending) {
    host_.ProgramsRemoved(ascending);
    UpdateCount();
}

void CListChangeCommand::NotifyChanged(const std::vector<std::size_t>& ascending) {
    host_.ProgramsChanged(ascending);
}

void CListChangeCommand::NotifyReordered(const std::vector<std::size_t>& movedAscending) {
    host_.ProgramsReordered(movedAscending);
}

void CListChangeCommand::UpdateCount() {
    host_.SetProgramCountText(CommonText::ProgramCount(qint64(list_.Programs.size())));
}
