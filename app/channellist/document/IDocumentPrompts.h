#pragma once
#include <QString>

/// The answer to "save the changes?".
enum class SaveChangesAnswer { Yes, No, Cancel };

/// Every question and message the document shows. The program uses the
/// dialog implementation; tests put a scripted one in its place so that the
/// start-up and file rules run without any window.
class IDocumentPrompts {
  public:
    virtual ~IDocumentPrompts() = default;

    /// Open prompt; returns the chosen existing file or an empty string on cancel.
    virtual QString AskOpenFile(const QString& title, const QString& filter) = 0;
    /// Save prompt with a proposed name; returns the chosen path or empty on cancel.
    virtual QString AskSaveFile(const QString& title, const QString& filter,
                                const QString& proposedPath) = 0;
    /// Yes/No/Cancel question whether to save the changes of a document.
    virtual SaveChangesAnswer AskSaveChanges(const QString& text) = 0;
    /// Error message box (stop icon).
    virtual void ShowError(const QString& text) = 0;
};
