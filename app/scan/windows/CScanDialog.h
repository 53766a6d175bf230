#pragma once
// The dialog "Sendersuchlauf": where to search (one of the open list's LNBs,
// or the cable) and where the transponders come from (the list's programs on
// the LNB, the NIT of the tuned transponder, a transponder file, or the cable
// channel table). "Starten" checks the choice first and stays open with a
// message when the scan cannot be made.
#include <QDialog>
#include <functional>

#include "scan/windows/ScanChoices.h"

class CSVLFile;
class QButtonGroup;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

class CScanDialog : public QDialog {
    Q_OBJECT
  public:
    /// Checks a choice; false with the message to show.
    using Check = std::function<bool(const ScanChoice& choice, QString& error)>;

    /// The LNBs of `list` (offered when `satellite`), the cable when `cable`.
    CScanDialog(const CSVLFile& list, bool satellite, bool cable, QWidget* parent = nullptr);

    ScanChoice Choice() const;
    /// Shows an earlier choice again (an LNB the list no longer has is left out).
    void SetChoice(const ScanChoice& choice);
    void SetCheck(Check check) { check_ = std::move(check); }
    /// Shows a refusal; a message box unless replaced (tests).
    void SetErrorSink(std::function<void(const QString&)> sink) { showError_ = std::move(sink); }
    /// Asks for the transponder file; the file dialog unless replaced (tests).
    void SetFileChooser(std::function<QString()> chooser) { chooseFile_ = std::move(chooser); }

    void accept() override;

  private:
    void BuildReception(const CSVLFile& list, bool satellite, bool cable);
    QWidget* BuildSources();
    void UpdateEnabled();
    void ChooseFile();
    bool CableChosen() const;

    QComboBox* reception_ = nullptr;
    QButtonGroup* sources_ = nullptr;
    QRadioButton* fromList_ = nullptr;
    QRadioButton* fromNit_ = nullptr;
    QRadioButton* fromFile_ = nullptr;
    QRadioButton* fromCable_ = nullptr;
    QLineEdit* file_ = nullptr;
    QPushButton* browse_ = nullptr;
    QComboBox* qam_ = nullptr;
    QSpinBox* symbolRate_ = nullptr;
    Check check_;
    std::function<void(const QString&)> showError_;
    std::function<QString()> chooseFile_;
};
