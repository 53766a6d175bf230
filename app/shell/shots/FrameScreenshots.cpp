// Takes screenshots of the main window for the documentation: starts the
// frame with a channel list in a real window (run it under Xvfb), grabs the
// screen area of the window in category mode, again as a plain list, and with
// the edit menu open. Every menu entry is printed with its state, for review.
// With the editing and dialog bindings in the build the frame gets them, as in
// the program.
// Usage: frame_screenshots OUTDIR LIST.svl
// Settings and data folders are temporary, so nothing of the user is touched.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

#include "channellist/AtomicFile.h"
#include "channellist/CSVLFile.h"
#include "channellist/document/CDialogPrompts.h"
#include "channellist/document/CSVL_EditorDoc.h"
#include "common/CProgramState.h"
#include "common/CommandIds.h"
#include "frame/CMainFrame.h"
#include "frame/CSVL_EditorApp.h"
#include "frame/FrameTexts.h"
#include "shell/ProgramExtensions.h"

namespace {
bool Grab(const CMainFrame& frame, const QString& path, QRect area = {}) {
    if (area.isNull()) area = frame.frameGeometry();
    const QPixmap shot =
        frame.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    const bool ok = !shot.isNull() && shot.save(path);
    std::printf("%s %s (%dx%d)\n", ok ? "wrote" : "FAILED", qPrintable(path), shot.width(),
                shot.height());
    return ok;
}

// Each menu with its entries as the user sees them on opening it (the menus
// update their entries then): "+" enabled, "-" disabled, "[x]" checked.
void PrintMenus(const CMainFrame& frame) {
    for (QAction* top : frame.menuBar()->actions()) {
        std::printf("%s\n", qPrintable(top->text()));
        if (!top->menu()) continue;
        emit top->menu()->aboutToShow();
        for (QAction* a : top->menu()->actions()) {
            if (a->isSeparator()) {
                std::printf("    ----\n");
                continue;
            }
            std::printf("  %s %s%s%s\n", a->isEnabled() ? "+" : "-", a->isChecked() ? "[x] " : "",
                        qPrintable(a->text()), a->menu() ? " >" : "");
        }
    }
}

void Settle(int ms) {
    QTimer wait;
    wait.setSingleShot(true);
    wait.start(ms);
    while (wait.isActive()) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
}

QAction* EditMenuAction(const CMainFrame& frame, int id) {
    for (QAction* top : frame.menuBar()->actions())
        if (top->menu())
            for (QAction* a : top->menu()->actions())
                if (a->data().toInt() == id) return a;
    return nullptr;
}

// "Reihenfolge übernehmen..." as the user runs it: the file dialog takes a
// reference list (the open list reversed), then the summary is grabbed.
bool ShootReferenceSummary(CMainFrame& frame, CSVL_EditorDoc& doc, const QString& out) {
    QAction* apply = EditMenuAction(frame, Cmd::ApplyReferenceOrder);
    if (!apply) return false;
    CSVLFile reference;
    for (auto it = doc.List().Programs.rbegin(); it != doc.List().Programs.rend(); ++it)
        reference.Programs.push_back(std::make_unique<CProgramInfo>(**it));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Referenz.svl"));
    if (!SaveFileAtomically(QFile::encodeName(path).toStdString(), reference.Store(), nullptr))
        return false;
    // The dialogs run in nested event loops: a timer answers them as they come.
    bool ok = false;
    int waited = 0;
    QTimer step;
    QObject::connect(&step, &QTimer::timeout, [&] {
        waited += 250;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (!w->isVisible()) continue;
            if (auto* dialog = qobject_cast<QFileDialog*>(w)) {
                // Typed into the file name field, then OK, as a user does.
                if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                    name->setText(path);
                static_cast<QDialog*>(dialog)->accept();
                return;
            }
            if (auto* box = qobject_cast<QMessageBox*>(w); box && waited > 1500) {
                ok = Grab(frame, out + QStringLiteral("/main-window-reference-order.png"),
                          frame.frameGeometry().united(box->frameGeometry()));
                box->close();
                return;
            }
        }
        if (waited > 10000) step.stop();
    });
    step.start(250);
    apply->trigger();
    return ok;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: frame_screenshots OUTDIR LIST.svl\n");
        return 2;
    }
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + "/data").toUtf8());
    QApplication app(argc, argv);
    CSVL_EditorApp::SetupSettingsStore();
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);

    CDialogPrompts prompts;
    CSVL_EditorDoc doc(prompts);
    CProgramState state;
    CMainFrame frame(doc, state);
    prompts.SetParent(&frame);
    AttachProgramExtensions(frame, doc);
    if (!doc.OpenDocumentFile(QString::fromLocal8Bit(argv[2]))) return 1;
    frame.setGeometry(0, 0, 1280, 800);
    frame.show();
    Settle(1500);
    bool ok = Grab(frame, out + QStringLiteral("/main-window-categories.png"));
    frame.Action(Cmd::CategoryMode)->trigger();  // grouping off: the plain list
    Settle(800);
    ok = Grab(frame, out + QStringLiteral("/main-window-list.png")) && ok;
    PrintMenus(frame);

    // The edit menu open over the list.
    QMenu* edit =
        frame.menuBar()->actions().size() > 1 ? frame.menuBar()->actions().at(1)->menu() : nullptr;
    if (edit) {
        const QRect item = frame.menuBar()->actionGeometry(frame.menuBar()->actions().at(1));
        edit->popup(frame.menuBar()->mapToGlobal(item.bottomLeft()));
        Settle(800);
        ok = Grab(frame, out + QStringLiteral("/main-window-edit-menu.png"),
                  frame.frameGeometry().united(edit->geometry())) &&
             ok;
        edit->hide();
    }

    // The quick filter narrowing the list.
    if (auto* filter = frame.findChild<QLineEdit*>(FrameTexts::QuickFilter)) {
        filter->setText(QStringLiteral("Das"));
        Settle(800);
        ok = Grab(frame, out + QStringLiteral("/main-window-quick-filter.png")) && ok;
        filter->clear();
    }
    ok = ShootReferenceSummary(frame, doc, out) && ok;
    return ok ? 0 : 1;
}
