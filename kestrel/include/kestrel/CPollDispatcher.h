#pragma once
// A poll()-based IDispatcher for tests and command-line tools. Single thread:
// every call and every callback on the thread that runs it.
#include <chrono>
#include <cstdint>
#include <map>

#include "kestrel/IDispatcher.h"

namespace kestrel {

class CPollDispatcher : public IDispatcher {
  public:
    int WatchReadable(int fd, Callback cb) override;
    void Unwatch(int watchId) override;
    int StartTimer(int periodMs, Callback cb) override;
    void StopTimer(int timerId) override;
    void Defer(Callback cb) override;

    /// Runs one round: waits at most timeoutMs for a descriptor or the next
    /// timer, then runs what is due. Returns false when nothing is watched,
    /// no timer runs and nothing is deferred.
    bool RunOnce(int timeoutMs);
    /// Runs rounds until `duration` has passed or Quit() was called.
    void RunFor(std::chrono::milliseconds duration);
    void Quit() { quit_ = true; }

    std::size_t WatchCount() const { return watches_.size(); }
    std::size_t TimerCount() const { return timers_.size(); }

  private:
    using Clock = std::chrono::steady_clock;
    struct Watch {
        int fd;
        Callback cb;
    };
    struct Timer {
        std::chrono::milliseconds period;
        Clock::time_point due;
        Callback cb;
    };
    void RunDueTimers();
    void RunDeferred();
    int nextId_ = 1;
    bool quit_ = false;
    std::map<int, Watch> watches_;
    std::map<int, Timer> timers_;
    std::map<int, Callback> deferred_;
};

}  // namespace kestrel
