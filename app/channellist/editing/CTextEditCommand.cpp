#include "channellist/editing/CTextEditCommand.h"

CTextEditCommand::CTextEditCommand(IListEditHost& host, CSVLFile& list, std::vector<TextEdit> edits,
                                   const QString& text)
    : CListChangeCommand(host, list, text), edits_(std::move(edits)) {
    std::vector<std::size_t> indexes;
    indexes.reserve(edits_.size());
    for (const TextEdit& e : edits_) indexes.push_back(e.index);
    changed_ = ProgramListOps::Normalized(std::move(indexes), Programs().size());
}

void CTextEditCommand::redo() { Apply(true); }
void CTextEditCommand::undo() { Apply(false); }

void CTextEditCommand::Apply(bool forward) {
    auto& programs = Programs();
    if (forward) {
        for (const TextEdit& e : edits_) {
            if (e.index < programs.size() && programs[e.index])
                FieldOf(*programs[e.index], e.field) = e.after;
        }
    } else {
        // Backwards, so that two edits of one field end at the first one's old text.
        for (auto it = edits_.rbegin(); it != edits_.rend(); ++it) {
            if (it->index < programs.size() && programs[it->index])
                FieldOf(*programs[it->index], it->field) = it->before;
        }
    }
    NotifyChanged(changed_);
}
