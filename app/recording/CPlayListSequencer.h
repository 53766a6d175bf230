#pragma once
// The order in which the VCR bar plays the playlist: each entry as many times
// in a row as its repetitions say, then the next one, after the last the
// first again. The sequencer keeps the cursor (the current entry), the plays
// of it still to do and the index last started; the player (the VCR bar)
// opens, plays and closes the titles.
//
// An entry removed from the list while its title plays: the sequencer only
// ever looks entries up by index and within the list's size, so the title
// plays on and, when it ends or stops, no entry takes the status.
#include <QDateTime>
#include <string>

#include "recording/CPlayListFile.h"

class IPlayListPlayer {
  public:
    virtual ~IPlayListPlayer() = default;
    virtual void CloseTitle() = 0;
    /// Opens and plays the file; false when that failed.
    virtual bool OpenAndPlay(const std::string& fileName) = 0;
    /// "Kein Eintrag in der Wiedergabeliste - Wiedergabe nicht möglich!"
    virtual void ShowEmptyList() = 0;
};

class CPlayListSequencer {
  public:
    CPlayListSequencer(CPlayListFile& list, IPlayListPlayer& player)
        : list_(list), player_(player) {}

    enum class Result { Played, EmptyList, Failed };
    /// "Play" with the playlist on: the next title.
    Result PlayNext(const QDateTime& now);
    /// The playing title was stopped, paused, closed or played to its end:
    /// its entry gets "Wiedergabe beendet". A stop while no title of the list
    /// plays starts the list from its first entry again.
    void TitleEnded();
    void Stopped();

    /// An index given with a VCR command: that entry is the next to play,
    /// with all its repetitions. An index before the first entry is the last.
    void SetCursor(int index);
    /// The title that failed to open is not tried again: the next play takes
    /// the entry after it.
    void SkipRestOfTitle() { remaining_ = 0; }

    bool TitlePlaying() const { return playing_; }
    int Cursor() const { return cursor_; }
    /// The entry of the playing title, null when none (or it was removed).
    CPlayListEntry* PlayingEntry();

  private:
    CPlayListFile& list_;
    IPlayListPlayer& player_;
    int cursor_ = 0;
    long long remaining_ = 1;
    int lastIndex_ = -1;
    int playingIndex_ = -1;  ///< entry of the playing title
    bool playing_ = false;
};
