// The time of a recording as it plays: its 90 kHz time stamps made into one
// continuous time line. A stamp more than a second away from the latest one
// (the loop of a played transponder, a cut, the 33-bit wrap) continues the
// line a frame after the latest instead of jumping; small steps back (the
// pictures' reordering, sound stamped a little before the picture) keep
// their distance.
#pragma once

#include <algorithm>
#include <cstdint>

namespace nvdvbsrv {

class CMediaTimeline {
  public:
    static constexpr int64_t kJump = 90000;  // a second
    static constexpr int64_t kStep = 3600;   // a frame of 40 ms

    // The next stamp is at `positionMs` of the line.
    void Restart(uint64_t positionMs) {
        anchored_ = false;
        step_ = 0;
        latest_ = earliest_ = int64_t(positionMs) * 90;
    }
    // The stream jumped, however far: the next stamp follows the latest.
    void Continue() {
        anchored_ = false;
        step_ = kStep;
    }
    // The place of a stamp on the line, in 90 kHz ticks.
    int64_t Map(uint64_t pts) {
        const int64_t stamp = int64_t(pts);
        if (!anchored_) {
            offset_ = latest_ + step_ - stamp;
            anchored_ = true;
        }
        int64_t at = stamp + offset_;
        if (at > latest_ + kJump || at < latest_ - kJump) {
            offset_ = latest_ + kStep - stamp;
            at = latest_ + kStep;
        }
        latest_ = std::max(latest_, at);
        earliest_ = std::min(earliest_, at);
        return at;
    }
    uint64_t LatestMs() const { return uint64_t(std::max<int64_t>(latest_, 0) / 90); }
    // From the first stamp's place to the latest.
    uint64_t SpanMs() const { return uint64_t(latest_ - earliest_) / 90; }

  private:
    bool anchored_ = false;
    int64_t step_ = 0;
    int64_t offset_ = 0;
    int64_t latest_ = 0;
    int64_t earliest_ = 0;
};

}  // namespace nvdvbsrv
