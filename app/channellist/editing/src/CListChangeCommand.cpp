#include "editing/CListChangeCommand.h"

#include "channellist/CSVLFile.h"
#include "editing/EditTexts.h"
#include "editing/IListEditHost.h"

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

void CListChangeCommand::UpdateCount() {
    const qlonglong count = qlonglong(list_.Programs.size());
    host_.SetProgramCountText(QString::fromUtf8(EditText::ProgramCount).arg(count));
}
