#pragma once
// Starts and ends the timer recordings: once a second (Tick) it walks the
// timer list in order, starts the first timer that is due through the VCR
// and the active back end, and ends a recording whose time is over. One-shot
// timers run from their start to their end date-time; weekly timers on their
// selected weekdays from the start's to the end's time of day, then wait
// armed for the next selected day. There is no lead or overrun time, and a
// timer whose whole span passed while the program was not running stays
// armed. GUI thread only; the clock and everything outside the recording
// part are hooks, so that tests drive them.
//
// While a timer records, the recording shows "Recording <file>" in the
// card's on-screen window 5, the frame's pane says "Status Timer: aktiv", and
// a sleep inhibitor (when given) keeps the desktop awake.
#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <vector>

#include "common/RecPlayState.h"
#include "recording/CTIMERFile.h"
#include "recording/IRecPlayBackEnd.h"

class CSleepInhibitor;
class IDeviceSet;

struct TimerHooks {
    /// The local time; the system clock without it.
    std::function<QDateTime()> now;
    /// Switches to the program without asking (the program switch's quiet form).
    std::function<void(const CProgramInfo&)> switchProgram;
    /// The guide receives nothing more until the next program switch.
    std::function<void()> stopGuideReception;
    /// Runs a VCR command code at once (CVcrCore::Command), never posted:
    /// each step of a start relies on the one before having run.
    std::function<void(int code, const QString& text)> vcrCommand;
    /// The settling pauses between back-end calls; a sleep without it.
    std::function<void(int ms)> wait;
    /// The frame's timer pane.
    std::function<void(const QString& text)> statusText;
    /// A recording with "Power Off" ended: the shell closes the network
    /// stream, marks the program for the power-off command and closes the
    /// main window.
    std::function<void()> powerOff;
};

class CTimerScheduler : public QObject {
    Q_OBJECT
  public:
    static constexpr int kTickMs = 1000;
    static constexpr std::uint8_t kOsdWindow = 5;

    /// `entries` is the timer list (CTimerList::Entries()); `state.lowLevel`
    /// chooses the back end at every call, as the VCR does.
    CTimerScheduler(std::vector<CTimerEntry>& entries, RecPlayState& state,
                    IRecPlayBackEnd& highLevel, IRecPlayBackEnd& lowLevel, IDeviceSet& devices,
                    TimerHooks hooks, QObject* parent = nullptr);

    /// The one-second timer.
    void Start() { timer_.start(); }
    void Stop() { timer_.stop(); }
    const QTimer& Timer() const { return timer_; }

    void Tick();
    /// A timer started a recording in the last tick.
    bool TimerRecording() const { return timerRecording_; }
    /// Held from each start of a recording to its end; none by default.
    void SetSleepInhibitor(CSleepInhibitor* inhibitor) { inhibitor_ = inhibitor; }

    /// The file a timer records into at `now`: a weekly timer's name gets
    /// "-DDMMYYYY-HHMMSS" before its extension (at its end without one),
    /// so that each week has its own file.
    static QString RecordingFileName(const CTimerEntry& entry, const QDateTime& now);

  signals:
    /// A status changed: the timer list window redraws.
    void listChanged();

  private:
    IRecPlayBackEnd& BackEnd() const { return state_.lowLevel ? lowLevel_ : highLevel_; }
    QDateTime Now() const;
    void TickWeekly(CTimerEntry& entry, const QDateTime& now);
    void TickOnce(CTimerEntry& entry, const QDateTime& now);
    void StartRecording(CTimerEntry& entry, const QDateTime& now);
    void StopRecording(const CTimerEntry& entry);
    void ShowOsd(const QString& path);
    void Vcr(VcrCommand code, const QString& text = {});
    void Wait(int ms) const;
    void StatusText(const QString& text) const;
    bool Recording() const;

    std::vector<CTimerEntry>& entries_;
    RecPlayState& state_;
    IRecPlayBackEnd& highLevel_;
    IRecPlayBackEnd& lowLevel_;
    IDeviceSet& devices_;
    TimerHooks hooks_;
    CSleepInhibitor* inhibitor_ = nullptr;
    QTimer timer_;
    bool timerRecording_ = false;
    bool startedNow_ = false;  ///< no timer started in this tick (yet)
};
