#pragma once
// The playlist's boxes and dialogs as the user sees them: German message
// boxes, Qt's own file dialog and the entry dialog, over a parent window.
//
// The file dialog is Qt's widget dialog, not the desktop's: a filter such as
// "Alle Dateien (*.psa;*.mp2)" lists its patterns with semicolons, which
// neither Qt nor the desktop dialogs split; this dialog is told the patterns
// of the chosen filter itself.
#include <QPointer>
#include <QWidget>
#include <memory>

#include "recording/windows/IPlayListDialogs.h"

class QFileDialog;

class CPlayListDialogs : public IPlayListDialogs {
  public:
    explicit CPlayListDialogs(QWidget* parent) : parent_(parent) {}

    void ShowError(const QString& caption, const QString& text) override;
    void ShowWarning(const QString& caption, const QString& text) override;
    bool AskYesNo(const QString& caption, const QString& text) override;
    QString AskFile(const FileRequest& request) override;
    bool EditEntry(CPlayListEntry& entry) override;

    /// The file dialog of a request, set up but not shown.
    static std::unique_ptr<QFileDialog> MakeFileDialog(const FileRequest& request, QWidget* parent);
    /// The patterns of a filter: "Alle (*.psa;*.mp2 *.ts)" gives *.psa, *.mp2, *.ts.
    static QStringList FilterPatterns(const QString& filter);

  private:
    QPointer<QWidget> parent_;
};
