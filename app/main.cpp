// SVL_Editor: channel-list editor and TV application.
#include <QApplication>

#include "frame/CSVL_EditorApp.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    CSVL_EditorApp::SetupSettingsStore();
    CSVL_EditorApp editor;
    if (!editor.InitInstance(QApplication::arguments())) return 0;
    return QApplication::exec();
}
