#pragma once
// Where the VCR's command codes go: the frame's VCR commands, the playlist
// window, the timers and the remote keys post them to the VCR bar.
#include <cstdint>
#include <string>

#include "common/RecPlayState.h"

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
