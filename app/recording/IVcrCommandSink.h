#pragma once
// Where the VCR's command codes go: the frame's VCR commands, the playlist
// window, the timers and the remote keys post them to the VCR bar.
#include <cstdint>
#include <string>

/// The codes the bar dispatches (1..12; others are ignored).
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

/// The index that leaves the playlist cursor where it is.
inline constexpr std::uint32_t kKeepPlaylistIndex = 0x0FFFFFFF;

class IVcrCommandSink {
  public:
    virtual ~IVcrCommandSink() = default;
    /// Posts `code` with a playlist index (or kKeepPlaylistIndex); the bar
    /// acts on it from the event loop. `text` is the file name of code 12.
    virtual void PostVcrCommand(int code, std::uint32_t index, const std::string& text) = 0;
    void PostVcrCommand(VcrCommand code, std::uint32_t index = kKeepPlaylistIndex) {
        PostVcrCommand(static_cast<int>(code), index, std::string());
    }
};
