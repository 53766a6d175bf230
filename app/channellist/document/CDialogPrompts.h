#pragma once
#include <QFileDialog>
#include <QPointer>
#include <QWidget>

#include "channellist/document/IDocumentPrompts.h"
#include "channellist/document/IImportPrompts.h"

/// The document's and the import's prompts as real dialogs: file dialogs and German message
/// boxes kept in front of the program's windows.
class CDialogPrompts : public IDocumentPrompts, public IImportPrompts {
  public:
    /// Dialogs are centred on `parent` once it is set (the main frame).
    void SetParent(QWidget* parent) { parent_ = parent; }

    QString AskOpenFile(const QString& title, const QString& filter) override;
    QString AskSaveFile(const QString& title, const QString& filter,
                        const QString& proposedPath) override;
    SaveChangesAnswer AskSaveChanges(const QString& text) override;
    void ShowError(const QString& text) override;

    QString AskImportFile(const QString& title, const QString& filter) override;
    QString AskImportTarget(const QString& title, const QString& filter) override;
    void ShowImportError(const QString& caption, const QString& text) override;
    bool AskImportYesNo(const QString& caption, const QString& text) override;

    /// Turns "name|pattern|name|pattern|" into the dialog's "name (pattern);;..." form.
    static QString ToDialogFilter(const QString& pipeFilter);

  private:
    struct FilePrompt {
        QString title;
        QString filter;  ///< pipe form
        QString suffix;  ///< appended to a name typed without one; empty: none
        QString proposedPath;
        QFileDialog::AcceptMode mode;
    };
    /// Runs one file dialog; the chosen path or empty on cancel.
    QString RunFileDialog(const FilePrompt& prompt);

    QPointer<QWidget> parent_;
};
