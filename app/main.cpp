// SVL_Editor: channel-list editor and TV application.
#include <QApplication>

#include "frame/CSVL_EditorApp.h"

#ifdef SVL_HAVE_EDIT_BINDING
#include "frame/binding/ProgramExtensions.h"
#endif

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    CSVL_EditorApp::SetupSettingsStore();
    CSVL_EditorApp editor;
#ifdef SVL_HAVE_EDIT_BINDING
    // Clipboard, undo, find/replace, printing and the program dialogs on the
    // frame's commands and view.
    editor.AddFrameExtension(&AttachProgramExtensions);
#endif
    if (!editor.InitInstance(QApplication::arguments())) return 0;
    return QApplication::exec();
}
