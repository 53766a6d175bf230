#pragma once
// The timer recordings on the frame: the timer list from Timer.dat, its
// window on "Timerliste öffnen...", new timers from the program list's "Zur
// Timerliste addieren", from the guide's schedule and from the VCR's quick
// recording, the one-second scheduler on the VCR, the program switch and the
// guide, the pane "Status Timer", and the power-off at the end of a timer
// that asks for it. Lives as a child of the frame; the list is written back
// when it goes.
#include <QObject>
#include <QPointer>
#include <memory>

#include "recording/windows/ITimerDialogs.h"

class CEPGInfo;
class CGuideBinding;
class CMainFrame;
class CSleepInhibitor;
class CTimerDialogs;
class CTimerList;
class CTimerListWindow;
class CTimerScheduler;
class CTvBinding;
class CVcrBinding;
class IDeviceSet;
class QString;

class CTimerBinding : public QObject {
    Q_OBJECT
  public:
    CTimerBinding(CMainFrame& frame, CTvBinding& tv, CVcrBinding& vcr, CGuideBinding& guide,
                  IDeviceSet& card);
    ~CTimerBinding() override;

    CTimerList& List() const { return *list_; }
    CTimerScheduler& Scheduler() const { return *scheduler_; }
    /// A timer with "Power Off" ended: the program ends and then switches
    /// the machine off.
    bool PowerOffMarked() const { return powerOff_; }

  private:
    /// The timer dialog on `entry`; on OK the list takes it.
    bool AddThroughDialog(CTimerEntry entry, TimerDialogMode mode);
    void AddFromProgram(int index);
    bool AddFromGuide(const CEPGInfo& event);
    bool TakeQuickRecording(const QString& path, int format);
    void OpenListWindow();
    void EndWithPowerOff();

    CMainFrame& frame_;
    CTvBinding& tv_;
    CVcrBinding& vcr_;
    std::unique_ptr<CTimerDialogs> dialogs_;
    std::unique_ptr<CTimerList> list_;
    std::unique_ptr<CSleepInhibitor> inhibitor_;
    CTimerScheduler* scheduler_ = nullptr;
    QPointer<CTimerListWindow> window_;
    bool powerOff_ = false;
};

CTimerBinding* AttachTimers(CMainFrame& frame, CTvBinding& tv, CVcrBinding& vcr,
                            CGuideBinding& guide, IDeviceSet& card);
