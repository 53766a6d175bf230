#pragma once
// When each chunk of a file is due, so that playback over the network keeps
// the stream's own pace: nothing slows a sender on the card's loopback
// network, and a card fed faster than it decodes drops what it cannot hold.
//
// MPEG audio and raw samples have a fixed rate: a chunk is due when the
// play time of everything read before it has passed (MPEG audio by its bit
// rate, raw samples at 48 kHz, stereo, 16 bits). PVA packets and transport
// streams carry time stamps: a chunk is due when the distance of its stamp
// (the PTS of a PVA packet, the PCR of a transport stream packet) from the
// first one has passed; the first stream (PVA) or PID (transport stream)
// seen with a stamp is the clock, and chunks without one go right after the
// chunk before. A stamp that jumps by more than kJumpMs either way, or a
// sender more than kLateMs behind, starts the count anew instead of racing
// or stalling. Half speed takes twice as long, double speed half as long.
#include <chrono>
#include <cstdint>
#include <optional>

#include "recording/StreamChunks.h"
#include "recording/StreamFileScan.h"

class CPlaybackPacer {
  public:
    using Clock = std::chrono::steady_clock;
    static constexpr double kJumpMs = 2000;
    static constexpr double kLateMs = 1000;
    /// Bytes per millisecond of the raw samples: 48 kHz, two channels of 16 bits.
    static constexpr double kPcmBytesPerMs = 192;

    explicit CPlaybackPacer(StreamKind kind) : kind_(kind) {}

    /// The next chunk goes at once and those after it keep their distance
    /// from it: at the start, after a pause, a seek or a change of speed.
    void Restart() { anchored_ = false; }
    /// A new speed restarts the count.
    void SetSpeed(PlaySpeed speed);
    /// When `chunk` is due; `now` is the moment it was read.
    Clock::time_point Due(const StreamChunk& chunk, Clock::time_point now);

  private:
    /// The chunk's place on the stream's time line in ms; nothing when it has none.
    std::optional<double> MediaTime(const StreamChunk& chunk);
    std::optional<double> Stamp(const StreamChunk& chunk);
    void Anchor(double media, Clock::time_point now);

    StreamKind kind_;
    PlaySpeed speed_ = PlaySpeed::Normal;
    bool anchored_ = false;
    Clock::time_point anchorWall_{};
    double anchorMedia_ = 0;
    double lastMedia_ = 0;
    Clock::time_point lastDue_{};
    double played_ = 0;                         ///< fixed-rate kinds: the play time read so far, ms
    std::optional<std::uint16_t> clockSource_;  ///< PVA stream id or transport stream PID
    std::optional<std::uint64_t> lastTicks_;    ///< the clock's last stamp, 90 kHz
    double ticks_ = 0;                          ///< the stamps unwrapped, 90 kHz
};
