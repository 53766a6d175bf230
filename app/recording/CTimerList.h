#pragma once
// The program's one timer list with its data file: what the timer windows,
// the program list's "Zur Timerliste addieren", the guide and the VCR's
// quick recording do to it. GUI thread only; the scheduler works on the same
// entries.
#include <QDateTime>
#include <QString>
#include <string>
#include <vector>

#include "recording/CTIMERFile.h"
#include "recording/PlayListStore.h"

class CTimerList {
  public:
    /// `path` is the data file (TimerFilePath() in the program); errors are
    /// shown through `messages`.
    CTimerList(std::string path, IRecordingMessages& messages);

    /// Reads the data file (see LoadTimersAtStartUp).
    void LoadAtStartUp();
    /// Writes the data file; false after the error box.
    bool Save();
    const std::string& Path() const { return path_; }

    std::vector<CTimerEntry>& Entries() { return file_.entries; }
    const std::vector<CTimerEntry>& Entries() const { return file_.entries; }

    /// A new timer for `program` as the dialog starts it: start and end at
    /// `now`, A/V PES, no file name.
    static CTimerEntry NewEntry(const CProgramInfo& program, const QDateTime& now);
    /// A timer for a guide event: its start, start plus its duration, the
    /// file name "<event>.pva".
    static CTimerEntry GuideEntry(const CProgramInfo& program, const QString& eventName,
                                  const QDateTime& start, int durationSec);
    /// `name` with every '/' and control character replaced by '_'.
    static QString SafeFileName(const QString& name);

    /// A timer from the dialog: a copy of `program` (streams included),
    /// armed, appended; the list is saved.
    void Add(const CProgramInfo& program, const TimerSettings& settings);
    /// The VCR's quick recording for the program tuned now: from `now` to
    /// the same time a year later, armed, appended, saved; the scheduler
    /// starts it at its next tick.
    void AddQuickRecording(const CProgramInfo& program, const QString& path, int vcrFormat,
                           const QDateTime& now);
    /// Replaces start, end, file name, format and flags; an entry that does
    /// not record is armed again.
    void Edit(int index, const TimerSettings& settings);
    /// Deletes the entries at `indexes` (in any order; others are ignored).
    void Delete(std::vector<int> indexes);
    void DeleteAll() { file_.entries.clear(); }

    /// The first entry but the one at `ownIndex` (-1 for a new timer) that
    /// wants the tuner at the same time as `candidate` on another
    /// transponder; null when there is none.
    const CTimerEntry* FindConflict(const CTimerEntry& candidate, int ownIndex) const;

  private:
    std::string path_;
    IRecordingMessages& messages_;
    CTIMERFile file_;
};
