#pragma once
// What the VCR bar records and plays through: the card's own file method or
// the program's network engine. Both offer the same operations with the same
// results (1 success; anything else leaves the state as it was).
#include <cstdint>
#include <functional>
#include <string>

/// The five outputs of the status call.
struct RecPlayStatus {
    std::uint32_t lengthMs = 0;    ///< length of the file open for playback
    std::uint32_t kbits = 0;       ///< bit rate, kbit/s
    std::uint32_t positionMs = 0;  ///< elapsed recording time or playback position
    int mode = 0;                  ///< RecordMode value (0..7; others unknown)
    int format = 0;                ///< RecordFormat value of the open file
};

class IRecPlayBackEnd {
  public:
    virtual ~IRecPlayBackEnd() = default;
    /// `forPlayback` 1 opens for playback, 0 for recording.
    virtual int Open(const std::string& path, int format, int forPlayback) = 0;
    virtual int Record() = 0;
    virtual int Playback(std::uint32_t startMs) = 0;
    virtual int Pause() = 0;
    virtual int SlowPlayback(std::uint8_t speed) = 0;
    virtual int FastPlayback(int speed) = 0;
    virtual int Stop() = 0;
    virtual int Close() = 0;
    /// Fills `status` only when the result is 1.
    virtual int GetStatus(RecPlayStatus& status) = 0;
    /// While enabled, every change of the state calls `notify`. The call may
    /// come from another thread than the GUI thread: `notify` only posts.
    /// `message` is the number the announcement carries where the back end
    /// needs one.
    virtual int SetStatusChangedMessage(std::function<void()> notify, unsigned int message,
                                        int enable) = 0;
};
