#include "shell/CTimerBinding.h"

#include <QAction>
#include <QLabel>

#include "common/CommandIds.h"
#include "common/RecPlayState.h"
#include "frame/CFrameStatusBar.h"
#include "frame/CMainFrame.h"
#include "frame/view/CSVL_EditorView.h"
#include "guide/CEPGInfo.h"
#include "guide/CGuideReception.h"
#include "recording/CSleepInhibitor.h"
#include "recording/CTimerList.h"
#include "recording/CTimerScheduler.h"
#include "recording/CVcrCore.h"
#include "recording/LocalDateTime.h"
#include "recording/PowerOff.h"
#include "recording/TimerStore.h"
#include "recording/windows/CTimerDialogs.h"
#include "recording/windows/CTimerListWindow.h"
#include "shell/CGuideBinding.h"
#include "shell/CTvBinding.h"
#include "shell/CVcrBinding.h"
#include "tv/CProgramNavigator.h"

CTimerBinding::CTimerBinding(CMainFrame& frame, CTvBinding& tv, CVcrBinding& vcr,
                             CGuideBinding& guide, IDeviceSet& card)
    : QObject(&frame),
      frame_(frame),
      tv_(tv),
      vcr_(vcr),
      dialogs_(std::make_unique<CTimerDialogs>(&frame)),
      list_(std::make_unique<CTimerList>(TimerFilePath(), *dialogs_)),
      inhibitor_(std::make_unique<CSleepInhibitor>()) {
    list_->LoadAtStartUp();

    TimerHooks hooks;
    hooks.switchProgram = [&tv](const CProgramInfo& p) { tv.Navigator().TuneForTimer(p); };
    hooks.stopGuideReception = [&guide] { guide.Reception().StopAll(); };
    hooks.vcrCommand = [&vcr](int code, const QString& text) {
        vcr.Core().Command(code, kKeepPlaylistIndex, text);
    };
    hooks.statusText = [&frame](const QString& text) {
        frame.StatusPanes()->SetPaneText(PaneId::TimerStatus, text);
    };
    hooks.powerOff = [this] { EndWithPowerOff(); };
    RecPlayState& state = frame.VcrState();
    scheduler_ = new CTimerScheduler(list_->Entries(), state, vcr.HighLevel(), vcr.LowLevel(), card,
                                     std::move(hooks), this);
    scheduler_->SetSleepInhibitor(inhibitor_.get());
    scheduler_->Start();

    vcr.SetQuickRecording(
        [this](const QString& path, int format) { return TakeQuickRecording(path, format); });
    guide.SetAddToTimerList([this](const CEPGInfo& event) { return AddFromGuide(event); });
    if (auto* view = qobject_cast<CSVL_EditorView*>(frame.View()))
        connect(view, &CSVL_EditorView::addToTimerListRequested, this,
                &CTimerBinding::AddFromProgram);
    QAction* open = frame.Action(Cmd::TimerList);
    open->setEnabled(true);
    connect(open, &QAction::triggered, this, &CTimerBinding::OpenListWindow);
}

CTimerBinding::~CTimerBinding() {
    scheduler_->Stop();
    list_->Save();
    inhibitor_->Release();
    if (!powerOff_) return;
    QString error;
    if (!RunPowerOffCommand(error)) qWarning("power-off: %s", qPrintable(error));
}

bool CTimerBinding::AddThroughDialog(CTimerEntry entry, TimerDialogMode mode) {
    const TimerConflictCheck conflict = [this](const CTimerEntry& e) {
        return list_->FindConflict(e, -1);
    };
    if (!dialogs_->EditTimer(entry, mode, conflict)) return false;
    list_->Add(entry.program, entry.Settings());
    emit scheduler_->listChanged();
    return true;
}

void CTimerBinding::AddFromProgram(int index) {
    if (const CProgramInfo* program = tv_.ProgramAt(index))
        AddThroughDialog(CTimerList::NewEntry(*program, QDateTime::currentDateTime()),
                         TimerDialogMode::New);
}

bool CTimerBinding::AddFromGuide(const CEPGInfo& event) {
    const QDateTime start = LocalDateTime::ToLocal(event.Start);
    if (!start.isValid()) return false;
    CTimerEntry entry =
        CTimerList::GuideEntry(event.Program, QString::fromStdString(event.EventName), start,
                               event.DurationMinutes() * 60);
    // The event's name alone would record wherever the card runs: the file
    // goes to the recordings' folder.
    entry.fileName =
        (CVcrCore::RecordingFolder() + QString::fromStdString(entry.fileName)).toStdString();
    return AddThroughDialog(std::move(entry), TimerDialogMode::Guide);
}

bool CTimerBinding::TakeQuickRecording(const QString& path, int format) {
    const CProgramInfo* tuned = tv_.TunedProgram();
    if (!tuned) return false;  // nothing tuned: the bar records what the card has
    list_->AddQuickRecording(*tuned, path, format, QDateTime::currentDateTime());
    emit scheduler_->listChanged();
    return true;
}

void CTimerBinding::OpenListWindow() {
    if (window_) return window_->raise();
    CTimerListWindow window(*list_, &frame_);
    window_ = &window;
    connect(scheduler_, &CTimerScheduler::listChanged, &window, &CTimerListWindow::Refresh);
    window.exec();
}

void CTimerBinding::EndWithPowerOff() {
    powerOff_ = true;
    vcr_.LowLevel().Close();
    frame_.close();
}

CTimerBinding* AttachTimers(CMainFrame& frame, CTvBinding& tv, CVcrBinding& vcr,
                            CGuideBinding& guide, IDeviceSet& card) {
    return new CTimerBinding(frame, tv, vcr, guide, card);
}
