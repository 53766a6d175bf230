#pragma once
// The about box "Info über SVL_Editor": the program's name and version, and
// the button "Systeminfo", which asks for the system information (the frame
// does not know the card, so whoever does opens it).
#include <QDialog>

class CAboutDialog : public QDialog {
    Q_OBJECT
  public:
    /// `versionText` is shown as "Version <text>".
    explicit CAboutDialog(const QString& versionText, QWidget* parent = nullptr);

  signals:
    /// "Systeminfo" was pressed; the about box stays open.
    void systemInfoRequested();
};
