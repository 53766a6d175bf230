// Plays a recording through the card's decoders on a thread of its own: the
// input's bytes are split into units (CPlaybackParser) and each is handed to
// the decoders when its time stamp says, so that pictures and sound come at
// the recording's pace (times the speed). The stamps handed on run on one
// line across the recording's jumps and speed changes, so that the output
// stage paces the pictures as it paces the live ones.
//
// Modes: normal (sound and picture), slow and fast (picture alone, at 1/n
// and n times the pace), forward winding (picture alone at kWindSpeed times)
// and backward winding: every kBackStep the playback goes kBackJump back and
// shows the pictures from there. Pause keeps the last picture.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "CMediaTimeline.h"
#include "CPlaybackParser.h"
#include "IPlaybackInput.h"

namespace nvdvbsrv {

class CPlayback {
  public:
    static constexpr double kWindSpeed = 4.0;
    static constexpr auto kBackStep = std::chrono::milliseconds(400);
    static constexpr auto kBackJump = std::chrono::milliseconds(2000);
    // Units are handed over this long before they are due.
    static constexpr auto kLead = std::chrono::milliseconds(100);

    enum class Pace { Normal, Slow, Fast, Forward, Backward };

    // lengthMs: of the whole input (0 unknown: no seeking).
    CPlayback(std::unique_ptr<IPlaybackInput> input, RecordFormat format, IPlaybackOutput& output,
              uint64_t lengthMs);
    ~CPlayback();
    CPlayback(const CPlayback&) = delete;
    CPlayback& operator=(const CPlayback&) = delete;

    // Plays on at that pace, from `fromMs` when given (else where it is);
    // factor: the n of slow and fast.
    void Play(Pace pace, double factor = 2.0, std::optional<uint64_t> fromMs = std::nullopt);
    void Pause();
    // Back to the start, not playing.
    void Stop();
    // The input ended (or backward winding reached the start): not playing.
    bool Ended() const { return ended_.load(); }
    uint64_t PositionMs() const { return positionMs_.load(); }

  private:
    void Run();
    // With the lock held; each may let it go meanwhile.
    void SeekLocked(std::unique_lock<std::mutex>& lock, uint64_t ms);
    bool NextUnitLocked(std::unique_lock<std::mutex>& lock);
    void ReanchorLocked();
    double Speed() const;

    std::unique_ptr<IPlaybackInput> input_;
    IPlaybackOutput& output_;
    const uint64_t lengthMs_;
    CPlaybackParser parser_;
    CMediaTimeline timeline_;

    std::mutex mutex_;  // everything below
    std::condition_variable wake_;
    bool stop_ = false;
    bool playing_ = false;
    bool changed_ = false;  // pace, pause or position changed: a new anchor
    std::optional<uint64_t> seek_;
    Pace pace_ = Pace::Normal;
    double factor_ = 2.0;
    std::deque<PlaybackUnit> units_;
    using Clock = std::chrono::steady_clock;
    Clock::time_point anchorWall_, lastJump_;
    int64_t anchorMedia_ = 0;
    uint64_t anchorOut_ = 0, lastOut_ = 0;
    std::atomic<bool> ended_{false};
    std::atomic<uint64_t> positionMs_{0};
    std::thread thread_;
};

}  // namespace nvdvbsrv
