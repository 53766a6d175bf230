#pragma once
#include <QObject>
#include <QUndoStack>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "channellist/CLnb.h"
#include "channellist/CProgramInfo.h"
#include "channellist/editing/ProgramListOps.h"
#include "channellist/editing/TextEdit.h"

class IListEditHost;
class CSVLFile;
class IMessageSink;

/// The editing commands of the program list: select all, copy, cut, paste, delete, and
/// every other change of the list as one undoable step on one undo stack.
///
/// The commands check their own availability, so a shortcut that fires while a command is
/// unavailable does nothing.
class CListEditor : public QObject {
    Q_OBJECT
  public:
    CListEditor(IListEditHost& host, IMessageSink& messages, QObject* parent = nullptr);
    ~CListEditor() override;

    QUndoStack* UndoStack() { return &undo_; }
    IListEditHost& Host() { return host_; }
    IMessageSink& Messages() { return messages_; }

    bool CanSelectAll() const;
    bool CanCopy() const;
    bool CanCut() const { return CanCopy(); }
    bool CanPaste() const;
    bool CanDelete() const;
    /// The selected programs can be moved: a list, a selection, and no category mode
    /// (headings group rows by provider, not by their place in the list).
    bool CanMove() const;
    bool CanReplace() const { return CanSelectAll(); }
    bool CanFind() const { return CanSelectAll(); }

    void SelectAll();
    /// Puts the selected programs on the clipboard; returns how many.
    std::size_t Copy();
    void Cut();
    void Paste();
    /// Pastes a block of copied programs (what Paste does with the clipboard's block);
    /// returns the number of programs inserted.
    std::size_t PasteBlock(std::span<const std::uint8_t> block);
    /// Deletes the selected programs without asking (the Delete key; also in category mode).
    void Delete();
    /// "Doppelte Programme": selects the listed programs that repeat an earlier listed one
    /// (ProgramListOps::LaterDuplicates), ready for the Delete key; says so when there are
    /// none. Returns how many were selected.
    std::size_t SelectDuplicates();
    /// Moves the selected programs before the program at document index
    /// `before` (the list's size: to the end), as a drop in the list does.
    void MoveSelectedBefore(std::size_t before);
    /// In category mode the order cannot be changed: shows the refusal and
    /// returns true (the reordering commands stay enabled and refuse, as
    /// printing does).
    bool RefusesReordering();
    /// Puts the whole list into the order of `reference` as one undoable step
    /// and reports how many programs were matched.
    void ApplyReferenceOrder(const CSVLFile& reference);
    /// Loads the reference list at `path` (a message when it cannot be
    /// loaded) and applies its order.
    void ApplyReferenceFile(const QString& path);
    /// Moves the selected programs among the listed rows as one step; they stay selected.
    void MoveSelected(ProgramListOps::Move how);
    /// The listed rows can be put into another order (a list with rows, no category mode).
    bool CanReorder() const;
    /// Puts the listed rows into the order `rearrange` gives the document indexes of the
    /// rows (in row order, ascending; it returns the same indexes in their new order), as
    /// one step named `text`. The selection stays on the same programs.
    void ReorderListed(const std::function<void(std::vector<std::size_t>& rows)>& rearrange,
                       const QString& text);

    /// Replaces the program at `index` by `value` (OK in the program dialog).
    void EditProgram(std::size_t index, CProgramInfo value);
    /// Records an edit already made in place (OK in the program dialog, always a step,
    /// changed or not): `before` is the program as it was, `lnbBefore` the LNB it named
    /// as it was, when the dialog could edit it.
    void RecordProgramEdit(std::size_t index, CProgramInfo before,
                           std::optional<CLnb> lnbBefore = std::nullopt);
    /// Inserts programs as one step, the first at `position` (clamped to the end).
    void InsertPrograms(std::size_t position, ProgramListOps::ProgramList programs,
                        const QString& text);
    /// One program replaced in place: the program at `index` becomes `value`.
    struct ProgramUpdate {
        std::size_t index = 0;
        CProgramInfo value;
    };
    /// Replaces programs in place and appends others at the end, all as one step
    /// named `text` (a channel scan merged into the list). Updates outside the
    /// list are left out.
    void UpdateAndAppend(std::vector<ProgramUpdate> updates, ProgramListOps::ProgramList appended,
                         const QString& text);
    /// Applies replaced texts as one step.
    void ApplyTextEdits(std::vector<TextEdit> edits);

    /// Forgets the history (another list was read into the document).
    void ResetHistory();
    /// The document was saved: undoing back to here clears the modified flag again.
    void MarkSaved();

  signals:
    /// The list, the history or the clipboard changed: command availability may differ.
    void AvailabilityChanged();

  private:
    /// Pushes the order as one step, unless it leaves every program where it is.
    /// The order a move gives: (list size, shown rows, moved programs) -> order.
    using MoveRule = std::function<std::vector<std::size_t>(
        std::size_t, const std::vector<std::size_t>&, const std::vector<std::size_t>&)>;
    void MoveSelectedBy(const MoveRule& rule);
    void PushOrder(std::vector<std::size_t> order, std::vector<std::size_t> moved,
                   const QString& text);
    std::vector<std::size_t> CollectForCopy(std::vector<const CProgramInfo*>& programs);

    bool ClipboardHasBlock() const;

    IListEditHost& host_;
    IMessageSink& messages_;
    QUndoStack undo_;
    /// Whether the clipboard holds a block, asked once per clipboard change: asking
    /// another program's clipboard costs a round trip, and availability is checked on
    /// every selection change.
    mutable std::optional<bool> clipboardHasBlock_;
};
