#include "shell/ProgramMain.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QSettings>

#include "Allgemein/CGuardedApplication.h"
#include "frame/CMainFrame.h"
#include "frame/CSVL_EditorApp.h"
#include "receiver/CKestrelCard.h"
#include "shell/CCiBinding.h"
#include "shell/CFrameEditBinding.h"
#include "shell/CGuideBinding.h"
#include "shell/CScanBinding.h"
#include "shell/CTimerBinding.h"
#include "shell/CTvBarsBinding.h"
#include "shell/CTvBinding.h"
#include "shell/CTvWindowBinding.h"
#include "shell/CVcrBinding.h"
#include "shell/CVideoDisplayAdapter.h"
#include "shell/CVideotextBinding.h"
#include "shell/ProgramExtensions.h"
#include "tv/CTvCardLifecycle.h"
#include "tv/TvTexts.h"

namespace {

// WIN.INI lives beside the program's own settings.
QString FirmwareFolder() {
    const QString folder = QFileInfo(QSettings().fileName()).absolutePath();
    QSettings winIni(folder + QStringLiteral("/win.ini"), QSettings::IniFormat);
    return CardStartUp::FirmwareFolder(winIni);
}

}  // namespace

void DescribeProgramForCrashReport(CGuardedApplication& app) {
    app.SetProgramPath(CSVL_EditorApp::ProgramPath());
    app.SetVersionText(CSVL_EditorApp::VersionText());
}

int RunProgram() {
    CSVL_EditorApp::SetupSettingsStore();
    // The card: the client library connected when it was loaded; the frame
    // brings it onto the event loop and up when it is built, and leaves it
    // when it goes.
    CKestrelCard link;
    CTvCardLifecycle card(link, [&link] { return link.Devices(); });
    card.SetFirmwareFolder(FirmwareFolder());
    card.SetErrorBox([](const QString& message) {
        QMessageBox box(QMessageBox::NoIcon, TvTexts::ErrorCaption, message, QMessageBox::Ok);
        box.exec();
    });
    // The video window library: one object for the program's life.
    CVideoDisplayAdapter video;
    CSVL_EditorApp editor;
    editor.SetCardLifecycle(&card);
    // Clipboard, undo, find/replace, printing and the program dialogs on the
    // frame's commands and view; the TV part and its bars on the card.
    editor.AddFrameExtension(&AttachProgramExtensions);
    editor.AddFrameExtension([&card, &link, &video](CMainFrame& frame, CSVL_EditorDoc& doc) {
        IDeviceSet* devices = card.Devices();
        CTvBinding* tv = nullptr;
        if (devices) {
            tv = new CTvBinding(frame, doc, *devices);
            CGuideBinding* guide = AttachGuide(frame, *tv, *devices);
            CVcrBinding* vcr = AttachVcr(frame, *devices);
            AttachTimers(frame, *tv, *vcr, *guide, *devices);
            AttachCi(frame, *tv, *devices);
            AttachVideotext(frame, *tv, [&link] { return link.Receiver(); });
        }
        // The scan merges through the list editor's history; without a card it says so.
        if (auto* editing = frame.findChild<CFrameEditBinding*>())
            AttachScan(frame, editing->Editor(), tv, devices);
        AttachTvBars(frame, devices);
        AttachTvWindow(frame, video, devices);
    });
    if (!editor.InitInstance(QApplication::arguments())) return 0;
    return QApplication::exec();
}
