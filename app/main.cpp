// SVL_Editor: channel-list editor and TV application.
#include <QApplication>

#include "frame/CSVL_EditorApp.h"
#include "receiver/CCardFailureReport.h"
#include "receiver/CKestrelCard.h"
#include "shell/ProgramExtensions.h"

// Called by the client library before main when it cannot reach the card; the
// library has written the message to standard error and ends the process
// with exit code 1 once this returns.
extern "C" void KestrelReportFatal(const char* message) { CCardFailureReport::Show(message); }

int main(int argc, char** argv) {
    QApplication app(argc, argv);
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
