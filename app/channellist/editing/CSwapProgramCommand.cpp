#include "channellist/editing/CSwapProgramCommand.h"

#include <utility>

CSwapProgramCommand::CSwapProgramCommand(IListEditHost& host, CSVLFile& list, std::size_t index,
                                         CProgramInfo other, bool alreadyApplied,
                                         const QString& text)
    : CListChangeCommand(host, list, text),
      index_(index),
      other_(std::move(other)),
      skipRedo_(alreadyApplied) {}

void CSwapProgramCommand::redo() {
    if (skipRedo_) {
        skipRedo_ = false;
        NotifyChanged({index_});
        return;
    }
    Swap();
}

void CSwapProgramCommand::undo() { Swap(); }

void CSwapProgramCommand::Swap() {
    auto& programs = Programs();
    if (index_ < programs.size() && programs[index_]) std::swap(*programs[index_], other_);
    NotifyChanged({index_});
}
