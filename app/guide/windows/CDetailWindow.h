#pragma once
// "Detailinfo": one event of the guide in a group box captioned with its
// name: program, start, duration, short text, age rating and the
// description box (GuideDetailText) below.
#include <QDialog>

class CEPGInfo;
class QPlainTextEdit;

class CDetailWindow : public QDialog {
    Q_OBJECT
  public:
    explicit CDetailWindow(const CEPGInfo& record, QWidget* parent = nullptr);

    /// The description box (read-only), for tests.
    QPlainTextEdit& Description() const { return *description_; }

  private:
    QPlainTextEdit* description_ = nullptr;
};
