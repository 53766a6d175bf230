#pragma once
// The boxes and dialogs the timer list window and the timer dialog open,
// behind one interface so that tests answer them. CTimerDialogs shows the
// real ones.
#include <QString>
#include <functional>

#include "recording/CTIMERFile.h"
#include "recording/windows/IPlayListDialogs.h"

/// How the timer dialog starts: a new timer at the current time, a timer
/// for a guide event (the entry holds its times and name), or an existing
/// timer.
enum class TimerDialogMode { New, Guide, Edit };

/// The other timer that wants the tuner at the same time as the one given,
/// on another transponder; null when there is none.
using TimerConflictCheck = std::function<const CTimerEntry*(const CTimerEntry&)>;

class ITimerDialogs : public IRecordingMessages {
  public:
    /// A Yes/No question; true for Yes.
    virtual bool AskYesNo(const QString& caption, const QString& text) = 0;
    virtual void ShowWarning(const QString& caption, const QString& text) = 0;
    /// The chosen path, empty when the dialog was cancelled.
    virtual QString AskFile(const FileRequest& request) = 0;
    /// "Timer" on `entry`; true, with its settings changed, on OK.
    virtual bool EditTimer(CTimerEntry& entry, TimerDialogMode mode,
                           const TimerConflictCheck& conflict) = 0;
};
