#pragma once
// The dialog "Optionen" (Extras / Einstellungen...): PID display, fade-out of
// dialogs, VCR back end and the guide's time offset. It edits the frame's
// options in memory on OK; the frame writes them to the settings when it closes.
#include <QDialog>
#include <functional>

#include "frame/CAppOptions.h"

class QAbstractSpinBox;
class QCheckBox;
class QLineEdit;
class QRadioButton;

class COptionsDialog : public QDialog {
    Q_OBJECT
  public:
    static constexpr int OffsetEditId = 1198;
    static constexpr int OffsetSpinId = 1197;
    static constexpr int MinOffset = -12;
    static constexpr int MaxOffset = 12;

    /// Fills the controls from `options`; OK writes them back.
    explicit COptionsDialog(CAppOptions& options, QWidget* parent = nullptr);

    /// Shows why OK refused the offset (default: a warning box). Replaceable for tests.
    void SetRefusalMessage(std::function<void(const QString&)> show) { refuse_ = std::move(show); }

    QRadioButton* PidDecimal() const { return pidDecimal_; }
    QRadioButton* PidHex() const { return pidHex_; }
    QCheckBox* FadeOutOff() const { return fadeOutOff_; }
    QRadioButton* HighLevel() const { return highLevel_; }
    QRadioButton* LowLevel() const { return lowLevel_; }
    /// The offset in hours as typed, with its spin buttons.
    QAbstractSpinBox* OffsetSpin() const { return offset_; }
    QLineEdit* OffsetEdit() const;

    /// OK: refuses an offset that is not a whole number from -12 to 12 (the
    /// dialog stays open), otherwise stores the four values and closes.
    void accept() override;

  private:
    CAppOptions& options_;
    QRadioButton* pidDecimal_;
    QRadioButton* pidHex_;
    QCheckBox* fadeOutOff_;
    QRadioButton* highLevel_;
    QRadioButton* lowLevel_;
    QAbstractSpinBox* offset_;
    std::function<void(const QString&)> refuse_;
};
