#pragma once
// The VCR state the whole program shares: the VCR bar writes it, the frame's
// menu updater, the program switch, the remote keys, the playlist window and
// the timers read it. One object, owned by the application; GUI thread only.
// Also the command codes the bar takes (message 1230) and the enabling rules
// of the frame's VCR commands, which follow from the state alone.
#include <cstdint>

/// The codes of message 1230 (1..12; others are ignored).
enum class VcrCommand : int {
    OpenForPlayback = 1,
    Close = 2,
    Play = 3,
    DoubleSpeed = 4,
    HalfSpeed = 5,
    Pause = 6,
    Stop = 7,
    NextTitle = 8,
    Record = 9,
    PreviousTitle = 10,
    OpenForRecording = 11,
    SetFileName = 12,
};

/// The playlist index of message 1230 that leaves the cursor where it is.
inline constexpr std::uint32_t kKeepPlaylistIndex = 0x0FFFFFFF;

struct RecPlayState {
    int lowLevel = 1;      ///< back end: 0 the card's file method, 1 the network engine
    int playbackOpen = 0;  ///< 1 while a file is open for playback
    int recordOpen = 0;    ///< 1 while a file is open for recording
    int seeking = 0;       ///< 1 while the user drags the position slider
    std::uint32_t lengthMs = 0;
    int mode = 0;    ///< last mode the back end reported (RecordMode values)
    int format = 0;  ///< format of the open file (RecordFormat values)
    int usePlaylist = 0;
    double sizeMB = 0.0;
    bool playlistTitlePlaying = false;  ///< a title of the playlist plays

    /// Whether the back end reported that it records (mode 1).
    bool Recording() const { return mode == 1; }

    // Enabling of the frame's VCR commands.
    bool CanPlay() const { return playbackOpen == 1 || usePlaylist == 1; }
    bool CanCloseOrStop() const { return playbackOpen == 1 || recordOpen == 1; }
    bool CanChangeSpeedOrPause() const { return playbackOpen == 1; }
    bool CanRecord() const {
        return !Recording() && (recordOpen == 1 || (recordOpen == 0 && playbackOpen == 0));
    }
    /// Whether the frame command that posts `code` is enabled.
    bool CommandEnabled(VcrCommand code) const;
};

inline bool RecPlayState::CommandEnabled(VcrCommand code) const {
    switch (code) {
        case VcrCommand::Play:
            return CanPlay();
        case VcrCommand::Close:
        case VcrCommand::Stop:
            return CanCloseOrStop();
        case VcrCommand::DoubleSpeed:
        case VcrCommand::HalfSpeed:
        case VcrCommand::Pause:
            return CanChangeSpeedOrPause();
        case VcrCommand::Record:
            return CanRecord();
        default:
            return true;
    }
}
