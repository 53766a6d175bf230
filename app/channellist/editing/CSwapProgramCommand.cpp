#include "channellist/editing/CSwapProgramCommand.h"

#include <utility>

#include "channellist/CSVLFile.h"

CSwapProgramCommand::CSwapProgramCommand(IListEditHost& host, CSVLFile& list, std::size_t index,
                                         CProgramInfo other, bool alreadyApplied,
                                         const QString& text, std::optional<CLnb> otherLnb)
    : CListChangeCommand(host, list, text),
      index_(index),
      other_(std::move(other)),
      lnbName_(other_.LnbName),
      otherLnb_(std::move(otherLnb)),
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
    if (otherLnb_) {
        if (CLnb* lnb = List().Lnbs.Find(lnbName_)) std::swap(*lnb, *otherLnb_);
    }
    NotifyChanged({index_});
}
