#pragma once
#include <QObject>
#include <functional>

#include "channellist/dialogs/DialogOptions.h"

class CListEditor;
class CLnbTable;
class CMainFrame;
class CProgramInfo;
class CSVL_EditorDoc;
class CSVL_EditorView;

/// Opens the program dialog "Programm bearbeiten" and the stream dialog for the
/// programs the list view asks for (context menu, double click in edit mode) and
/// for the frame's commands 32785 / 32786 on the first selected program. An OK in
/// the program dialog is recorded as one undoable step when an editor is given,
/// otherwise the document is just marked modified. Lives as a child of the frame.
class CFrameDialogBinding : public QObject {
    Q_OBJECT
  public:
    /// Shows the program dialog modally; true on OK. Replaceable for tests.
    using ProgramDialogRunner = std::function<bool(CProgramInfo&, CLnbTable*, int programNumber,
                                                   DialogOptions, QWidget* parent)>;
    /// Shows the stream dialog of a program.
    using StreamsDialogRunner =
        std::function<void(const CProgramInfo&, DialogOptions, QWidget* parent)>;

    /// `editor` may be null (no undo history then).
    CFrameDialogBinding(CMainFrame& frame, CSVL_EditorDoc& doc, CListEditor* editor);

    void SetProgramDialogRunner(ProgramDialogRunner runner) { runProgram_ = std::move(runner); }
    void SetStreamsDialogRunner(StreamsDialogRunner runner) { runStreams_ = std::move(runner); }

    /// The dialogs for the program at this document index (nothing for an invalid one).
    void EditProgram(int index);
    void ShowStreams(int index);

  private:
    DialogOptions Options() const;
    CProgramInfo* ProgramAt(int index) const;
    int FirstSelected() const;

    CMainFrame& frame_;
    CSVL_EditorDoc& doc_;
    CListEditor* editor_;
    CSVL_EditorView* view_;
    ProgramDialogRunner runProgram_;
    StreamsDialogRunner runStreams_;
};
