#pragma once
// The boxes and dialogs the playlist window and its entry dialog open, behind
// one interface so that tests answer them. CPlayListDialogs shows the real ones.
#include <QString>
#include <QStringList>

#include "recording/PlayListStore.h"

struct CPlayListEntry;

/// A file dialog: its title, its filters ("Name (patterns)") and, for saving,
/// the suffix given to a name typed without one.
struct FileRequest {
    enum class Mode { Open, Save };
    Mode mode = Mode::Open;
    QString title;
    QStringList filters;
    QString defaultSuffix;
    QString folder;          ///< where it starts; empty: the working folder
    QString selectedFilter;  ///< the filter shown first; empty: the first

    bool operator==(const FileRequest&) const = default;
};

class IPlayListDialogs : public IRecordingMessages {
  public:
    /// A Yes/No question; true for Yes.
    virtual bool AskYesNo(const QString& caption, const QString& text) = 0;
    virtual void ShowWarning(const QString& caption, const QString& text) = 0;
    /// The chosen path, empty when the dialog was cancelled.
    virtual QString AskFile(const FileRequest& request) = 0;
    /// "Playlisteneintrag" on `entry`; true, with `entry` changed, on OK.
    virtual bool EditEntry(CPlayListEntry& entry) = 0;
};
