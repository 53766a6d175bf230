// Takes screenshots of the main window for the documentation: starts the
// frame with a channel list in a real window (run it under Xvfb), grabs the
// screen area of the window in category mode, again as a plain list, and with
// the edit menu open. Every menu entry is printed with its state, for review.
// With the editing and dialog bindings in the build the frame gets them, as in
// the program. The TV bars sit on a stand-in card with sample readings (one
// status tick each), and the dialogs "Optionen", "Info über SVL_Editor" and
// "Systeminformationen" are grabbed as the user opens them.
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
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <functional>

#include "channellist/AtomicFile.h"
#include "channellist/CSVLFile.h"
#include "channellist/document/CDialogPrompts.h"
#include "channellist/document/CSVL_EditorDoc.h"
#include "common/CProgramState.h"
#include "common/CommandIds.h"
#include "frame/CDockingBar.h"
#include "frame/CMainFrame.h"
#include "frame/CSVL_EditorApp.h"
#include "frame/FrameTexts.h"
#include "receiver/CFakeDeviceSet.h"
#include "shell/CTvBarsBinding.h"
#include "shell/CTvWindowBinding.h"
#include "shell/ProgramExtensions.h"
#include "tv/CFakeVideoDisplay.h"
#include "tv/TvTexts.h"
#include "tv/bars/CDecoderStatusBar.h"
#include "tv/bars/CProgramStatusBar.h"
#include "tv/video/VideoPopupMenu.h"

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

bool GrabWidget(const QWidget& widget, const QString& path) {
    const QRect area = widget.frameGeometry();
    const QPixmap shot =
        widget.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    const bool ok = !shot.isNull() && shot.save(path);
    std::printf("%s %s (%dx%d)\n", ok ? "wrote" : "FAILED", qPrintable(path), shot.width(),
                shot.height());
    return ok;
}

// A card that answers with readings as a tuned transponder gives them.
void FillSampleReadings(CFakeDeviceSet& card) {
    card.signal.afc = -120;
    card.signal.quality = 87;
    card.signal.strengthTenths = 123;
    card.signal.berMantissa = 5;
    card.signal.berExponent = -10;
    card.channel.frequency = 11837000;
    card.channel.symbolRate = 27500000;
    card.channel.polarisation = 0;
    card.decoder.videoPid = 101;
    card.decoder.audioPid = 102;
    card.decoder.width = 720;
    card.decoder.height = 576;
    card.decoder.bitRate = 6500;
    card.decoder.format = 2;
    card.decoder.frameRate = 3;
    card.audioBufferFill = 42;
    card.manufacturer = "Emulierte Karte";
    card.boardType = "DVB-S";
    card.firmware = {0x10230105, 0x2A, 0x1F, "Jan 15 2024", "12:00:00"};
}

// Opens a dialog through `open` (which waits in the dialog's own loop) and
// hands the open dialog to `shoot` after `settleMs`; `shoot` closes it.
void WithModal(const std::function<void()>& open, int settleMs,
               const std::function<void(QWidget*)>& shoot) {
    QTimer::singleShot(settleMs, [shoot] {
        if (QWidget* modal = QApplication::activeModalWidget()) shoot(modal);
    });
    open();
}

// "Optionen", then the about box and "Systeminformationen" opened from it.
bool ShootDialogs(CMainFrame& frame, const QString& out) {
    bool ok = false;
    WithModal([&] { frame.Action(Cmd::Options)->trigger(); }, 600,
              [&](QWidget* options) {
                  ok = GrabWidget(*options, out + QStringLiteral("/options-dialog.png"));
                  options->close();
              });
    bool aboutOk = false, infoOk = false;
    WithModal([&] { frame.Action(Cmd::AppAbout)->trigger(); }, 600,
              [&](QWidget* about) {
                  aboutOk = GrabWidget(*about, out + QStringLiteral("/about-dialog.png"));
                  QPushButton* systemInfo = nullptr;
                  for (auto* button : about->findChildren<QPushButton*>())
                      if (button->text() == QStringLiteral("Systeminfo")) systemInfo = button;
                  if (systemInfo) {
                      // The clock row is filled about a second after the dialog opens.
                      WithModal([&] { systemInfo->click(); }, 1800,
                                [&](QWidget* info) {
                                    infoOk = GrabWidget(
                                        *info, out + QStringLiteral("/system-info-dialog.png"));
                                    info->close();
                                });
                  }
                  about->close();
              });
    return ok && aboutOk && infoOk;
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
    CFakeVideoDisplay video;  // no video window library: the TV window stays black
    CMainFrame frame(doc, state);
    prompts.SetParent(&frame);
    AttachProgramExtensions(frame, doc);
    CFakeDeviceSet card;
    FillSampleReadings(card);
    CTvBarsBinding* bars = AttachTvBars(frame, &card);
    bars->DecoderStatus()->Refresh();
    bars->ProgramStatus()->Refresh();
    AttachTvWindow(frame, video, &card);
    if (!doc.OpenDocumentFile(QString::fromLocal8Bit(argv[2]))) return 1;
    frame.setGeometry(0, 0, 1280, 1000);
    frame.show();
    Settle(1500);
    bool ok = Grab(frame, out + QStringLiteral("/main-window-categories.png"));
    frame.Action(Cmd::CategoryMode)->trigger();  // grouping off: the plain list
    Settle(800);
    ok = Grab(frame, out + QStringLiteral("/main-window-list.png")) && ok;
    PrintMenus(frame);

    // The docked TV bars by themselves, at full size.
    QRect barsArea;
    for (int id : {BarId::PictureBar, BarId::TvBar, BarId::DecoderBar, BarId::ProgramStatusBar})
        if (const CDockingBar* bar = frame.DockingBar(id))
            barsArea |= QRect(bar->mapToGlobal(QPoint(0, 0)), bar->size());
    ok = Grab(frame, out + QStringLiteral("/main-window-tv-bars.png"), barsArea) && ok;

    // The video window's TV menu over the list.
    QMenu* tvMenu =
        VideoPopupMenu::Build(TvTexts::TvMenuTitle, VideoMenuItems::TvMenu(false, true), &frame);
    tvMenu->popup(frame.mapToGlobal(QPoint(500, 300)));
    Settle(800);
    ok = Grab(frame, out + QStringLiteral("/tv-menu.png"),
              frame.frameGeometry().united(tvMenu->geometry())) &&
         ok;
    tvMenu->hide();

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
    ok = ShootDialogs(frame, out) && ok;
    return ok ? 0 : 1;
}
