#pragma once
#include <QDialog>

class QPlainTextEdit;
class QPushButton;

/// The dialog "Crash Details": the crash report in a read-only edit with a
/// fixed-width font (object name "1002") and one button "OK".
class CCrashDialog : public QDialog {
    Q_OBJECT
  public:
    static inline const QString Title = QStringLiteral("Crash Details");
    static inline const QString EditName = QStringLiteral("1002");

    /// `report` as the report is written, with "\r\n" line ends.
    explicit CCrashDialog(const QString& report, QWidget* parent = nullptr);

    QPlainTextEdit* Edit() const { return edit_; }
    QPushButton* OkButton() const { return ok_; }

  private:
    QPlainTextEdit* edit_ = nullptr;
    QPushButton* ok_ = nullptr;
};
