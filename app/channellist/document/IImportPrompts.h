#pragma once
#include <QString>

/// The dialogs of the .dvb import: file prompts and message boxes with a caption.
class IImportPrompts {
  public:
    virtual ~IImportPrompts() = default;
    /// Open prompt; the chosen existing file or empty on cancel.
    virtual QString AskImportFile(const QString& title, const QString& filter) = 0;
    /// Save prompt that asks before replacing a file; the path or empty on cancel.
    virtual QString AskImportTarget(const QString& title, const QString& filter) = 0;
    /// Error box (error icon, OK), in front of all windows.
    virtual void ShowImportError(const QString& caption, const QString& text) = 0;
    /// Yes/No question (question icon), in front of all windows; true for Yes.
    virtual bool AskImportYesNo(const QString& caption, const QString& text) = 0;
};
