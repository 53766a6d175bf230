#include "shell/ProgramMain.h"

#include <QApplication>

#include "frame/CSVL_EditorApp.h"
#include "receiver/CKestrelCard.h"
#include "shell/ProgramExtensions.h"

int RunProgram() {
    CSVL_EditorApp::SetupSettingsStore();
    // The card: the client library connected when it was loaded; the frame
    // brings it onto the event loop when it is built and leaves it when it goes.
    CKestrelCard card;
    CSVL_EditorApp editor;
    editor.SetCardLifecycle(&card);
    // Clipboard, undo, find/replace, printing and the program dialogs on the
    // frame's commands and view.
    editor.AddFrameExtension(&AttachProgramExtensions);
    if (!editor.InitInstance(QApplication::arguments())) return 0;
    return QApplication::exec();
}
