// SVL_Editor: channel-list editor and TV application.
#include <QApplication>

#include "frame/CSVL_EditorApp.h"

#ifdef SVL_HAVE_EDIT_BINDING
#include "editing/binding/CFrameEditBinding.h"
#endif

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    CSVL_EditorApp::SetupSettingsStore();
    CSVL_EditorApp editor;
#ifdef SVL_HAVE_EDIT_BINDING
    // Clipboard, undo, find/replace and printing on the frame's commands (a child of the frame).
    editor.AddFrameExtension([](CMainFrame& frame, CSVL_EditorDoc& doc) { new CFrameEditBinding(frame, doc); });
#endif
    if (!editor.InitInstance(QApplication::arguments())) return 0;
    return QApplication::exec();
}
