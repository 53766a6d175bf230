// SVL_Editor: channel-list editor and TV application.
#include <QApplication>

#include "frame/CSVL_EditorApp.h"
#include "shell/ProgramExtensions.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    CSVL_EditorApp::SetupSettingsStore();
    CSVL_EditorApp editor;
    // Clipboard, undo, find/replace, printing and the program dialogs on the
    // frame's commands and view.
    editor.AddFrameExtension(&AttachProgramExtensions);
    if (!editor.InitInstance(QApplication::arguments())) return 0;
    return QApplication::exec();
}
