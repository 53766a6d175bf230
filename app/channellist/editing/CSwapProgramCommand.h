#pragma once
#include <optional>
#include <string>

#include "channellist/CLnb.h"
#include "channellist/CProgramInfo.h"
#include "channellist/editing/CListChangeCommand.h"

/// Replaces one program's whole record by another (OK in the program dialog), and with it
/// the values of the LNB the program named (edited through "LNB-Parameter"). Redo and
/// undo swap the records in the list with the ones held here.
class CSwapProgramCommand : public CListChangeCommand {
  public:
    /// `other` is the record to swap in. With `alreadyApplied` the list already holds the
    /// new record and `other` is the old one: the first redo then does nothing.
    /// `otherLnb`, when given, is swapped with the list's LNB named `other.LnbName`.
    CSwapProgramCommand(IListEditHost& host, CSVLFile& list, std::size_t index, CProgramInfo other,
                        bool alreadyApplied, const QString& text,
                        std::optional<CLnb> otherLnb = std::nullopt);
    void redo() override;
    void undo() override;

  private:
    void Swap();
    std::size_t index_;
    CProgramInfo other_;
    std::string lnbName_;  // the LNB's key; looked up at each swap, never held by pointer
    std::optional<CLnb> otherLnb_;
    bool skipRedo_;
};
