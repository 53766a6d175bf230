#include "shell/CFrameDialogBinding.h"

#include <QAction>
#include <QMenu>
#include <optional>

#include "channellist/dialogs/CProgramDialog.h"
#include "channellist/dialogs/CStreamsDialog.h"
#include "channellist/document/CSVL_EditorDoc.h"
#include "channellist/editing/CListEditor.h"
#include "common/CommandIds.h"
#include "frame/CFrameMenus.h"
#include "frame/CMainFrame.h"
#include "frame/view/CSVL_EditorView.h"

CFrameDialogBinding::CFrameDialogBinding(CMainFrame& frame, CSVL_EditorDoc& doc,
                                         CListEditor* editor)
    : QObject(&frame),
      frame_(frame),
      doc_(doc),
      editor_(editor),
      view_(qobject_cast<CSVL_EditorView*>(frame.View())) {
    runProgram_ = [](CProgramInfo& program, CLnbTable* lnbs, int number, DialogOptions options,
                     QWidget* parent) {
        return CProgramDialog::Edit(program, lnbs, number, options, {}, parent);
    };
    runStreams_ = [](const CProgramInfo& program, DialogOptions options, QWidget* parent) {
        CStreamsDialog dialog(program, options, {}, parent);
        dialog.exec();
    };
    if (!view_) return;
    connect(view_, &CSVL_EditorView::editProgramRequested, this, &CFrameDialogBinding::EditProgram);
    connect(view_, &CSVL_EditorView::showStreamsRequested, this, &CFrameDialogBinding::ShowStreams);
    frame.Menus()->Enable(Cmd::EditProgram, [this] { view_->editSelectedPrograms(); });
    frame.Menus()->Enable(Cmd::ShowStreams, [this] { ShowStreams(FirstSelected()); });
    if (QMenu* menu = frame.Menus()->Menu(QStringLiteral("&Bearbeiten")))
        connect(menu, &QMenu::aboutToShow, this, [this] {
            const bool selected = FirstSelected() >= 0;
            frame_.Action(Cmd::EditProgram)->setEnabled(selected);
            frame_.Action(Cmd::ShowStreams)->setEnabled(selected);
        });
}

DialogOptions CFrameDialogBinding::Options() const {
    return DialogOptions::FromSettingValues(frame_.Options().pidHex,
                                            frame_.Options().fadeOutDisabled);
}

CProgramInfo* CFrameDialogBinding::ProgramAt(int index) const {
    auto& programs = doc_.List().Programs;
    if (index < 0 || std::size_t(index) >= programs.size()) return nullptr;
    return programs[std::size_t(index)].get();
}

int CFrameDialogBinding::FirstSelected() const {
    const std::vector<int> selected = view_ ? view_->selectedProgramIndexes() : std::vector<int>{};
    return selected.empty() ? -1 : selected.front();
}

void CFrameDialogBinding::EditProgram(int index) {
    CProgramInfo* program = ProgramAt(index);
    if (!program) return;
    const CProgramInfo before = *program;
    // "LNB-Parameter" edits the LNB the program names at opening, in place.
    std::optional<CLnb> lnbBefore;
    if (const CLnb* lnb = doc_.List().Lnbs.Find(before.LnbName)) lnbBefore = *lnb;
    if (!runProgram_(*program, &doc_.List().Lnbs, index + 1, Options(), &frame_)) return;
    // OK is always a change of the document, whatever the dialog changed.
    if (editor_) {
        editor_->RecordProgramEdit(std::size_t(index), before, std::move(lnbBefore));
        return;
    }
    doc_.SetModifiedFlag();
    if (view_) view_->refreshRows();
}

void CFrameDialogBinding::ShowStreams(int index) {
    if (const CProgramInfo* program = ProgramAt(index)) runStreams_(*program, Options(), &frame_);
}
