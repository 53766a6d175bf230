#pragma once
// "Timer" (group "Eigenschaften"): the program, start and end (a date and a
// time picker each), the file with "..", the format, "Power Off" and the
// weekly program with its weekdays. Start and end are the date picker's day
// at the time picker's time.
//
// "Wochenprogramm" leaves the dates out (the two date pickers are disabled)
// and takes the weekdays instead. A timer that records can only have its
// end moved (and only its time of day when it is weekly) and its power-off
// set.
//
// OK refuses, with a box and the dialog left open: a one-shot timer whose
// end is not after its start or not after now, no file name, a weekly one
// without a weekday or whose end time of day is before its start's. A
// timer that overlaps another on a different transponder is warned about
// and taken. OK writes the settings into the entry; Cancel leaves it.
#include <QDateTime>
#include <QDialog>
#include <QString>
#include <array>

#include "recording/CTIMERFile.h"
#include "recording/windows/ITimerDialogs.h"

class QButtonGroup;
class QCheckBox;
class QDateEdit;
class QLineEdit;
class QPushButton;
class QTimeEdit;

class CTimerDialog : public QDialog {
    Q_OBJECT
  public:
    CTimerDialog(CTimerEntry& entry, TimerDialogMode mode, ITimerDialogs& dialogs,
                 TimerConflictCheck conflict = {}, QWidget* parent = nullptr);

    void accept() override;
    /// "..": the file dialog for recordings; a chosen file is taken.
    void Browse();
    /// Takes a chosen path: the format's extension when it has none, the
    /// format of its extension, its folder as the recordings' folder.
    void TakeFile(const QString& path);
    /// What the fields say now.
    TimerSettings Values() const;

    /// The extension of a format index ("uka" for none) and back (-1).
    static QString ExtensionOfFormat(int index);
    static int FormatOfExtension(const QString& extension);

  private:
    void BuildUi();
    QWidget* BuildTimeRow(QDateEdit*& date, QTimeEdit*& time, const char* name);
    QWidget* BuildFormatRow();
    QWidget* BuildWeekRow();
    void Fill(TimerDialogMode mode);
    void SetFormat(int index);
    void WeeklyToggled(bool weekly);
    void LockForRecording();
    bool Refuse(const QString& text);

    CTimerEntry& entry_;
    ITimerDialogs& dialogs_;
    TimerConflictCheck conflict_;
    QDateEdit* startDate_ = nullptr;
    QTimeEdit* startTime_ = nullptr;
    QDateEdit* endDate_ = nullptr;
    QTimeEdit* endTime_ = nullptr;
    QLineEdit* fileName_ = nullptr;
    QPushButton* browse_ = nullptr;
    QButtonGroup* formats_ = nullptr;
    QCheckBox* powerOff_ = nullptr;
    QCheckBox* weekly_ = nullptr;
    std::array<QCheckBox*, 7> days_{};
};
