// SVL_Editor: channel-list editor and TV application.
#include <QApplication>

#include "frame/CSVL_EditorApp.h"

#ifdef SVL_HAVE_EDIT_BINDING
#include "editing/binding/CFrameEditBinding.h"
#include "frame/binding/CFrameDialogBinding.h"
#endif

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    CSVL_EditorApp::SetupSettingsStore();
    CSVL_EditorApp editor;
#ifdef SVL_HAVE_EDIT_BINDING
    // Clipboard, undo, find/replace, printing and the program dialogs on the
    // frame's commands and view (both children of the frame).
    editor.AddFrameExtension([](CMainFrame& frame, CSVL_EditorDoc& doc) {
        auto* editing = new CFrameEditBinding(frame, doc);
        new CFrameDialogBinding(frame, doc, &editing->Editor());
    });
#endif
    if (!editor.InitInstance(QApplication::arguments())) return 0;
    return QApplication::exec();
}
