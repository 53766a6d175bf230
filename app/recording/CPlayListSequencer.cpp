#include "recording/CPlayListSequencer.h"

CPlayListSequencer::Result CPlayListSequencer::PlayNext(const QDateTime& now) {
    if (playing_) {
        player_.CloseTitle();
        playing_ = false;
    }
    if (remaining_ <= 0) ++cursor_;
    if (cursor_ >= int(list_.entries.size())) cursor_ = 0;
    if (list_.entries.empty()) {
        player_.ShowEmptyList();
        return Result::EmptyList;
    }
    CPlayListEntry& entry = list_.entries[std::size_t(cursor_)];
    entry.status = CPlayListEntry::Playing;
    if (cursor_ != lastIndex_) {
        remaining_ = entry.repetitions;
        lastIndex_ = cursor_;
    }
    const bool played = player_.OpenAndPlay(entry.fileName);
    --remaining_;
    entry.lastPlayed = LocalDateTime::FromLocal(now);
    playing_ = played;
    playingIndex_ = cursor_;
    return played ? Result::Played : Result::Failed;
}

CPlayListEntry* CPlayListSequencer::PlayingEntry() {
    if (!playing_ || playingIndex_ < 0 || playingIndex_ >= int(list_.entries.size()))
        return nullptr;
    return &list_.entries[std::size_t(playingIndex_)];
}

void CPlayListSequencer::TitleEnded() {
    if (CPlayListEntry* entry = PlayingEntry()) entry->status = CPlayListEntry::Finished;
    playing_ = false;
}

void CPlayListSequencer::Stopped() {
    if (!playing_) {
        // From the first entry with all its plays: the cursor alone would
        // move on past it when the plays of the last title were done.
        cursor_ = 0;
        remaining_ = 1;
        lastIndex_ = -1;
        return;
    }
    TitleEnded();
}

void CPlayListSequencer::SetCursor(int index) {
    const int count = int(list_.entries.size());
    cursor_ = index < 0 ? (count > 0 ? count - 1 : 0) : index;
    // Taken as it stands: without this the next play would move past the
    // chosen entry whenever the plays of the title before were done.
    remaining_ = 1;
    lastIndex_ = -1;
}
