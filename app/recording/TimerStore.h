#pragma once
// The timer list on disk: "Timer.dat" in the program's data folder, read at
// start-up and written whenever the list was changed (a timer added, the
// timer list window closed) and at exit. Saves are atomic.
//
// A file that cannot be read at start-up is never silently lost: it is kept
// beside the new empty one as "Timer.dat.bak" (an older copy is replaced),
// and the message says so.
#include <string>

#include "recording/CTIMERFile.h"
#include "recording/PlayListStore.h"

/// The data file's path (AppDataLocation, the folder is created).
std::string TimerFilePath();

/// A missing file is created empty without a word; one with a wrong
/// identifier, or whose entries do not read, is reported, kept aside and
/// replaced by an empty one. The list is empty after a failure.
void LoadTimersAtStartUp(const std::string& path, CTIMERFile& list, IRecordingMessages& messages);
/// False, with an error box naming the file and the reason, when the file
/// cannot be written; the file is then unchanged.
bool SaveTimers(const std::string& path, const CTIMERFile& list, IRecordingMessages& messages);
