#include "recording/windows/CTimerDialogs.h"

#include "recording/windows/CTimerDialog.h"

bool CTimerDialogs::EditTimer(CTimerEntry& entry, TimerDialogMode mode,
                              const TimerConflictCheck& conflict) {
    CTimerDialog dialog(entry, mode, *this, conflict, parent_);
    return dialog.exec() == QDialog::Accepted;
}
