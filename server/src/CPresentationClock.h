// When a decoded picture is due on the output: its time stamp (90 kHz) read
// against the steady clock from an anchor, the first picture, shown a fixed
// latency after it was decoded so that pictures decoded a little late (a
// large picture still arriving at the stream's bit rate) keep their places.
// A picture more than a second early or late starts a new anchor: a jump of
// the time stamps (the loop point of a played file, a new program, the
// 33-bit wrap) or a decoder that fell behind.
#pragma once

#include <chrono>
#include <cstdint>

namespace nvdvbsrv {

class CPresentationClock {
  public:
    using Clock = std::chrono::steady_clock;
    static constexpr auto kLatency = std::chrono::milliseconds(80);
    static constexpr auto kJump = std::chrono::seconds(1);

    // The time the picture with `pts` is due, given the time `now`.
    Clock::time_point Due(uint64_t pts, Clock::time_point now) {
        if (anchored_) {
            const int64_t ticks = int64_t(pts) - int64_t(anchorPts_);
            const auto due = anchorTime_ + std::chrono::microseconds(ticks * 1000 / 90);
            if (due - now < kJump && now - due < kJump) return due;
        }
        anchored_ = true;
        anchorPts_ = pts;
        anchorTime_ = now + kLatency;
        return anchorTime_;
    }
    // The next picture starts a new anchor.
    void Reset() { anchored_ = false; }

  private:
    bool anchored_ = false;
    uint64_t anchorPts_ = 0;
    Clock::time_point anchorTime_;
};

}  // namespace nvdvbsrv
