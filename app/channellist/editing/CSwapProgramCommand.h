#pragma once
#include "channellist/CProgramInfo.h"
#include "channellist/editing/CListChangeCommand.h"

/// Replaces one program's whole record by another (OK in the program dialog). Redo and
/// undo swap the record in the list with the one held here.
class CSwapProgramCommand : public CListChangeCommand {
public:
    /// `other` is the record to swap in. With `alreadyApplied` the list already holds the
    /// new record and `other` is the old one: the first redo then does nothing.
    CSwapProgramCommand(IListEditHost& host, CSVLFile& list, std::size_t index,
                        CProgramInfo other, bool alreadyApplied, const QString& text);
    void redo() override;
    void undo() override;

private:
    void Swap();
    std::size_t index_;
    CProgramInfo other_;
    bool skipRedo_;
};
