#pragma once
// The playlist on disk: "PlayList.dat" in the program's data folder, read at
// start-up and written back when the playlist window closes and at exit, and
// any "*.dat" file the user loads or saves. Saves are atomic. Every failure
// reaches the user as a German error box (through IRecordingMessages).
//
// A data file that cannot be read at start-up is not lost: before the empty
// one takes its place it is kept beside it as "PlayList.dat.bak", and the message says so.
#include <QString>
#include <string>

#include "recording/CPlayListFile.h"

class IRecordingMessages {
  public:
    virtual ~IRecordingMessages() = default;
    virtual void ShowError(const QString& caption, const QString& text) = 0;
};

/// The path of a data file such as "PlayList.dat" (AppDataLocation; the
/// folder is created).
std::string DataFilePath(const QString& name);

/// Start-up: a missing file is created empty without a word; one with a
/// wrong identifier, or cut short, is reported, kept aside and replaced by an
/// empty one. Every entry is "gestoppt" afterwards.
void LoadPlayListAtStartUp(const std::string& path, CPlayListFile& list,
                           IRecordingMessages& messages);
/// "Wiedergabeliste laden": false, with the list left empty, on an error.
bool LoadPlayListFrom(const std::string& path, CPlayListFile& list, IRecordingMessages& messages);
/// False, with the list and the file unchanged, on an error.
bool SavePlayList(const std::string& path, const CPlayListFile& list, IRecordingMessages& messages);
