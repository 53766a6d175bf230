// Grabs the replace dialog and the find dialog to PNG files, for the documentation:
//   editing_dialog_shots OUTPUT_DIR
// Run under a virtual X server (xvfb-run). Uses a settings file in OUTPUT_DIR's temporary
// sibling, never the user's settings.
#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

#include "channellist/editing/CBareListHost.h"
#include "channellist/editing/CFindDialog.h"
#include "channellist/editing/CListEditor.h"
#include "channellist/editing/CReplaceDialog.h"

namespace {
bool Grab(QWidget& w, const QString& path) {
    w.show();
    w.adjustSize();
    QApplication::processEvents();
    const bool ok = w.grab().save(path);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
    return ok;
}
}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: editing_dialog_shots OUTPUT_DIR\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QTemporaryDir temp;
    QSettings settings(temp.filePath(QStringLiteral("shots.ini")), QSettings::IniFormat);
    CBareListHost host;
    CSilentMessageSink messages;
    CListEditor editor(host, messages);

    CReplaceDialog replace(editor, settings);
    ReplaceRequest r;
    r.search = QStringLiteral("Sport");
    r.replacement = QStringLiteral("Sport 1");
    r.options = ReplaceOptions::FromBits(0x04 | 0x20);
    replace.SetRequest(r);
    CFindDialog find(editor);
    find.SetText(QStringLiteral("ZDF"));
    const bool ok = Grab(replace, out.filePath(QStringLiteral("replace-dialog.png"))) &&
                    Grab(find, out.filePath(QStringLiteral("find-dialog.png")));
    return ok ? 0 : 1;
}
