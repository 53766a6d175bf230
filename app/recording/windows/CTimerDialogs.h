#pragma once
// The timers' boxes and dialogs as the user sees them: the playlist's
// German message boxes and file dialog, and the timer dialog, over a parent
// window.
#include <QPointer>
#include <QWidget>

#include "recording/windows/CPlayListDialogs.h"
#include "recording/windows/ITimerDialogs.h"

class CTimerDialogs : public ITimerDialogs {
  public:
    explicit CTimerDialogs(QWidget* parent) : parent_(parent), boxes_(parent) {}

    void ShowError(const QString& caption, const QString& text) override {
        boxes_.ShowError(caption, text);
    }
    void ShowWarning(const QString& caption, const QString& text) override {
        boxes_.ShowWarning(caption, text);
    }
    bool AskYesNo(const QString& caption, const QString& text) override {
        return boxes_.AskYesNo(caption, text);
    }
    QString AskFile(const FileRequest& request) override { return boxes_.AskFile(request); }
    bool EditTimer(CTimerEntry& entry, TimerDialogMode mode,
                   const TimerConflictCheck& conflict) override;

  private:
    QPointer<QWidget> parent_;
    CPlayListDialogs boxes_;
};
