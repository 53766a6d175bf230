#pragma once
#include "channellist/editing/CListChangeCommand.h"
#include "channellist/editing/TextEdit.h"

/// Sets program texts (one press of a replace button). Undo restores the old texts.
class CTextEditCommand : public CListChangeCommand {
  public:
    CTextEditCommand(IListEditHost& host, CSVLFile& list, std::vector<TextEdit> edits,
                     const QString& text);
    void redo() override;
    void undo() override;

  private:
    void Apply(bool forward);
    std::vector<TextEdit> edits_;
    std::vector<std::size_t> changed_;  ///< ascending program indexes touched
};
