#include "shell/ProgramExtensions.h"

#include "shell/CFrameDialogBinding.h"
#include "shell/CFrameEditBinding.h"

void AttachProgramExtensions(CMainFrame& frame, CSVL_EditorDoc& doc) {
    auto* editing = new CFrameEditBinding(frame, doc);
    // An OK in the program dialog becomes one undoable step of the editor.
    new CFrameDialogBinding(frame, doc, &editing->Editor());
}
