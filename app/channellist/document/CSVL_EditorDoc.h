#pragma once
#include <QObject>
#include <QString>

#include "channellist/CSVLFile.h"
#include "channellist/document/CRecentFileList.h"
#include "channellist/document/IDocumentPrompts.h"

/// The one document of the program: one channel list, its file name and its
/// modified state, and the file commands that act on it. Reading and writing
/// go through whole-file bytes; saving replaces the target atomically so the
/// previous file survives any failure.
class CSVL_EditorDoc : public QObject {
    Q_OBJECT
  public:
    enum class OpenResult { Opened, CannotOpen, FormatError };

    /// Files above this size are refused before reading (no list comes near it).
    static constexpr qint64 MaxFileSize = qint64(512) * 1024 * 1024;

    explicit CSVL_EditorDoc(IDocumentPrompts& prompts, QObject* parent = nullptr);

    CSVLFile& List() { return list_; }
    const CSVLFile& List() const { return list_; }
    int ProgramCount() const { return static_cast<int>(list_.Programs.size()); }

    const QString& PathName() const { return pathName_; }
    const QString& Title() const { return title_; }
    bool IsModified() const { return modified_; }
    void SetModifiedFlag(bool modified = true);

    /// New document: no path, not modified, title "Untitled"; the list is kept.
    void OnNewDocument();
    /// Reads the file into the list without asking anything first.
    OpenResult OnOpenDocument(const QString& path);
    /// Writes the list to the path; `newName` for save-as (the path becomes the document's).
    bool OnSaveDocument(const QString& path, bool newName);
    /// Writes the list as it is now to `path` (a copy to mail, for instance); the
    /// document keeps its own file, name and modified state. Shows the error on failure.
    bool SaveCopy(const QString& path);

    /// "Neu" and "Öffnen": open prompt, then the chosen file; false on cancel or failure.
    bool OnFileNew() { return OnFileOpen(); }
    bool OnFileOpen();
    bool OnFileSave();
    bool OnFileSaveAs();
    /// Opens entry `index` of the recent list; an entry that cannot be opened is dropped.
    bool OnOpenRecentFile(int index);
    /// Offers the changes for saving; false when the user cancelled or saving failed.
    bool SaveModified();
    /// Opens a file as the document (asks about unsaved changes first).
    bool OpenDocumentFile(const QString& path);

    /// First document of a run: the command-line file, else the last file
    /// used, else the open prompt. False means the program ends.
    bool OpenAtStartup(const QString& commandLineFile);

    /// Name offered by the save prompt.
    QString ProposedSaveName() const;

    const CRecentFileList& RecentFiles() const { return recent_; }

  signals:
    /// The list was replaced (opened or emptied): views rebuild from it.
    void documentChanged();
    void titleChanged(const QString& title);
    void modifiedChanged(bool modified);
    void recentFilesChanged();

  private:
    void SetPathName(const QString& path);
    void UpdateRecent(const QString& path, bool add);
    bool ReadFile(const QString& path, QByteArray& bytes);
    bool WriteList(const QString& path, bool removeOnFailure);

    IDocumentPrompts& prompts_;
    CSVLFile list_;
    QString pathName_;
    QString title_;
    bool modified_ = false;
    CRecentFileList recent_;
};
