#pragma once
// "Playlisteneintrag": edits one entry of the playlist. The file is chosen
// with ".." (or typed); its play length is measured then and shown, not
// edited. The last-played time is the date picker's day at the time
// picker's time. OK refuses a pause or repetition count out of its range
// with a message and keeps the dialog open; otherwise it writes the file
// name, play length, last-played time, pause, repetitions and power-off
// into the entry. Cancel leaves the entry as it was.
#include <QDialog>
#include <QString>
#include <cstdint>
#include <optional>

#include "recording/CPlayListFile.h"

class IPlayListDialogs;
class QCheckBox;
class QDateEdit;
class QLineEdit;
class QTimeEdit;

class CPlayListEntryDialog : public QDialog {
    Q_OBJECT
  public:
    CPlayListEntryDialog(CPlayListEntry& entry, IPlayListDialogs& dialogs,
                         QWidget* parent = nullptr);

    void accept() override;
    /// "..": the file dialog for recordings; a chosen file is taken.
    void Browse();
    /// Takes `path` as the file name and shows its measured play length.
    void TakeFile(const QString& path);

  private:
    void BuildUi();
    void Fill();
    QLineEdit* NewNumberEdit(const QString& name);
    /// The number of `edit` within min..max, or the range message.
    std::optional<std::uint32_t> ReadNumber(QLineEdit* edit, std::uint32_t min, std::uint32_t max);
    void ShowPlayLength();

    CPlayListEntry& entry_;
    IPlayListDialogs& dialogs_;
    std::uint32_t playLengthMs_ = 0;
    QString measuredFile_;  // the file whose play length is shown
    QLineEdit* fileName_ = nullptr;
    QLineEdit* playLength_ = nullptr;
    QDateEdit* date_ = nullptr;
    QTimeEdit* time_ = nullptr;
    QLineEdit* pause_ = nullptr;
    QLineEdit* repetitions_ = nullptr;
    QCheckBox* powerOff_ = nullptr;
};
